// The SHACL Core constraint components by name. What each one is (its IRI,
// parameters, reading and check) is its row in Components.h. Internal to
// the QAX library.
#ifndef QAX_HOST_QAX_SHACL_COMPONENT_H_
#define QAX_HOST_QAX_SHACL_COMPONENT_H_

#include <cstddef>
#include <cstdint>

namespace qaxoi::shacl {

// The components, in the order Shapes::Read reads their parameters: the
// order of a shape's constraints, so of the results one focus node gets.
enum class Component : uint8_t {
  kClass,
  kDatatype,
  kNodeKind,
  kMinCount,
  kMaxCount,
  kMinLength,
  kMaxLength,
  kMinExclusive,
  kMinInclusive,
  kMaxExclusive,
  kMaxInclusive,
  kPattern,
  kLanguageIn,
  kUniqueLang,
  kEquals,
  kDisjoint,
  kLessThan,
  kLessThanOrEquals,
  kClosed,
  kHasValue,
  kIn,
  kNot,
  kNode,
  kProperty,
  kAnd,
  kOr,
  kXone,
  kQualifiedMinCount,
  kQualifiedMaxCount,
  // Not a component: how many there are.
  kCount,
};

inline constexpr std::size_t kComponentCount = static_cast<std::size_t>(Component::kCount);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_COMPONENT_H_
