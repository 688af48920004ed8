// SHACL Core's constraint components, each said once: the IRI its results
// name and the function that Validate checks it with. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_SHACL_COMPONENTS_H_
#define QAX_HOST_QAX_SHACL_COMPONENTS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/qax/shacl/Graph.h"

namespace QAX {
namespace Ontology {
namespace Shacl {

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

class ConstraintCheck;

// Checks one constraint of a component at one focus node (see
// ComponentChecks.h): answers whether it holds, recording in `check` each
// failure it finds when reporting, else stopping at the first.
using CheckFunction = bool (*)(ConstraintCheck& check);

// One component.
struct ComponentRow {
  Component component;
  // The sh:sourceConstraintComponent of its results, a full IRI.
  std::string_view iri;
  CheckFunction check;
};

// Every component, row i for the enumerator of value i (checked where the
// table is defined).
extern const std::array<ComponentRow, kComponentCount> kComponents;

// The row of `component`, which must be a component (not kCount).
inline const ComponentRow& RowOf(Component component) {
  return kComponents[static_cast<std::size_t>(component)];
}

}  // namespace Shacl
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_SHACL_COMPONENTS_H_
