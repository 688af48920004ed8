// The links a class's attribute walk gives: one per attribute of the class and
// of its parents, parents first. Internal to the module.
#ifndef QAX_ONTOLOGY_ITEM_WALKLINKS_H_
#define QAX_ONTOLOGY_ITEM_WALKLINKS_H_

#include <string>
#include <utility>
#include <vector>

#include "host/qax/model/QAX.h"
#include "host/sdk/HighPoly.h"

namespace qaxoi::module {

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

// One link of the walk: its record, the attribute's IRI (empty as above) and
// the attribute itself, owned by the model.
struct WalkLink {
  ChildCreation record;
  std::string iri;
  const QAX::Ontology::MetaAttr* attribute = nullptr;
};

// The links of `metaClass`'s walk, parents first, each class in its list
// order: at most `limit` of them (the most a channel declares). Empty for a
// null class. Costs one step per class of the chain and per link kept.
std::vector<WalkLink> WalkLinksOf(const QAX::Ontology::MetaClass* metaClass,
                                  const QAX::Ontology::OntologyModel& model, std::size_t limit);

// Whether `saved` (type name, link name) are exactly the links of
// `metaClass`'s walk as LinkRecordOf types and names them, and `savedIris`
// (one per link, or none) their attributes' IRIs (an empty text matches
// any). When they are and `iris` is not null, fills it with the walk's IRIs.
// The common case of every load, checked without building the walk's
// records: one step per class of the chain and per link, and no allocation
// beyond the chain and `iris`. A link name the record would cut (over 99
// characters) answers false: the caller compares the records themselves.
bool SavedLinksFollowWalk(const QAX::Ontology::MetaClass* metaClass,
                          const QAX::Ontology::OntologyModel& model,
                          const std::vector<std::pair<std::string, std::string>>& saved,
                          const std::vector<std::string>& savedIris,
                          std::vector<std::string>* iris);

}  // namespace qaxoi::module

#endif  // QAX_ONTOLOGY_ITEM_WALKLINKS_H_
