// Reads an RDF/XML document with raptor, handing what it reads to a
// TripleHandler. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_RDFXMLREADER_H_
#define QAX_HOST_QAX_RDF_RDFXMLREADER_H_

#include <string>
#include <vector>

#include "host/qax/rdf/TripleHandler.h"
#include "host/status/Status.h"

namespace qaxoi::rdf {

// At most this many of the XML parser's warnings are kept per document; one
// more line counts the rest.
inline constexpr std::size_t kMaxXmlWarnings = 8;
// What the XML parser holds per byte of an XML literal (rdf:parseType=
// "Literal") while it reads it: raptor writes the literal into a list of
// small pieces, about one per character. Measured on a 64-bit release build,
// 4 MB of literal peaked at 120 to 272 MB (30 to 68 bytes per byte, the most
// for plain text), and at up to 115 bytes per byte on other machines; this
// covers them all.
inline constexpr std::size_t kXmlLiteralBytesPerByte = 128;
// The largest XML literal read, in bytes (with the text its entity
// references stand for). What the parser holds of it, up to
// kXmlLiteralBytesPerByte times this (32 MiB), is held beside the load's
// budget rather than in it: a short vocabulary whose comments are a few
// kilobytes of XHTML would otherwise need more than ten times its size.
inline constexpr std::size_t kMaxXmlLiteralBytes = std::size_t{256} << 10;

// Parses `document` (any bytes) as RDF/XML and hands every statement and
// namespace declaration to `handler`. `sourceName` names the document in
// messages; `baseIri` resolves relative IRIs where the document
// gives no xml:base (empty: there is none, and a relative IRI is an error).
// The bytes are checked against the bounds of XmlBounds.h first; nothing is
// ever fetched (no network, no file, no external entity). The parser's
// warnings go to `warnings` as "<sourceName>:<line>: <what>" and do not stop
// the load; its errors do. While the document is parsed, what the parser
// holds of its largest XML literal is at most kXmlLiteralBytesPerByte times
// kMaxXmlLiteralBytes, outside `budget` (which must be the one `handler`
// charges); a longer literal is refused before parsing, placed at its
// element. A failure is "<sourceName>:<line>:<column>: <what>" for
// the first problem: kResourceExhausted for a document beyond the bounds of
// XmlBounds.h or the budget (no place for the statements' budget),
// kInvalidInput for the rest; `handler` has then been given a part of the
// document. Throws std::bad_alloc, with every parser resource freed, when
// memory runs out in the handler.
qaxoi::Status ReadRdfXml(const std::string& document, const std::string& sourceName,
                         const std::string& baseIri, TripleHandler& handler,
                         std::vector<std::string>& warnings);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_RDFXMLREADER_H_
