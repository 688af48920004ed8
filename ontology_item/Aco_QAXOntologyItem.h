// The module's one channel type: a float channel that stands for one class of
// the QAX ontology service.
//
// A channel declares one typed child link per attribute of its class and of
// the class's parents, parents first; builds ontology items of its class from
// the values of its linked children; describes classes for the editor; and
// saves and loads its class handle and link descriptions with its group.
//
// The host calls every channel from one thread. The editor selection and the
// last prepared link records are static and shared by all channels.
#ifndef QAX_ONTOLOGY_ITEM_ACO_QAXONTOLOGYITEM_H_
#define QAX_ONTOLOGY_ITEM_ACO_QAXONTOLOGYITEM_H_

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/qax/model/QAX.h"
#include "host/sdk/HighPoly.h"
#include "module/Export.h"
#include "multimode/MultiModeChannel.h"
#include "ontology_item/ItemModeChannel.h"
#include "ontology_item/LoadBinding.h"

class QAXOI_API Aco_QAXOntologyItem
    : public MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem> {
 public:
  // One link description: (type name, link name). The type name is "Value",
  // "Text" or "QAXOntologyItem" (empty for an attribute of an unknown kind).
  using LinkDescription = std::pair<std::string, std::string>;

  // The most levels an item that a channel builds or holds nests (the item
  // itself is level 1). Nested item channels deeper than this are not
  // rebuilt: the channel at the limit reports it and answers null, so that
  // no graph can exhaust the stack.
  enum : int { kMaxNestingDepth = 256 };
  // What one rebuild, nested rebuilds included, may spend, in cost units: an
  // item costs 64 plus its class name's bytes, a value 64 plus its attribute
  // name's and text's bytes, an item taken from what a child held before its
  // cost as counted when it was built or set, and every class or attribute walked 1. What does not
  // fit is left out (the first refusal reported), so the item a rebuild builds, and its work, stay
  // within this however the channel graph shares its channels (a graph that reaches one channel
  // along many paths would otherwise build one copy per path: exponentially many).
  enum : int { kMaxRebuildCost = 1 << 20 };

  // The library and class chosen in the editor; null until the editor writes
  // them. Every default-constructed channel clears them (ResetTemp).
  static const QAX::Ontology::MetaClassLibrary* SelectedLibrary;
  static const QAX::Ontology::MetaClass* SelectedClass;
  // The link records of the most recent preparation, in link order, with the
  // Index that PrepareLinksRec gave them (0, or -1 for an unknown kind).
  static std::vector<ChildCreation> SelectedClassLinks;

  // A channel named "QAXOntologyItem" with no class, no links and no item;
  // clears the editor selection.
  Aco_QAXOntologyItem();
  // Copies the links, the class handle and a clone of the held item; leaves
  // the editor selection alone.
  Aco_QAXOntologyItem(const Aco_QAXOntologyItem& other);
  // Replaces links, class handle and held item (by a clone) with the other's.
  // Self-assignment keeps an equal item. Out of memory lets std::bad_alloc
  // out and leaves the channel as it was, or without links.
  Aco_QAXOntologyItem& operator=(const Aco_QAXOntologyItem& other);
  // Destroys the held item.
  ~Aco_QAXOntologyItem() override;

  // --- Class handle -------------------------------------------------------

  // The handle under which the ontology model finds the channel's class;
  // empty when no class is chosen.
  void SetClassHandle(const std::string& handle);
  const std::string& GetClassHandle() const;
  // Empties the class handle; links and held item stay.
  void Reset();

  // The link descriptions, in link order.
  const std::vector<LinkDescription>& GetLinkDescriptions() const;
  // The IRI of each link's attribute, in link order, as SaveChannel records
  // them; an empty text where it is not known (a model without namespaces, a
  // file that recorded none). Empty when the channel has no links.
  const std::vector<std::string>& GetLinkAttributeIris() const;
  // The position of the channel's link for an attribute, given by its IRI
  // ("http://schema.org/contactPoint", as GetLinkAttributeIris gives it) or
  // by its qualified name ("schema.contactPoint": scope, ".", name, as the
  // link's name reads without the " [TODO.TODO]" that a nested item link's
  // name carries). An attribute with value links answers its own link (the
  // first); -1 when no link is for that attribute (an empty text included).
  // Costs one comparison per link.
  int LinkOfAttribute(std::string_view attribute) const;
  // What the last LoadChannel made of the saved class and links against the
  // model loaded then (LoadBinding.h): the defaults (nothing checked, nothing
  // re-bound) for a channel never loaded or whose links were prepared since.
  const LoadBinding& GetLoadBinding() const;
  // Puts a re-bound channel's links in the order a fresh preparation gives
  // them (link i for attribute i of the walk), then its value links, in
  // saved order, then the saved links that bind no attribute, in saved order; each linked child
  // moves with its link, and GetLoadBinding's slots follow. Call it once the children are linked
  // (after the group has loaded); a save then writes the channel as it would be saved against this
  // vocabulary from the start. Does nothing for a channel whose links follow the walk, or one whose
  // class has more attributes than links.
  void NormalizeLinks();

  // --- Several values per attribute ---------------------------------------
  //
  // An attribute's own link (at its walk position) takes its first value; a
  // value link, declared behind the channel's last link with the attribute
  // link's type name, link name and IRI, takes one more. A channel saves and
  // loads its value links in the same records as its other links.

  // Declares one more value link for the attribute whose link is `link`,
  // behind the last link, and answers its position. Answers -1, reported and
  // nothing declared, when the channel's class does not resolve, `link` is
  // no attribute's link (a value link, an unbound link, out of range), the
  // attribute takes at most one value (its cardinality's max is 1 or 0), or
  // the channel has kMaxChildLinks links already. PrepareLinks drops every
  // value link. Out of memory lets std::bad_alloc out and declares nothing.
  int AddValueLink(int link);
  // The links of the attribute whose link (or value link) is `link`: the
  // attribute's link first, then its value links in link order. Empty when
  // `link` is neither (out of range, unbound, or no class resolves).
  std::vector<int> GetValueLinks(int link) const;

  // --- Links from the selected class --------------------------------------

  // Rebuilds the channel's links from SelectedClass when the selection is
  // complete and names another class than the channel's handle, or when
  // `force` is true (then a missing selection leaves the channel without
  // links). Never changes the class handle or the held item. A class with
  // more attributes than kMaxChildLinks gets links for the first ones only
  // (reported). Out of memory part-way leaves the channel without links.
  void PrepareLinks(bool force);
  // Appends one record per attribute of `metaClass` and its parents, parents
  // first, to SelectedClassLinks. Null does nothing.
  void PrepareLinksRec(const QAX::Ontology::MetaClass* metaClass);
  // Sets SelectedLibrary and SelectedClass to null.
  void ResetTemp();
  // The class of the channel's handle in the loaded model; null when no model
  // is loaded or the model knows no such class.
  const QAX::Ontology::MetaClass* GetCurrentMetaClass() const;
  // A copy of the loaded model's library list; empty without a model.
  const std::vector<const QAX::Ontology::MetaClassLibrary*> GetLibraries() const;

  // --- Ontology items -----------------------------------------------------

  // With `rebuild` false, the held item (or null). With `rebuild` true, a new
  // item of the channel's class whose attributes carry the children's values,
  // held and returned; null (and the old item kept) when the class does not
  // resolve, or when this channel is asked again while its own rebuild runs
  // (a cycle of nested channels, reported), or nesting is too deep or the
  // rebuild's budget spent (each reported once per rebuild). A nested child
  // in such a cycle contributes nothing, not even the part of its item built
  // so far; a nested child that answers null for another reason contributes
  // the item it held before, when that fits within kMaxNestingDepth levels
  // under this one and within the budget. No item built is deeper than
  // kMaxNestingDepth levels or costs more than kMaxRebuildCost. The channel
  // owns the item; the pointer is valid until the next rebuild,
  // SetOntologyItem, ClearOntologyItem or the channel's destruction.
  QAX::Onto::OntologyItem* GetOntologyItem(bool rebuild);
  // Sets the held item's attributes for `metaClass` and its parents from the
  // children at link positions `index`, `index` + 1, ...; advances `index` by
  // one per attribute walked. Stops when the links are exhausted (`index`
  // then equals GetChildCount()): attributes without a link set nothing.
  // Value links are not looked at (GetOntologyItem builds them).
  // Expects the channel to hold an item.
  void GetAttributesRec(const QAX::Ontology::MetaClass* metaClass, int& index);
  // Writes the text and complex attribute values of `item` into the children
  // of the class's own attributes (child n for own attribute n). Of a list
  // value, element 0 goes where a single value goes and element k to the
  // attribute's k-th link (GetValueLinks), where it has one; the rest is not
  // written. Does nothing for an item of another class or a null item.
  void FillAttributes(QAX::Onto::OntologyItem* item);
  // Holds a clone of `item` (the caller keeps its own); null clears. An item
  // nested deeper than kMaxNestingDepth levels or costing more than
  // kMaxRebuildCost, counted through the attributes of its classes, is
  // refused (reported) and the held item kept.
  void SetOntologyItem(QAX::Onto::OntologyItem* item);
  // Destroys the held item and holds none.
  void ClearOntologyItem();

  // --- Editor description -------------------------------------------------

  // A readable description of `metaClass` and its own attributes, lines
  // ending in "\r\n"; "No class selected" for null.
  std::string GetClassDescription(const QAX::Ontology::MetaClass* metaClass) const;

  // --- Host channel operations --------------------------------------------

  // Writes the multi-mode records, then "CID" (when the class handle is not
  // empty), "CHILDSIZE" and one "CHILDNAMETYPE"/"CHILDNAME" pair per link,
  // then, when any link's attribute IRI is known, "CHILDIRIS" with them all.
  bool SaveChannel(A3dFileSaver& saver) override;
  // Reads what SaveChannel wrote, restores the class handle (kept when the
  // file has none) and declares the links again. False only when the
  // multi-mode records cannot be read; then nothing changed. A "CHILDSIZE"
  // above kMaxChildLinks counts as none (reported); type and link names are
  // kept whole in the link descriptions, so that a save writes back what was
  // read, and cut only in the declared link records (79 and 99 characters);
  // a text repeated for a missing record is cut as those records cut it.
  // When a model is loaded and the saved links are not its class's links (a
  // group saved against another release of the vocabulary), binds each saved
  // link to the attribute it was saved for and declares links for the
  // attributes none is bound to behind them (GetLoadBinding tells what).
  // Out of memory part-way leaves the channel without links.
  bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;
  // Declares the channel's type, the float channel's type, "CoreQAX.dll",
  // "QAX.dll" and the core's own dependency (each pair twice).
  void DoDependencyInit(A3d_List* list) override;
  // Registers no modes.
  void InitializeModes() override;
  // Nothing to do after a mode switch or a preparation.
  void ModeIsSet() override;
  // Names the channel "OItem:" followed by its class handle, or by "unknown".
  void SetAutoChannelName() override;
  // Does nothing.
  void PostLoadChannel();

 private:
  // One value taken from a child: a nested item (owned), else a text.
  struct ChildValue {
    std::string text;
    std::unique_ptr<QAX::Onto::OntologyItem> item;
  };
  // The value `child` gives an attribute of `info` by the attribute's kind,
  // paid for from the rebuild's budget and counted into the held item's cost
  // and levels; false (nothing spent) when it gives none.
  bool ValueOfChild(const QAX::Ontology::Info::MetaAttrInfo& info, A3d_Channel* child,
                    ChildValue& value);
  // Sets one attribute of the held item from `child` by the attribute's kind.
  void SetAttributeFromChild(const QAX::Ontology::Info::MetaAttrInfo& info, A3d_Channel* child);
  // Sets the held item's attributes of `metaClass`'s walk from all their
  // links, value links included: one value as SetAttributeFromChild sets it,
  // several as a list. Each value link costs a step.
  void GetAttributesWithValues(const QAX::Ontology::MetaClass* metaClass);
  // The walk position of the attribute whose own link is `link`, among the
  // first `walkSize` attributes; -1 for a value link, an unbound link or one
  // out of range.
  int WalkPositionOfLink(int link, std::size_t walkSize) const;
  // Whether the item that `child` held before may be taken into the running
  // rebuild: it fits the nesting and the budget. Pays for it when it does;
  // reports when it does not.
  bool TakeHeldItem(const Aco_QAXOntologyItem& child);
  // Declares the link descriptions to the host as links 0, 1, 2 ...
  void DeclareLinksFromDescriptions();
  // Keeps `savedIris` (one per link description just read, or none) and,
  // when `bind` (the file named the class the links were saved for), binds
  // the descriptions to the attributes of the channel's class in the loaded
  // model: fills _identity, and re-describes the links when they are
  // re-bound.
  void BindLoadedLinks(std::vector<std::string> savedIris, bool bind);
  // Whether every link behind the first `walkCount` (which follow the walk)
  // has the type, link name and IRI (where recorded) of one of them: value
  // links as a save writes them. When they do, records them as value links
  // and fills the IRIs they lack; when not, changes nothing.
  bool BindValueLinksBehindWalk(std::size_t walkCount);
  // Sets the held item's attributes from the children bound to them by
  // _identity.bound (a re-bound channel), walking `metaClass`'s attributes.
  void GetAttributesBound(const QAX::Ontology::MetaClass* metaClass);
  // The link bound to attribute `walkPosition` of the walk: the position
  // itself when the links follow the walk, else as bound; -1 when none.
  int LinkOfAttribute(std::size_t walkPosition) const;
  // Reports, once per load, that children are linked to saved links that
  // bind no attribute (their values stay out of the item).
  void ReportUnboundChildren();
  // Runs `step`, which declares links. When it lets an exception out (memory
  // ran out part-way), leaves the channel with no links and no descriptions
  // rather than links that the descriptions do not match, and lets the
  // exception go on.
  template <class Step>
  void AllLinksOrNone(Step&& step) {
    try {
      step();
    } catch (...) {
      SetChildCreationCount(0);
      _linkDescriptions.clear();
      _identity = LinkIdentity();
      throw;
    }
  }

  // What ties the links to the attributes they stand for, beside the link
  // descriptions.
  struct LinkIdentity {
    // One IRI per link description (empty texts where unknown), or none.
    std::vector<std::string> iris;
    // Empty while link i is attribute i of the walk; else, per walk position,
    // the link bound to it (-1: none).
    std::vector<int> linkOfAttribute;
    LoadBinding binding;
    bool unboundReported = false;
    // The value links in link order: each one's position and the walk
    // position of the attribute it gives one more value of.
    struct ValueLink {
      int link = 0;
      int walkPosition = 0;
    };
    std::vector<ValueLink> valueLinks;
  };

  std::vector<LinkDescription> _linkDescriptions;
  LinkIdentity _identity;
  std::unique_ptr<QAX::Onto::OntologyItem> _ontologyItem;
  // The cost and levels of the held item, counted as it was built or set
  // (0 and 0 for none), so that a parent taking it pays its real size.
  std::size_t _heldCost = 0;
  int _heldLevels = 0;
  std::string _classHandle;
  bool _rebuilding = false;  // GetOntologyItem(true) is running on this channel
};

#endif  // QAX_ONTOLOGY_ITEM_ACO_QAXONTOLOGYITEM_H_
