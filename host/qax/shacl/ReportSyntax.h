// How the report writers spell terms and paths: as Turtle, as N-Triples, or
// as text for people. Internal to the QAX library.
#ifndef QAX_HOST_QAX_SHACL_REPORTSYNTAX_H_
#define QAX_HOST_QAX_SHACL_REPORTSYNTAX_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/qax/shacl/ReportOutput.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {
namespace ReportSyntax {

// Prefix name, namespace pairs; the first that fits an IRI is used.
using Prefixes = std::vector<std::pair<std::string, std::string>>;

// Where a term or path is written.
enum class Form : uint8_t {
  kTurtle,    // Turtle that a strict parser reads back: prefixed names where one fits
  kNTriples,  // N-Triples terms: full IRIs, no prefixes (paths still in Turtle form)
  kText,      // for a terminal: prefixed names, control characters escaped, long texts cut
};

// The namespaces the writers always know.
inline constexpr const char* kShacl = "http://www.w3.org/ns/shacl#";
inline constexpr const char* kXsd = "http://www.w3.org/2001/XMLSchema#";
inline constexpr const char* kRdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";

// The most characters (code points) of one literal, IRI or message that the
// text form shows; the rest is cut and marked with "…", so that one huge
// value cannot flood a terminal. Turtle and JSON keep everything.
inline constexpr std::size_t kMaxShownCharacters = 200;
inline constexpr std::size_t kMaxShownMessageCharacters = 1000;

// The prefixes a report uses: sh:, xsd: and rdf:, then those of `given`
// whose name Turtle reads plainly, whose namespace is not empty, and whose
// name is not taken already (the first of a name wins).
Prefixes ReportPrefixes(const Prefixes& given);

// `text` with every byte that is not part of well-formed UTF-8 replaced by
// U+FFFD, so that Turtle and JSON readers accept it.
std::string ValidUtf8(std::string_view text);

// `text` made valid UTF-8 as ValidUtf8 makes it, put on `out` piece by
// piece, without a copy of the whole.
void PutValidUtf8(ReportOutput& out, std::string_view text);

// `text` as a Turtle and N-Triples string: quoted, made valid UTF-8, with
// quotes, backslashes and control characters escaped. PutQuoted puts it on
// `out` piece by piece.
std::string Quoted(std::string_view text);
void PutQuoted(ReportOutput& out, std::string_view text);

// `text` for a terminal: control characters (U+0000 to U+001F, U+007F,
// U+0080 to U+009F) written as \xNN or \u00NN, cut after `maxCharacters`
// code points with "…" appended.
std::string Shown(std::string_view text, std::size_t maxCharacters);

// An IRI: `prefix:local` when a prefix of `prefixes` fits and the local
// part is a valid Turtle local name (never in kNTriples), else <iri> with
// the characters IRIs may not hold (spaces, controls, <>"{}|^`\)
// percent-encoded, so that a strict reader takes it.
std::string Iri(const std::string& iri, const Prefixes& prefixes, Form form);
// The same put on `out`, in kTurtle or kNTriples form.
void PutIri(ReportOutput& out, const std::string& iri, const Prefixes& prefixes, Form form);

// The graph a term of a report comes from: the focus node and the value
// from the data graph, the source shape from the shapes graph. Blank node
// labels of the two graphs are unrelated, so they are written apart.
enum class Origin : uint8_t { kData, kShapes };

// A term: an IRI as Iri writes it, a blank node as _:label, a literal
// quoted and escaped with its language tag or its datatype (none for
// xsd:string). A label that Turtle does not allow, or that starts as the
// other forms do, is written as "x_" and the label with each byte other
// than a letter, digit or '-' as '_' and two hexadecimal digits; a label
// of the shapes graph gets "s_" before it: distinct nodes keep distinct
// labels.
std::string Term(const ReportTerm& term, const Prefixes& prefixes, Form form,
                 Origin origin = Origin::kData);
// The same put on `out` piece by piece, in kTurtle or kNTriples form: a
// long literal is never copied whole.
void PutTerm(ReportOutput& out, const ReportTerm& term, const Prefixes& prefixes, Form form,
             Origin origin = Origin::kData);

// A SHACL property path in Turtle form: the predicate; ( a b ) for a
// sequence; [ sh:inversePath p ], [ sh:alternativePath ( a b ) ] and so on.
// Written without recursion, however deeply the path nests.
std::string Path(const ReportPath& path, const Prefixes& prefixes, Form form);

}  // namespace ReportSyntax
}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_REPORTSYNTAX_H_
