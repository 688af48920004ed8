// The RDF entry points of a QAX built without serd: each one fails whole,
// with a message that names what is missing, so that a caller's error path
// is the same as for a document that cannot be read.
#include "host/qax/ItemWriter.h"
#include "host/qax/JsonLdWriter.h"
#include "host/qax/OntologyModel.h"

namespace QAX {
namespace Ontology {
namespace {

constexpr char kNoRdf[] = "this QAX was built without RDF support (serd)";

LoadResult Unavailable(const std::string& sourceName) {
  LoadResult result;
  result.error = sourceName + ": " + kNoRdf;
  return result;
}

}  // namespace

LoadResult OntologyModel::LoadFile(const std::string& path, RdfSyntax /*syntax*/) {
  return Unavailable(path);
}

LoadResult OntologyModel::LoadText(const std::string& /*text*/, RdfSyntax /*syntax*/,
                                   const std::string& sourceName, const std::string& /*baseIri*/) {
  return Unavailable(sourceName);
}

ItemWriteResult WriteItems(const std::vector<ItemSubject>& /*items*/,
                           const OntologyModel& /*model*/, RdfSyntax /*syntax*/) {
  ItemWriteResult result;
  result.error = kNoRdf;
  return result;
}

ItemWriteResult WriteItemsJsonLd(const std::vector<ItemSubject>& /*items*/,
                                 const OntologyModel& /*model*/) {
  ItemWriteResult result;
  result.error = kNoRdf;
  return result;
}

}  // namespace Ontology
}  // namespace QAX
