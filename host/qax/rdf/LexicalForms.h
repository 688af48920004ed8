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

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_LEXICALFORMS_H_
