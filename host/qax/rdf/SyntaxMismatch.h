// What a document that failed to parse looks like, when its content is in
// another syntax than the one it was read as (RDF/XML saved as .ttl, Turtle
// as .nt, JSON-LD as .ttl): a hint for the parser's message, never a reason
// to read it in another syntax.
#ifndef QAX_HOST_QAX_RDF_SYNTAXMISMATCH_H_
#define QAX_HOST_QAX_RDF_SYNTAXMISMATCH_H_

#include <string>
#include <string_view>

#include "host/qax/QAXExport.h"
#include "host/qax/rdf/RdfSyntax.h"

namespace qaxoi::rdf {

// How much of a document's start the hint is told from: the bytes that
// detection reads for a document whose name tells no syntax, enough for an
// XML prolog with a DOCTYPE of entities or a long header of comments.
inline constexpr std::size_t kSyntaxSniffBytes = std::size_t{64} << 10;

// What `firstBytes`, a document's start, look like, as messages name it:
// the title of a syntax read ("Turtle", "RDF/XML", ...; "N-Triples" for a
// first statement of one line of three terms without a directive before it;
// none for a first statement that starts with an IRI or blank node and is
// no such line, which may be Turtle or a broken line of another syntax),
// "JSON-LD" for JSON holding "@context", "@id", "@type" or "@graph", else
// what DetectRdfSyntax finds that is not read ("JSON", "OWL/XML", "HTML",
// "XML", "UTF-16", "the OWL functional syntax", "the OWL Manchester
// syntax"). Empty for bytes of no syntax known.
QAX_API std::string ContentLooksLike(std::string_view firstBytes);

// The clause a parse failure of a document read as `parsedAs` (not
// kDetect) adds to its message, after "; ": "its content looks like RDF/XML,
// not Turtle", or "its content looks like RDF/XML, but its name says
// Turtle" when `syntaxFromName` (the syntax came from the document's
// extension), or "its content looks like JSON-LD, which is not read" (for
// UTF-16, with "; convert it to UTF-8", and nothing for RDF/XML, whose
// reader refuses UTF-16 in as many words). Empty when the content looks
// like `parsedAs`, like a syntax that `parsedAs` reads too (N-Triples read as Turtle, TriG or
// N-Quads; Turtle read as TriG: the failure is then in the content), or like
// nothing known.
QAX_API std::string SyntaxMismatch(std::string_view firstBytes, RdfSyntax parsedAs,
                                   bool syntaxFromName);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_SYNTAXMISMATCH_H_
