// What loading an ontology model from an RDF document gives.
#ifndef QAX_HOST_QAX_RDF_LOADRESULT_H_
#define QAX_HOST_QAX_RDF_LOADRESULT_H_

#include <memory>
#include <string>
#include <vector>

namespace QAX {
namespace Ontology {

class OntologyModel;

// Either a whole model or an error, never a part of a model.
struct LoadResult {
  // The loaded model, owned by the result; null when loading failed.
  std::unique_ptr<OntologyModel> model;
  // Empty on success; otherwise one line "<source>:<line>:<column>: <what>"
  // (line and column are left out when the failure has no place in the
  // text, e.g. a file that cannot be opened).
  std::string error;
  // Problems the loader repaired and went on, one line each, e.g. a parent
  // chain that looped and was cut. Empty when the document was clean.
  std::vector<std::string> warnings;
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDF_LOADRESULT_H_
