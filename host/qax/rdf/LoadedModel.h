// What loading an ontology model from an RDF document gives.
#ifndef QAX_HOST_QAX_RDF_LOADEDMODEL_H_
#define QAX_HOST_QAX_RDF_LOADEDMODEL_H_

#include <memory>
#include <string>
#include <vector>

#include "host/qax/model/OntologyModel.h"

namespace qaxoi::rdf {

// A whole model, never a part of one: a load that fails leaves it empty.
struct LoadedModel {
  // The loaded model, owned here.
  std::unique_ptr<QAX::Ontology::OntologyModel> model;
  // Problems the loader repaired and went on, one line each, e.g. a parent
  // chain that looped and was cut. Empty when the document was clean.
  std::vector<std::string> warnings;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_LOADEDMODEL_H_
