// Checks of texts against the lexical forms of RDF: well-formed UTF-8 and
// the XML Schema datatypes that attribute values are written as. Internal to
// the QAX library.
#ifndef QAX_HOST_QAX_RDF_LEXICALFORMS_H_
#define QAX_HOST_QAX_RDF_LEXICALFORMS_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "host/qax/model/AttrKind.h"

namespace qaxoi::rdf {

// The length of the UTF-8 sequence that starts at `at`, or 0 when none does
// (a stray continuation byte, an overlong form, a surrogate, a code point
// beyond U+10FFFF, or a sequence cut short by the end of `text`).
std::size_t Utf8Length(std::string_view text, std::size_t at);

// `text` with each byte that starts no well-formed UTF-8 sequence replaced by
// U+FFFD; `*repaired` (when not null) tells whether any was.
std::string WellFormedUtf8(const std::string& text, bool* repaired);

// The IRI of the XML Schema datatype that a value `text` of an attribute of
// `kind` is written as: xsd:boolean for kBoolean, xsd:integer for kInteger,
// xsd:decimal or xsd:double for kReal, xsd:dateTime or xsd:date for
// kTemporal, each only when `text` is a valid lexical form of it. Empty when
// the value is a plain string: every other kind (unknown ones included), and
// texts of no such form.
std::string LiteralDatatype(QAX::Ontology::Info::AttrKind kind, const std::string& text);

// What CheckLexicalForm found.
enum class LexicalCheck {
  kValid,      // a lexical form of the datatype
  kInvalid,    // no lexical form of the datatype
  kUnchecked,  // a datatype whose forms are not checked here (any IRI outside XML Schema's
               // numbers, booleans, dates, times and durations, and xsd:hexBinary)
};

// Whether `text` is a lexical form of the datatype `datatype` (an IRI): the
// XML Schema numbers (integers within their types' bounds), booleans (only
// "true" and "false" when `wordsOnly`), dates, times, the g* types,
// durations and xsd:hexBinary.
LexicalCheck CheckLexicalForm(std::string_view datatype, const std::string& text,
                              bool wordsOnly = false);

// True when a literal of `datatype` and `text` reads back from a JSON-LD
// native value as the same literal: an xsd:boolean "true" or "false", an
// xsd:integer in canonical form (no '+', no leading zeros, no "-0") of at
// most 15 digits (which every JSON reader holds exactly).
bool IsNativeJsonLiteral(std::string_view datatype, const std::string& text);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_LEXICALFORMS_H_
