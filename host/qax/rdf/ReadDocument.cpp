#include "host/qax/rdf/ReadDocument.h"

#include "host/qax/rdf/RdfReader.h"
#include "host/qax/rdf/RdfXmlReader.h"

namespace QAX {
namespace Ontology {
namespace Rdf {

namespace {

// How much of a document the syntax is told from when its name does not
// tell it: enough for a DOCTYPE of entities or a header of comments.
constexpr std::size_t kDetectBytes = std::size_t{64} << 10;

// Reads all of `source` into `document`; false, with `error` set, when it
// cannot be read. The source's size is at most the reading cap (1 GiB).
bool ReadWhole(DocumentSource& source, std::string& document, std::string& error) {
  document.resize(static_cast<std::size_t>(source.Size()));
  std::size_t got = 0;
  if (!source.Read(0, document.data(), document.size(), got, error)) return false;
  document.resize(got);
  return true;
}

}  // namespace

bool ReadDocument(DocumentSource& source, const std::string* text, std::uint64_t heldBytes,
                  RdfSyntax syntax, const std::string& sourceName, const std::string& baseIri,
                  TripleHandler& handler, LoadBudget& budget, std::string& error,
                  std::vector<std::string>& warnings) {
  if (syntax == RdfSyntax::kDetect) syntax = RdfSyntaxFromPath(sourceName);
  if (syntax == RdfSyntax::kDetect) {
    std::string head(kDetectBytes, '\0');
    std::size_t got = 0;
    if (!source.Read(0, head.data(), head.size(), got, error)) return false;
    head.resize(got);
    std::string refusal;
    syntax = DetectRdfSyntax(head, &refusal);
    if (syntax == RdfSyntax::kDetect) {
      error = sourceName + ": " + refusal;
      return false;
    }
  }
  // raptor parses a document held whole (its bounds are checked over the
  // whole of it first), so an RDF/XML file is read into memory, and counts
  // whole while it is parsed.
  std::string xml;
  if (syntax == RdfSyntax::kRdfXml && text == nullptr) {
    if (!ReadWhole(source, xml, error)) return false;
    text = &xml;
    heldBytes = xml.size();
  }
  budget.Charge(heldBytes);
  std::vector<std::string> found;
  const bool read = syntax == RdfSyntax::kRdfXml
                        ? ReadRdfXml(*text, sourceName, baseIri, handler, error, found)
                        : ReadRdf(source, syntax, sourceName, baseIri, handler, error);
  budget.Release(heldBytes);
  if (!read) return false;
  warnings.insert(warnings.end(), found.begin(), found.end());
  return true;
}

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX
