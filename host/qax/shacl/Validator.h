// SHACL Core validation: shapes read from a shapes graph, and a data graph
// checked against them as the W3C Shapes Constraint Language defines it
// (SHACL Core; SHACL-SPARQL is not supported).
#ifndef QAX_HOST_QAX_SHACL_VALIDATOR_H_
#define QAX_HOST_QAX_SHACL_VALIDATOR_H_

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

// Validates the sealed `data` against `shapes`: every focus node of every
// target of every shape that is not deactivated, with each of its
// constraints. rdf:type and rdfs:subClassOf are read from `data` (SHACL
// instances, targets and sh:class). Validating is linear in the data for
// shapes whose paths are of bounded length; unbounded paths are walked once
// per focus node, each node visited once. Throws std::bad_alloc when memory
// runs out.
QAX_API ValidationReport Validate(const Graph& data, const Shapes& shapes);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_VALIDATOR_H_
