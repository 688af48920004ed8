// Turns the gathered statements of an RDF vocabulary into an ontology model.
// Internal to the QAX library; docs/vocabularies.md describes the mapping.
#ifndef QAX_HOST_QAX_RDF_VOCABULARYMAPPER_H_
#define QAX_HOST_QAX_RDF_VOCABULARYMAPPER_H_

#include <string>
#include <vector>

#include "host/qax/OntologyModel.h"
#include "host/qax/rdf/RdfStatements.h"

namespace QAX {
namespace Ontology {
namespace Rdf {

// Fills `model`, which must be empty, from `statements`. Never fails: what
// it has to repair (a loop of parents) it repairs and reports in
// `warnings`, one line each beginning with `sourceName`.
void BuildModel(const RdfStatements& statements, const std::string& sourceName,
                OntologyModel& model, std::vector<std::string>& warnings);

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDF_VOCABULARYMAPPER_H_
