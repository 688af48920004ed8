// Binding saved links to the attributes of a class's walk by identity.
// Internal to the module.
#ifndef QAX_ONTOLOGY_ITEM_LINKBINDING_H_
#define QAX_ONTOLOGY_ITEM_LINKBINDING_H_

#include <string>
#include <utility>
#include <vector>

#include "host/qax/model/QAX.h"
#include "ontology_item/LoadBinding.h"
#include "ontology_item/WalkLinks.h"

namespace qaxoi::module {

// The class a saved class handle stands for in `model`: the class itself
// unless the model names a replacement of it that it has (kMigrated), else
// the class itself (kSame), else an equivalent class the model has
// (kMigrated), else none (kGone). `note` says why for kMigrated and kGone.
struct ClassBinding {
  const QAX::Ontology::MetaClass* metaClass = nullptr;
  ClassBindingOutcome outcome = ClassBindingOutcome::kGone;
  std::string note;
};
ClassBinding BindClass(const QAX::Ontology::OntologyModel& model, const std::string& handle);

// Binds each saved link (type name, link name and, in `iris`, the
// attribute's IRI where the file recorded it) to an attribute of `walk`, one
// report per saved link in saved order; resizes `iris` to the links and
// fills the entries it did not hold with the IRI resolved from the saved
// name, where it could be:
//
// - A link with a recorded IRI is bound to the attribute of that IRI; one
//   without, to the attribute of the same link name, else, when the name's
//   library is one the model does not know (the vocabulary names its
//   libraries otherwise now), to the attribute of the same local name when
//   exactly one attribute of the walk has it.
// - An attribute the model names a replacement for binds to the replacement
//   when the walk has it; one the walk lacks binds to an equivalent the walk
//   has. A replacement or equivalent of another link type, or (when the
//   replaced attribute is still known) of another range, is not taken.
// - A link is never bound to an attribute of another link type, and no two
//   links to one attribute: links of equal names pair with attributes of that
//   name in order.
// - A link left without an attribute that was saved with the identity (IRI,
//   else link name) and link type of an earlier link bound to an attribute
//   is another value of that attribute (kValue, `valueOf` that link's slot).
//
// `identity` is set when the saved links are the walk's, in order. O(n log
// n) in the links and the walk, whatever they hold.
std::vector<SavedLinkBinding> BindSavedLinks(
    const std::vector<std::pair<std::string, std::string>>& saved, std::vector<std::string>& iris,
    const Walk& walk, const QAX::Ontology::OntologyModel& model, bool* identity);

}  // namespace qaxoi::module

#endif  // QAX_ONTOLOGY_ITEM_LINKBINDING_H_
