#include "host/qax/rdf/RdfStatements.h"

namespace QAX {
namespace Ontology {
namespace Rdf {

TermId RdfStatements::Intern(std::string_view iri) {
  const auto found = ids_.find(iri);
  if (found != ids_.end()) return found->second;
  const auto id = static_cast<TermId>(iris_.size());
  iris_.emplace_back(iri);
  facts_.emplace_back();
  ids_.emplace(iris_.back(), id);
  return id;
}

BlankId RdfStatements::InternBlank(std::string_view label) {
  const auto found = blankIds_.find(label);
  if (found != blankIds_.end()) return found->second;
  const auto id = static_cast<BlankId>(blankLabels_.size());
  blankLabels_.emplace_back(label);
  blanks_.emplace_back();
  blankIds_.emplace(blankLabels_.back(), id);
  return id;
}

void RdfStatements::MarkClass(TermId id) {
  if (facts_[id].isClass) return;
  facts_[id].isClass = true;
  classes_.push_back(id);
}

void RdfStatements::MarkProperty(TermId id) {
  if (facts_[id].isProperty) return;
  facts_[id].isProperty = true;
  properties_.push_back(id);
}

void RdfStatements::Relate(Relation relation, TermId subject, TermId object) {
  const uint64_t pair = (static_cast<uint64_t>(subject) << 32) | object;
  if (!related_[static_cast<int>(relation)].insert(pair).second) return;
  TermFacts& facts = facts_[subject];
  switch (relation) {
    case Relation::kSubClassOf:
      facts.superClasses.push_back(object);
      break;
    case Relation::kDomain:
      facts.domains.push_back(object);
      break;
    case Relation::kRange:
      facts.ranges.push_back(object);
      break;
  }
}

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX
