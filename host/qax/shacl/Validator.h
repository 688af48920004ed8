// SHACL Core validation: shapes read from a shapes graph, and a data graph
// checked against them as the W3C Shapes Constraint Language defines it
// (SHACL Core; SHACL-SPARQL is not supported).
#ifndef QAX_HOST_QAX_SHACL_VALIDATOR_H_
#define QAX_HOST_QAX_SHACL_VALIDATOR_H_

#include <cstdint>
#include <memory>
#include <string>

#include "host/qax/QAXExport.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/ValidationReport.h"
#include "host/status/Status.h"

namespace qaxoi::shacl {

class ShapeSet;

// The shapes of a shapes graph, read once and validated against any number
// of data graphs. Holds views into the shapes graph, which must outlive it
// and stay unchanged.
class QAX_API Shapes {
 public:
  ~Shapes();
  Shapes(const Shapes&) = delete;
  Shapes& operator=(const Shapes&) = delete;

  // Reads every shape of the sealed `shapesGraph`: the node and property
  // shapes, their targets, paths and constraints, into `shapes`. Fails,
  // leaving `shapes` as it was, with one line naming the shape and what is
  // wrong: kInvalidInput for a graph that is not well-formed SHACL (a path
  // that is not a well-formed path, a parameter with a value of the wrong
  // kind or count, a list that is not a well-formed RDF list, a shape that
  // refers to itself through its constraints), kResourceExhausted for one
  // that needs more than the bounds of docs/validation.md, kInvalidArgument
  // for a graph that is not sealed. Throws std::bad_alloc when memory runs
  // out.
  static qaxoi::Status Read(const Graph& shapesGraph, std::unique_ptr<Shapes>* shapes);

  // How many shapes were read (deactivated ones included).
  std::size_t Count() const;

  // Implementation; opaque to callers.
  const ShapeSet& Set() const { return *set_; }

 private:
  explicit Shapes(std::unique_ptr<ShapeSet> set);
  std::unique_ptr<ShapeSet> set_;
};

// The work one validation may spend: a base, plus per unit of the shapes
// (each shape and each constraint) times each unit of the data (each
// statement, each term and each byte of a literal's text). A unit of work
// is a focus node of a target, a value checked by a constraint, a statement
// a path follows, a node merged into a closure, a pair of values compared,
// a pattern step (ShapePattern.h) or a result.
inline constexpr uint64_t kValidationWorkBase = uint64_t{1} << 24U;
inline constexpr uint64_t kValidationWorkPerUnit = 64;

// kValidationWorkBase + kValidationWorkPerUnit x (shapes + constraints of
// `shapes`) x (statements + terms + literal bytes of `data`), held at
// UINT64_MAX. `data` must be sealed.
QAX_API uint64_t ValidationWorkBudget(const Graph& data, const Shapes& shapes);

// Validates the sealed `data` against `shapes`: every focus node of every
// target of every shape that is not deactivated, with each of its
// constraints. rdf:type and rdfs:subClassOf are read from `data` (SHACL
// instances, targets and sh:class). Spends at most ValidationWorkBudget
// units of work (counted in the report's `work`); past it validation stops,
// and the report says why in `stopped` and does not conform. Unbounded
// paths (`*`, `+`) are walked once per node for the whole run, and nodes
// that reach each other share their values and the constraints' answers on
// them, so a cycle costs its size, not its square. Throws std::bad_alloc
// when memory runs out.
QAX_API ValidationReport Validate(const Graph& data, const Shapes& shapes);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_VALIDATOR_H_
