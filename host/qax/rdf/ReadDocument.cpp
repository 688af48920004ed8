#include "host/qax/rdf/ReadDocument.h"

#include "host/qax/rdf/RdfReader.h"
#include "host/qax/rdf/RdfXmlReader.h"

namespace qaxoi::rdf {

namespace {

// How much of a document the syntax is told from when its name does not
// tell it: enough for a DOCTYPE of entities or a header of comments.
constexpr std::size_t kDetectBytes = std::size_t{64} << 10;

// Reads all of `source` into `document`; fails as the source does. The
// source's size is at most the reading cap (1 GiB).
qaxoi::Status ReadWhole(DocumentSource& source, std::string& document) {
  document.resize(static_cast<std::size_t>(source.Size()));
  std::size_t got = 0;
  qaxoi::Status read = source.Read(0, document.data(), document.size(), got);
  document.resize(read.ok() ? got : 0);
  return read;
}

}  // namespace

qaxoi::Status ReadDocument(DocumentSource& source, const std::string* text, std::uint64_t heldBytes,
                           RdfSyntax syntax, const std::string& sourceName,
                           const std::string& baseIri, TripleHandler& handler, LoadBudget& budget,
                           std::vector<std::string>& warnings) {
  if (syntax == RdfSyntax::kDetect) syntax = RdfSyntaxFromPath(sourceName);
  if (syntax == RdfSyntax::kDetect) {
    std::string head(kDetectBytes, '\0');
    std::size_t got = 0;
    qaxoi::Status read = source.Read(0, head.data(), head.size(), got);
    if (!read.ok()) return read;
    head.resize(got);
    qaxoi::Status detected = DetectRdfSyntax(head, &syntax);
    if (!detected.ok()) return detected.Prefixed(sourceName + ": ");
  }
  // raptor parses a document held whole (its bounds are checked over the
  // whole of it first), so an RDF/XML file is read into memory, and counts
  // whole while it is parsed.
  std::string xml;
  if (syntax == RdfSyntax::kRdfXml && text == nullptr) {
    qaxoi::Status read = ReadWhole(source, xml);
    if (!read.ok()) return read;
    text = &xml;
    heldBytes = xml.size();
  }
  budget.Charge(heldBytes);
  std::vector<std::string> found;
  qaxoi::Status read = syntax == RdfSyntax::kRdfXml
                           ? ReadRdfXml(*text, sourceName, baseIri, handler, found)
                           : ReadRdf(source, syntax, sourceName, baseIri, handler);
  budget.Release(heldBytes);
  if (read.ok()) warnings.insert(warnings.end(), found.begin(), found.end());
  return read;
}

}  // namespace qaxoi::rdf
