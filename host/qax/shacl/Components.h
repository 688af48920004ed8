// SHACL Core's constraint components, each said once: the IRI its results
// name, the parameters that state it in a shapes graph, how Shapes::Read
// reads them and the function that Validate checks it with. Adding a
// component is one enumerator, one row of kComponents and its functions.
// Internal to the QAX library.
#ifndef QAX_HOST_QAX_SHACL_COMPONENTS_H_
#define QAX_HOST_QAX_SHACL_COMPONENTS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/qax/shacl/Component.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/ShaclTerms.h"

namespace qaxoi::shacl {

// How Shapes::Read turns the values of a component's parameters into
// constraints (the Constraint fields each fills in brackets). Where a shape
// has none of the parameters, it gets no constraint of the component.
enum class ParameterRead : uint8_t {
  // Every value an IRI, a constraint each [term].
  kIris,
  // At most one value, an IRI [term, datatype].
  kDatatype,
  // At most one value, one of the six node kinds [term, nodeKinds].
  kNodeKind,
  // At most one value, a non-negative xsd:integer literal [count].
  kCount,
  // At most one value, a literal [term].
  kLiteral,
  // Every value an xsd:string literal, a constraint each, compiled with the
  // optional parameter's flags, at most one xsd:string literal [term,
  // pattern].
  kPattern,
  // At most one value, a list of xsd:string literals [terms].
  kStringList,
  // At most one value, an xsd:boolean literal; a constraint when true.
  kTrue,
  // At most one value, an xsd:boolean literal; when true a constraint with
  // the members of the optional parameter's list, at most one [terms].
  kClosed,
  // Every value, of any kind, a constraint each [term].
  kTerms,
  // At most one value, a list [terms].
  kList,
  // Every value a shape, a constraint each [shapes: that one].
  kShape,
  // Every value a list of shapes, a constraint each [shapes: the members].
  kShapeList,
  // The counts of the rows of one run, read with the second parameter, one
  // shape, and the optional boolean [count, shapes: that shape, disjoint].
  kQualified,
};

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
  // The parameter that states it; a node with a value of it is a shape.
  TermId ShaclTerms::*parameter;
  // A second parameter it needs, which also makes a node a shape
  // (sh:qualifiedValueShape); null where there is none. kQualified reads it.
  TermId ShaclTerms::*needed;
  // A parameter it may have besides (sh:flags, sh:ignoredProperties,
  // sh:qualifiedValueShapesDisjoint); null where there is none. kPattern,
  // kClosed and kQualified read it.
  TermId ShaclTerms::*optional;
  // How its parameters are read. Rows next to each other that are read the
  // same way are read together, by one call of the reading routine.
  ParameterRead read;
  // Whether only a property shape may state it: a node shape that does is
  // refused.
  bool propertyShapesOnly;
  CheckFunction check;
};

// Every component, row i for the enumerator of value i (checked where the
// table is defined).
extern const std::array<ComponentRow, kComponentCount> kComponents;

// The row of `component`, which must be a component (not kCount).
inline const ComponentRow& RowOf(Component component) {
  return kComponents[static_cast<std::size_t>(component)];
}

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_COMPONENTS_H_
