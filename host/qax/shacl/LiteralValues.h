// The XML Schema datatypes that sh:datatype checks lexical forms of and that
// the value range and property pair components compare. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_SHACL_LITERALVALUES_H_
#define QAX_HOST_QAX_SHACL_LITERALVALUES_H_

#include <cstdint>
#include <string_view>

#include "host/qax/shacl/Graph.h"

namespace qaxoi::shacl {

// The datatypes whose lexical forms are known; kOther is any other IRI,
// whose every lexical form is taken as well-formed.
enum class XsdType : uint8_t {
  kOther,
  kString,
  kNormalizedString,
  kToken,
  kLanguage,
  kLangString,
  kAnyUri,
  kBoolean,
  kDecimal,
  kInteger,
  kNonPositiveInteger,
  kNegativeInteger,
  kNonNegativeInteger,
  kPositiveInteger,
  kLong,
  kInt,
  kShort,
  kByte,
  kUnsignedLong,
  kUnsignedInt,
  kUnsignedShort,
  kUnsignedByte,
  kDouble,
  kFloat,
  kDateTime,
  kDateTimeStamp,
  kDate,
  kTime,
  kGYear,
  kGYearMonth,
  kGMonth,
  kGMonthDay,
  kGDay,
  kDuration,
  kHexBinary,
  kBase64Binary,
};

// The datatype a datatype IRI names.
XsdType XsdTypeOf(std::string_view datatypeIri);

// Whether `lexical` is in the lexical space of `type` (no surrounding white
// space; integer types within their ranges; dates with real days of the
// month). Always true for kOther.
bool IsWellFormed(XsdType type, std::string_view lexical);

// How two terms compare as SPARQL's `<` would: numbers across the numeric
// types, booleans, xsd:string with xsd:string (by code point), dates with
// dates, date-times with date-times, times with times (a value without time
// zone against one with it only where the 14-hour zone range decides).
// Years of up to 12 digits, either sign, compare exactly (no value of them
// overflows); longer ones, well-formed as they are, compare as kNone.
// kNone for every other pair: IRIs, blank nodes, language-tagged strings,
// ill-formed literals, mixed kinds.
enum class Order : uint8_t { kLess, kEqual, kGreater, kNone };
Order Compare(const TermView& a, const TermView& b);

// The length of `text` in Unicode code points: its bytes that are not UTF-8
// continuation bytes.
std::size_t CodePointCount(std::string_view text);

// Whether the language tag `tag` matches the basic language range `range`
// (RFC 4647 basic filtering, case-insensitive; "*" matches every non-empty
// tag).
bool LanguageMatches(std::string_view tag, std::string_view range);

// Whether two language tags are equal regardless of letter case.
bool SameLanguage(std::string_view a, std::string_view b);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_LITERALVALUES_H_
