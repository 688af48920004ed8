// Turns the gathered statements of an RDF vocabulary into an ontology model.
// Internal to the QAX library; docs/vocabularies.md describes the mapping.
#ifndef QAX_HOST_QAX_RDF_VOCABULARYMAPPER_H_
#define QAX_HOST_QAX_RDF_VOCABULARYMAPPER_H_

#include <string>
#include <vector>

#include "host/qax/model/OntologyModel.h"
#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/RdfStatements.h"

namespace qaxoi::rdf {

// Fills `model`, which must be empty, from `statements` (grouped). What it
// has to repair (a loop of parents) it repairs and reports in `warnings`,
// one line each beginning with `sourceName`. Charges what the model and its
// own tables keep to `budget`, and answers false, leaving `model` partly
// filled for the caller to throw away, as soon as the budget is exhausted.
bool BuildModel(const RdfStatements& statements, const std::string& sourceName,
                QAX::Ontology::OntologyModel& model, std::vector<std::string>& warnings,
                LoadBudget& budget);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_VOCABULARYMAPPER_H_
