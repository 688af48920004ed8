// What loading made of an ontology item channel's saved class and links,
// measured against the ontology model loaded at the time: the answer to
// "was anything re-bound, and what was left without an attribute?".
//
// A scene outlives the vocabulary that typed it. A channel saved against one
// release (or one serialization) of a vocabulary and loaded against another
// binds each saved link to the attribute it was saved for, wherever that
// attribute now stands in the class's walk; it never binds a saved value to
// another attribute. docs/integrating.md shows how a host reads this.
#ifndef QAX_ONTOLOGY_ITEM_LOADBINDING_H_
#define QAX_ONTOLOGY_ITEM_LOADBINDING_H_

#include <cstdint>
#include <string>
#include <vector>

// What became of one saved link.
enum class LinkBindingOutcome : std::int32_t {
  // Bound to the attribute it was saved for, at the same position under the
  // same link name.
  kUnchanged = 0,
  // Bound to the attribute it was saved for, which now stands at another
  // position of the walk or carries another link name.
  kMoved = 1,
  // Bound to the attribute the vocabulary names in place of the one it was
  // saved for (a replacement of a deprecated attribute, or an equivalent).
  kMigrated = 2,
  // No attribute of the class: the link is kept as saved (a later save
  // writes it again), and its child is left out of the items the channel
  // builds.
  kUnbound = 3,
  // Another value of the attribute an earlier saved link is bound to: saved
  // with the same identity (IRI, else link name) and link type as that one.
  // `valueOf` tells where the attribute's own link stands now.
  kValue = 4,
};

// One saved link, in saved order. What it is bound to now is the channel's
// link at `slot` (GetLinkDescriptions, GetLinkAttributeIris); what it was
// saved as is the same, but where `savedName` or `savedIri` say otherwise.
struct SavedLinkBinding {
  int savedSlot = 0;  // the link's position when saved
  int slot = 0;       // its position now: the same, until NormalizeLinks
  LinkBindingOutcome outcome = LinkBindingOutcome::kUnchanged;
  int walkPosition = -1;  // the bound attribute's position in the walk; -1 unbound
  int valueOf = -1;       // for kValue: the slot of the attribute's own link; else -1
  // The link name it was saved with, when that is not its name now (a
  // library named otherwise, a migrated link); empty when it is.
  std::string savedName;
  // The attribute's IRI it was saved with (or resolved from its saved name),
  // when that is not its IRI now; empty when it is, or when neither the file
  // nor the name told it.
  std::string savedIri;
  std::string note;  // for kMigrated and kUnbound: why, in a few words
};

// What became of the saved class.
enum class ClassBindingOutcome : std::int32_t {
  kNotChecked = 0,  // no model was loaded, or the channel has no class
  kSame = 1,        // the model has the saved class
  kMigrated = 2,    // the model names another class in its place; the channel took it
  kGone = 3,        // the model has neither: the channel keeps its links as saved and
                    // builds no item
};

// The whole answer for one channel, from its last LoadChannel. A channel that
// was never loaded, or whose links were prepared since, answers the
// defaults: kNotChecked, not rebound, no links.
struct LoadBinding {
  ClassBindingOutcome classOutcome = ClassBindingOutcome::kNotChecked;
  std::string savedClass;  // the class handle as saved
  std::string classNote;   // for kMigrated and kGone: why
  // False when the saved links are exactly the current class's links (the
  // same vocabulary): link i is attribute i of the walk, as always. True when
  // the links were bound one by one: the saved links keep their positions,
  // and the attributes that none of them is bound to get links behind them.
  bool rebound = false;
  // One per saved link when rebound; empty otherwise (every link is then
  // kUnchanged, or, for a class that is gone, kept as saved).
  std::vector<SavedLinkBinding> links;
  int addedLinks = 0;  // links declared behind the saved ones (rebound only)
  // Attributes that got no link because the channel's links reached their
  // limit (rebound only).
  int attributesWithoutLink = 0;
};

#endif  // QAX_ONTOLOGY_ITEM_LOADBINDING_H_
