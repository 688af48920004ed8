// The RDF syntaxes an ontology model can be loaded from, and how a
// document's syntax is told from its name or its first bytes.
#ifndef QAX_HOST_QAX_RDF_RDFSYNTAX_H_
#define QAX_HOST_QAX_RDF_RDFSYNTAX_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "host/qax/QAXExport.h"
#include "host/status/Status.h"

namespace qaxoi::rdf {

enum class RdfSyntax {
  kDetect,  // from the file name, else from the document's first bytes
  kTurtle,
  kNTriples,
  kNQuads,
  kTriG,
  kRdfXml,
};

// One syntax that models are loaded from, as every part of the service and
// its tools name it.
struct RdfSyntaxInfo {
  RdfSyntax syntax;
  // As --syntax and ParseRdfSyntaxName read it: lower case, one word.
  const char* name;
  // As messages, the help and the docs write it.
  const char* title;
  // The file extension that names it (lower case, without the dot); null
  // when none does and the first bytes tell it.
  const char* extension;
  // The media type that servers give it, as HTTP's Accept and Content-Type
  // write it (lower case).
  const char* mediaType;
};

// Every syntax read, in the order in which messages list them. The one list
// of syntaxes: detection, names, extensions, messages and help come from it.
inline constexpr RdfSyntaxInfo kRdfSyntaxes[] = {
    {RdfSyntax::kTurtle, "turtle", "Turtle", "ttl", "text/turtle"},
    {RdfSyntax::kNTriples, "ntriples", "N-Triples", "nt", "application/n-triples"},
    {RdfSyntax::kNQuads, "nquads", "N-Quads", "nq", "application/n-quads"},
    {RdfSyntax::kTriG, "trig", "TriG", "trig", "application/trig"},
    {RdfSyntax::kRdfXml, "rdfxml", "RDF/XML", nullptr, "application/rdf+xml"},
};

// The `field` (&RdfSyntaxInfo::name or ::title) of every syntax read, in
// table order, joined by ", " and, before the last, by " `last` ": for
// example "turtle, ntriples, nquads, trig or rdfxml".
inline std::string ListRdfSyntaxes(const char* RdfSyntaxInfo::*field, const char* last) {
  std::string list;
  constexpr std::size_t kCount = sizeof kRdfSyntaxes / sizeof kRdfSyntaxes[0];
  for (std::size_t i = 0; i < kCount; ++i) {
    if (i > 0) list.append(i + 1 < kCount ? ", " : std::string(" ") + last + " ");
    list.append(kRdfSyntaxes[i].*field);
  }
  return list;
}

// The syntax that the extension of `path` names, in any letter case (the
// extensions of kRdfSyntaxes: .ttl, .nt, .nq, .trig). kDetect for every
// other extension and for none; .rdf,
// .owl and .xml among them, since tools give those names to RDF/XML, OWL/XML
// and other syntaxes alike, and the first bytes tell them apart.
QAX_API RdfSyntax RdfSyntaxFromPath(const std::string& path);

// The syntax of a document from its first bytes, after a UTF-8 byte order
// mark, white space and comments: XML whose root element is rdf:RDF (any
// prefix bound to the RDF namespace) or carries rdf: attributes is RDF/XML;
// "@prefix", "@base", "PREFIX", "BASE", "<" or "_:" start Turtle, TriG
// (a graph block "{" or "GRAPH" first) or N-Quads (a first statement of four
// terms); N-Triples is read as Turtle. An empty document is Turtle. The
// syntax goes to `syntax`. What is not read (OWL/XML, the OWL functional and
// Manchester syntaxes, JSON-LD, other XML, or bytes of no known syntax) is
// kNotSupported, one sentence that names what was found and lists the
// syntaxes that are read, with `syntax` left as it was; a document in UTF-16
// (a byte order mark FE FF or FF FE, or '<' written in UTF-16) is
// kNotSupported as "the document is in UTF-16, which is not read; convert it
// to UTF-8". Reads no further than the first statement or element.
QAX_API qaxoi::Status DetectRdfSyntax(std::string_view firstBytes, RdfSyntax* syntax);

// The name of `syntax` as ParseRdfSyntaxName reads it (its name in
// kRdfSyntaxes; "detect" for kDetect).
QAX_API const char* RdfSyntaxName(RdfSyntax syntax);

// Reads one of the names of kRdfSyntaxes ("turtle", "ntriples", "nquads",
// "trig", "rdfxml"; exactly, lower case) into `syntax`. Any other name is
// kInvalidArgument, "unknown syntax '<name>'; use turtle, ntriples, nquads,
// trig or rdfxml", with `syntax` left as it was.
QAX_API qaxoi::Status ParseRdfSyntaxName(std::string_view name, RdfSyntax* syntax);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_RDFSYNTAX_H_
