// The links a class's attribute walk gives: one per attribute of the class and
// of its parents, parents first. Internal to the module.
#ifndef QAX_ONTOLOGY_ITEM_WALKLINKS_H_
#define QAX_ONTOLOGY_ITEM_WALKLINKS_H_

#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/qax/model/QAX.h"
#include "host/sdk/HighPoly.h"

namespace qaxoi::module {

// Appended to the link name of a nested item attribute: the platform's fixed
// text, leading blank included.
inline constexpr std::string_view kComplexLinkSuffix = " [TODO.TODO]";

// The link type GUID that a link type name ("Text", "Value",
// "QAXOntologyItem") stands for; false, `guid` unchanged, for any other name.
bool LinkGuidForTypeName(std::string_view typeName, _GUID* guid);

// The link record of one attribute: typed by the attribute's kind ("Text",
// "Value" or "QAXOntologyItem"), named by its qualified name (scope, ".",
// name, and " [TODO.TODO]" for a nested item), Index 0 and LinkParam 1. An
// attribute of a kind outside those gives the default record, so that it
// still takes its position.
ChildCreation LinkRecordOf(const QAX::Ontology::Info::MetaAttrInfo& info);

// The IRI of an attribute of `model`: its scope's namespace followed by its
// name; empty when the model knows no namespace for the scope (a model built
// in code without namespaces), so that an empty IRI never matches.
std::string AttributeIri(const QAX::Ontology::OntologyModel& model,
                         const QAX::Ontology::Info::MetaAttrInfo& info);

// One link of the walk: its type name and link name as LinkRecordOf gives
// them, the attribute's IRI (empty as above) and the attribute itself, owned
// by the model. The link name and the IRI are made only when asked for
// (Name, Iri): most loads only compare them with what was saved (NameIs,
// IriIs).
struct WalkLink {
  std::string_view type;  // a static text: "Text", "Value", "QAXOntologyItem" or ""
  std::string_view ns;    // the attribute's namespace (in its Walk); empty when unknown
  std::size_t space = 0;  // that namespace's position in Walk::namespaces
  const QAX::Ontology::MetaAttr* attribute = nullptr;

  // Whether the link name is `text`. Makes nothing.
  bool NameIs(std::string_view text) const;
  // The link name: scope, ".", name and " [TODO.TODO]" for a nested item,
  // cut as the record's field cuts it; empty for an unmapped kind. Made on
  // the first call.
  const std::string& Name() const;
  // Whether the attribute has an IRI, whether it is `text`, and the IRI
  // (empty when it has none).
  bool HasIri() const { return !ns.empty(); }
  bool IriIs(std::string_view text) const;
  std::string Iri() const;
  // The attribute's local name.
  std::string_view Local() const;

 private:
  mutable std::string name_;
  mutable bool named_ = false;
};

// The links of a walk and the namespaces their IRIs begin with (each kept
// once, where the links' views stay valid as long as the Walk).
struct Walk {
  std::deque<std::string> namespaces;
  std::vector<WalkLink> links;
};

// The links of `metaClass`'s walk, parents first, each class in its list
// order: at most `limit` of them (the most a channel declares). Empty for a
// null class. Costs one step per class of the chain and per link kept.
Walk WalkLinksOf(const QAX::Ontology::MetaClass* metaClass,
                 const QAX::Ontology::OntologyModel& model, std::size_t limit);

// Whether `saved` (type name, link name) are exactly the links of
// `metaClass`'s walk as LinkRecordOf types and names them, and `savedIris`
// (one per link, or none) their attributes' IRIs (an empty text matches
// any). When they are and `iris` is not null, fills it with the walk's IRIs.
// The common case of every load, checked without building the walk's
// records: one step per class of the chain and per link, and no allocation
// beyond the chain and `iris`. A link name the record would cut (over 99
// characters) answers false: the caller compares the records themselves.
// With `walkCount` not null, `saved` may hold more links than the walk (value
// links behind it): only the first as many as the walk has are compared (and
// their IRIs filled), and `*walkCount` is set to that number.
bool SavedLinksFollowWalk(const QAX::Ontology::MetaClass* metaClass,
                          const QAX::Ontology::OntologyModel& model,
                          const std::vector<std::pair<std::string, std::string>>& saved,
                          const std::vector<std::string>& savedIris, std::vector<std::string>* iris,
                          std::size_t* walkCount = nullptr);

}  // namespace qaxoi::module

#endif  // QAX_ONTOLOGY_ITEM_WALKLINKS_H_
