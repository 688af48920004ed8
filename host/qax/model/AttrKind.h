// The kinds of value an attribute takes, by name.
//
// An attribute record keeps its kind as a plain 32-bit integer
// (Info::MetaAttrInfo::kind), the platform's record as it is: the values 0
// to 6 are the kinds below, and any other int32 value may stand there too.
// Such a value is an "unknown kind": code that reads a kind must handle it
// (a switch over AttrKind needs a default), and must not assume that a
// record holds one of the names.
#ifndef QAX_HOST_QAX_MODEL_ATTRKIND_H_
#define QAX_HOST_QAX_MODEL_ATTRKIND_H_

#include <cstdint>

namespace QAX {
namespace Ontology {
namespace Info {

// The attribute kinds this service gives meaning to, with the numbers that
// the record holds for them. The numbers are fixed: files and hosts keep
// them, and their order is the loader's preference among mapped datatypes
// (docs/vocabularies.md).
enum class AttrKind : std::int32_t {
  kText = 0,      // a string
  kBoolean = 1,   // true or false
  kInteger = 2,   // a whole number
  kReal = 3,      // a real number
  kTemporal = 4,  // dates, times and durations, held as text
  kComplex = 5,   // an instance of another class
  kUnmapped = 6,  // a datatype the service does not know: takes no value
};

// The number a record holds for `kind`.
constexpr std::int32_t KindValue(AttrKind kind) { return static_cast<std::int32_t>(kind); }

// A record's kind field `value` as an AttrKind. Every int32 value converts
// and keeps its number (the enumeration's underlying type is int32_t), so
// an unknown kind stays an unknown kind: unequal to every name, and
// KindValue gives `value` back.
constexpr AttrKind AttrKindOf(std::int32_t value) { return static_cast<AttrKind>(value); }

}  // namespace Info
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_ATTRKIND_H_
