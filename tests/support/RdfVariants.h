// One RDF graph written in other ways: its statements shuffled, its blank
// nodes relabelled, and written in other syntaxes, by other writers (serd
// reads and writes N-Triples, raptor writes Turtle and RDF/XML), for tests
// that a model or a graph depends on the statements alone.
#ifndef QAX_TESTS_SUPPORT_RDFVARIANTS_H_
#define QAX_TESTS_SUPPORT_RDFVARIANTS_H_

#include <string>
#include <utility>
#include <vector>

#include "host/qax/rdf/Rdf.h"

namespace qaxoi::test {

// The statements of a graph, one N-Triples line each ("S P O .", no line
// end), blank nodes with the labels of the document.
using Statements = std::vector<std::string>;

// Reads `text`, a document of `syntax` (Turtle, N-Triples, N-Quads or TriG,
// graph names dropped) with serd and writes it as N-Triples with serd,
// relative IRIs against `base`. Answers false with the parser's message in
// `error`, or for RDF/XML, which it does not read.
bool ReadStatements(const std::string& text, rdf::RdfSyntax syntax, const std::string& base,
                    Statements* statements, std::string* error);

// `statements` in an order drawn from `seed`.
Statements Shuffled(Statements statements, unsigned seed);

// `statements` with each blank node given another label, drawn from `seed`
// (the same node the same label throughout).
Statements Relabelled(const Statements& statements, unsigned seed);

// The statements as a document of `syntax`: N-Triples as they are; N-Quads
// with each statement in one of a few named graphs; TriG in graph blocks.
std::string Written(const Statements& statements, rdf::RdfSyntax syntax);

// The statements written by raptor's serializer `serializer` ("turtle",
// "rdfxml", "rdfxml-abbrev"), declaring `prefixes` as (name, namespace),
// the empty name for the default namespace. Answers false with raptor's
// message in `error` (RDF/XML cannot write every predicate IRI).
bool Serialized(const Statements& statements, const char* serializer,
                const std::vector<std::pair<std::string, std::string>>& prefixes,
                std::string* document, std::string* error);

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_RDFVARIANTS_H_
