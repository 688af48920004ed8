#include "host/qax/rdf/ReferenceValues.h"

#include "host/qax/rdf/WritableNames.h"

namespace qaxoi::rdf {

std::string ResolveReference(const std::string& text, const QAX::Ontology::AttrValueType& valueType,
                             const QAX::Ontology::OntologyModel& model) {
  if (!valueType.individuals.empty()) {
    const QAX::Ontology::AttrIndividual* byLocal = nullptr;
    std::size_t locals = 0;
    for (const QAX::Ontology::AttrIndividual& individual : valueType.individuals) {
      if (text == individual.iri || text == individual.name ||
          (text.size() > 2 && text.front() == '<' && text.back() == '>' &&
           text.compare(1, text.size() - 2, individual.iri) == 0)) {
        return individual.iri;
      }
      const std::size_t cut = individual.iri.find_last_of("#/:");
      if (cut != std::string::npos &&
          individual.iri.compare(cut + 1, std::string::npos, text) == 0) {
        byLocal = &individual;
        ++locals;
      }
    }
    return locals == 1 ? byLocal->iri : std::string();
  }
  const std::size_t colon = text.find(':');
  if (colon != std::string::npos && colon > 0) {
    const std::string ns = model.GetNamespace(text.substr(0, colon));
    if (!ns.empty() && text.compare(colon + 1, 2, "//") != 0) {
      std::string iri = ns + text.substr(colon + 1);
      if (IsWritableIri(iri)) return iri;
    }
  }
  if (text.size() > 2 && text.front() == '<' && text.back() == '>') {
    std::string inner = text.substr(1, text.size() - 2);
    if (IsWritableIri(inner)) return inner;
  }
  return IsWritableIri(text) ? text : std::string();
}

std::string AllowedValuesText(const QAX::Ontology::AttrValueType& valueType, std::size_t shown) {
  std::string out;
  const std::size_t count = valueType.individuals.size();
  for (std::size_t i = 0; i < count && i < shown; ++i) {
    out += (i == 0 ? "" : ", ") + valueType.individuals[i].name;
  }
  if (count > shown) out += " and " + std::to_string(count - shown) + " more";
  return out;
}

}  // namespace qaxoi::rdf
