// Reads an RDF/XML document with raptor into RdfStatements. Internal to the
// QAX library.
#ifndef QAX_HOST_QAX_RDF_RDFXMLREADER_H_
#define QAX_HOST_QAX_RDF_RDFXMLREADER_H_

#include <string>
#include <vector>

#include "host/qax/rdf/RdfStatements.h"

namespace QAX {
namespace Ontology {
namespace Rdf {

// At most this many of the XML parser's warnings are kept per document; one
// more line counts the rest.
inline constexpr std::size_t kMaxXmlWarnings = 8;

// Parses `document` (any bytes) as RDF/XML and hands every statement and
// namespace declaration to a StatementSink over `out`. `sourceName` names the
// document in messages; `baseIri` resolves relative IRIs where the document
// gives no xml:base (empty: there is none, and a relative IRI is an error).
// The bytes are checked against the bounds of XmlBounds.h first; nothing is
// ever fetched (no network, no file, no external entity). The parser's
// warnings go to `warnings` as "<sourceName>:<line>: <what>" and do not stop
// the load; its errors do. On failure answers false and sets `error` to
// "<sourceName>:<line>:<column>: <what>" for the first problem (no place for
// a refused budget); `out` is then partly filled and must be thrown away.
// Throws std::bad_alloc, with every parser resource freed, when memory runs
// out in the statement sink.
bool ReadRdfXml(const std::string& document, const std::string& sourceName,
                const std::string& baseIri, RdfStatements& out, std::string& error,
                std::vector<std::string>& warnings);

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDF_RDFXMLREADER_H_
