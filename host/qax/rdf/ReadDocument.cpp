#include "host/qax/rdf/ReadDocument.h"

#include "host/qax/rdf/RdfReader.h"
#include "host/qax/rdf/RdfXmlReader.h"
#include "host/qax/rdf/SyntaxMismatch.h"

namespace qaxoi::rdf {

namespace {

// Reads all of `source` into `document`; fails as the source does. The
// source's size is at most the reading cap (1 GiB).
qaxoi::Status ReadWhole(DocumentSource& source, std::string& document) {
  document.resize(static_cast<std::size_t>(source.Size()));
  std::size_t got = 0;
  qaxoi::Status read = source.Read(0, document.data(), document.size(), got);
  document.resize(read.ok() ? got : 0);
  return read;
}

// The first bytes of `source`, up to `count`; empty when they cannot be
// read.
std::string Head(DocumentSource& source, std::size_t count) {
  std::string head(count, '\0');
  std::size_t got = 0;
  if (!source.Read(0, head.data(), head.size(), got).ok()) got = 0;
  head.resize(got);
  return head;
}

}  // namespace

qaxoi::Status ReadDocument(DocumentSource& source, const std::string* text, std::uint64_t heldBytes,
                           RdfSyntax syntax, const std::string& sourceName,
                           const std::string& baseIri, TripleHandler& handler, LoadBudget& budget,
                           std::vector<std::string>& warnings) {
  // Where the syntax comes from: the caller, the name, or the content.
  const bool given = syntax != RdfSyntax::kDetect;
  if (!given) syntax = RdfSyntaxFromPath(sourceName);
  const bool fromName = !given && syntax != RdfSyntax::kDetect;
  if (syntax == RdfSyntax::kDetect) {
    std::string head(kSyntaxSniffBytes, '\0');
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
  if (read.ok()) {
    warnings.insert(warnings.end(), found.begin(), found.end());
    return read;
  }
  // A syntax taken from the name or the caller may not be the content's:
  // the failure says what the content looks like, and reads it no other way.
  if ((given || fromName) && read.code() == qaxoi::Status::Code::kInvalidInput) {
    const std::string mismatch = SyntaxMismatch(Head(source, kSyntaxSniffBytes), syntax, fromName);
    if (!mismatch.empty()) return qaxoi::Status::InvalidInput(read.message() + "; " + mismatch);
  }
  return read;
}

}  // namespace qaxoi::rdf
