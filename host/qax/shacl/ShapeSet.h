// The shapes of a shapes graph as Shapes::Read leaves them for Validate:
// every term a shapes-graph term number, every parameter checked, every
// reference to another shape an index. Internal to the QAX library.
#ifndef QAX_HOST_QAX_SHACL_SHAPESET_H_
#define QAX_HOST_QAX_SHACL_SHAPESET_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "host/qax/shacl/Component.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/LiteralValues.h"
#include "host/qax/shacl/ShaclTerms.h"
#include "host/qax/shacl/ShapePattern.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {

// Bounds of what a shapes graph may ask for (docs/validation.md).
// Members of one RDF list (sh:in, sh:and, sh:languageIn, a sequence path...).
inline constexpr std::size_t kMaxListLength = 100000;
// Shapes reached from one shape through sh:node, sh:property, sh:not,
// sh:and, sh:or, sh:xone and sh:qualifiedValueShape, one level each.
inline constexpr std::size_t kMaxShapeDepth = 64;
// Levels of one property path (a sequence of inverses of ... is one level
// per path construct).
inline constexpr std::size_t kMaxPathDepth = 64;
// Shapes in one shapes graph.
inline constexpr std::size_t kMaxShapes = 1000000;
// Path steps (predicates and path constructs) read from one shapes graph,
// beyond one per statement of the graph: a path node that several paths
// share is read once per use, so sharing cannot multiply the work unseen.
inline constexpr std::size_t kMaxPathSteps = 100000;

using ShapeIndex = uint32_t;

// A property path; predicates are shapes-graph terms.
struct ShapePath {
  ReportPath::Kind kind = ReportPath::Kind::kPredicate;
  TermId predicate = kNoTerm;
  std::vector<ShapePath> steps;
};

// The node kinds sh:nodeKind allows, as a set of bits.
enum NodeKindBits : uint8_t { kKindIri = 1, kKindBlank = 2, kKindLiteral = 4 };

// One constraint of one shape: a component with its parameters' values.
struct Constraint {
  Component component = Component::kClass;
  // The single term parameter (sh:class, sh:datatype, sh:equals and the
  // other pair predicates, sh:hasValue, the range bound, sh:nodeKind's kind).
  TermId term = kNoTerm;
  // sh:datatype's type, for its lexical check.
  XsdType datatype = XsdType::kOther;
  // The count parameters (cardinality, length, qualified counts).
  uint64_t count = 0;
  uint8_t nodeKinds = 0;
  // sh:in's members, sh:languageIn's ranges, sh:closed's allowed predicates
  // (ignored ones and the predicate paths of the shape's sh:property).
  std::vector<TermId> terms;
  // The shapes sh:not, sh:node, sh:property name (one), sh:and, sh:or,
  // sh:xone's members, or sh:qualifiedValueShape's shape followed by its
  // siblings when sh:qualifiedValueShapesDisjoint is true.
  std::vector<ShapeIndex> shapes;
  std::shared_ptr<const ShapePattern> pattern;
  // sh:qualifiedValueShapesDisjoint.
  bool disjoint = false;
};

enum class TargetKind : uint8_t { kClass, kNode, kSubjectsOf, kObjectsOf };

struct Target {
  TargetKind kind = TargetKind::kClass;
  TermId term = kNoTerm;
};

struct Shape {
  TermId node = kNoTerm;
  bool isProperty = false;
  bool deactivated = false;
  // The sh:severity IRI; kNoTerm for sh:Violation by default.
  TermId severity = kNoTerm;
  std::vector<TermId> messages;
  ShapePath path;
  // The path as a report gives it back; null for a node shape.
  std::shared_ptr<const ReportPath> reportPath;
  std::vector<Target> targets;
  std::vector<Constraint> constraints;
  // Whether a constraint names other shapes: then whether a node conforms
  // is kept once found.
  bool namesShapes = false;
  // Whether the shape is checked for a report from more than one place
  // (named by several sh:property, or named and targeted): then each focus
  // node is reported once, however many ways reach it.
  bool shared = false;
};

// Every shape of one shapes graph. References between shapes form no cycle
// and are at most kMaxShapeDepth deep.
class ShapeSet {
 public:
  ShapeSet(const Graph& graph, const ShaclTerms& terms) : graph_(graph), terms_(terms) {}
  const Graph& ShapesGraph() const { return graph_; }
  const ShaclTerms& Terms() const { return terms_; }

  std::vector<Shape> shapes;

 private:
  const Graph& graph_;
  ShaclTerms terms_;
};

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_SHAPESET_H_
