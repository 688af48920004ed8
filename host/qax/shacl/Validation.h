// One run of Validate, and what the check functions of the components
// (ComponentChecks.h) may ask of it. Internal to the QAX library.
#ifndef QAX_HOST_QAX_SHACL_VALIDATION_H_
#define QAX_HOST_QAX_SHACL_VALIDATION_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/PathClosure.h"
#include "host/qax/shacl/ShapeSet.h"
#include "host/qax/shacl/TermText.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {

// Whether `sorted`, in ascending order, holds `node`.
inline bool Contains(const std::vector<TermId>& sorted, TermId node) {
  return std::binary_search(sorted.begin(), sorted.end(), node);
}

// Whether statements sorted by object have `node` as one's object.
inline bool HasObject(const TripleRange& sorted, TermId node) {
  const Triple* at = std::lower_bound(sorted.begin(), sorted.end(), node,
                                      [](const Triple& t, TermId n) { return t.object < n; });
  return at != sorted.end() && at->object == node;
}

// A failure a check found on a set of values that several focus nodes
// share, kept to be reported at each of them.
struct RecordedFailure {
  TermId value = kNoTerm;
  std::string message;
  std::shared_ptr<const ReportPath> path;
};

// One run of Validate over a data graph and a shape set, which must outlive
// it. Nodes are data-graph terms; a term of the shapes graph that the data
// graph does not hold (a sh:targetNode, a sh:hasValue) gets a number past
// the data graph's terms, so that it equals only itself and has no
// statements. Answers are kept for the rest of the run: not thread-safe.
class Validation {
 public:
  Validation(const Graph& data, const ShapeSet& set);

  // ValidationWorkBudget of `data` and `set`.
  static uint64_t Budget(const Graph& data, const ShapeSet& set);

  // Checks every focus node of every target of every shape that is not
  // deactivated; answers the report. Call once.
  ValidationReport Run();

  // What the check functions use.

  // The shapes-graph term `shapesTerm` as a node (see the class).
  TermId Data(TermId shapesTerm);
  // What the node `node` is.
  TermView View(TermId node) const {
    return node < dataCount_ ? data_.Term(node) : shapes_.Term(node - dataCount_);
  }
  // A term of the shapes graph, and the same as a message writes it.
  TermView ShapesTerm(TermId shapesTerm) const { return shapes_.Term(shapesTerm); }
  std::string ShapesText(TermId shapesTerm) const {
    return ShapesTermText(shapes_.Term(shapesTerm));
  }
  // The node of the shape `shape` as a message writes it.
  std::string ShapeText(ShapeIndex shape) const { return ShapesText(set_.shapes[shape].node); }
  // The data graph's statements with `subject` and `predicate`, sorted by
  // object; every statement about `subject`, sorted by predicate then
  // object. Empty for a node the data graph does not hold.
  TripleRange Objects(TermId subject, TermId predicate) const {
    return subject < dataCount_ && predicate < dataCount_ ? data_.Objects(subject, predicate)
                                                          : TripleRange{};
  }
  TripleRange About(TermId subject) const {
    return subject < dataCount_ ? data_.About(subject) : TripleRange{};
  }
  // Whether `node` is a SHACL instance of `cls` in the data graph: typed
  // with it or with one of its subclasses.
  bool IsInstance(TermId node, TermId cls);
  // sh:in's members or sh:closed's allowed predicates as nodes, sorted and
  // distinct; kept for the run, keyed by the constraint's address.
  const std::vector<TermId>& Bound(const Constraint& c);
  // Whether `focus` conforms to the shape, reporting nothing; the answer of
  // a shape that names other shapes is kept for the run. `depth` is the
  // nesting level of the shape, below kMaxShapeDepth + 2.
  bool Conforms(ShapeIndex shape, TermId focus, std::size_t depth);
  // Whether `focus` conforms to the shape; reports each failure when
  // `report`, else stops at the first. Recurses through the shapes a shape
  // names, at most kMaxShapeDepth levels (Shapes::Read refused deeper ones).
  bool Check(ShapeIndex shape, TermId focus, bool report, std::size_t depth);
  // Adds a result of `shape` for `component` at `focus` to the report (or
  // counts it as left out past kMaxReportResults): with the value `value`
  // unless it is kNoTerm, `message` unless the shape has sh:message, and
  // `path` as its path, the shape's own when null.
  void Emit(const Shape& shape, Component component, TermId focus, TermId value,
            const std::string& message, std::shared_ptr<const ReportPath> path);

  // Charges `units` of work. The first charge past the budget stops the
  // run: the report says so, and every check after answers at once.
  // Answers whether the run goes on.
  bool Charge(uint64_t units) {
    work_ = units > UINT64_MAX - work_ ? UINT64_MAX : work_ + units;  // held at the top
    return work_ <= budget_ ? !stopped_ : Stop();
  }
  bool Stopped() const { return stopped_; }
  // The steps a pattern may take on a value of `bytes` bytes: its own
  // budget (PatternStepBudget) or what is left of the run's, the less.
  uint64_t PatternBudget(std::size_t bytes) const;

 private:
  // A constraint's answer on a set of values shared by several focus
  // nodes (a closure), with the failures to report at each of them; for
  // sh:property, whose results are the property shape's own, kept only
  // when every value conformed.
  struct SharedAnswer {
    bool holds = true;
    std::vector<RecordedFailure> failures;
  };
  struct SharedKeyHash {
    std::size_t operator()(const std::pair<const Constraint*, const void*>& key) const {
      return std::hash<const void*>()(key.first) * 31U ^ std::hash<const void*>()(key.second);
    }
  };

  // The report's number of the node `node` (see the class), copied into the
  // report the first time a result names it.
  ValidationResults::Index Copy(TermId node);
  // The same for an IRI of a component or severity, a message of the
  // validator's, a path, and the texts the results of `shape` share.
  ValidationResults::Index CopyIri(std::string_view iri);
  ValidationResults::Index CopyMessage(const std::string& message);
  ValidationResults::Index CopyPath(std::shared_ptr<const ReportPath> path);
  ValidationResults::Index CopyShape(const Shape& shape);
  // The node of the shapes-graph term `shapesTerm`: its data-graph term
  // when both graphs are one, else a number past the data graph's terms.
  TermId ShapesNode(TermId shapesTerm) const {
    return sameGraph_ ? shapesTerm : dataCount_ + shapesTerm;
  }
  TripleRange Subjects(TermId predicate, TermId object) const {
    return object < dataCount_ && predicate < dataCount_ ? data_.Subjects(predicate, object)
                                                         : TripleRange{};
  }

  // Marks the run stopped at its budget, once; answers false.
  bool Stop();
  const std::vector<TermId>& SubClasses(TermId cls);
  void FocusNodes(const Shape& shape, std::vector<TermId>& out);
  void Walk(const ShapePath& path, bool inverse, const std::vector<TermId>& from,
            std::vector<TermId>& out);
  // The nodes one or more steps of `path` (a `*` or `+` path) reach from
  // `node`, walked backwards when `inverse`; see PathClosure.
  const std::vector<TermId>& Reach(const ShapePath& path, bool inverse, TermId node);
  // The value nodes of the `*` or `+` path at `focus` (walked backwards
  // when `inverse`): a closure shared with other focus nodes (`*shared`
  // true), or `buffer` filled.
  const std::vector<TermId>& ClosureValues(const ShapePath& path, bool inverse, TermId focus,
                                           std::vector<TermId>& buffer, bool* shared);
  // Checks `c` on `values`, shared by several focus nodes, once for all of
  // them; reports the failures found at `focus` when `report`.
  bool CheckShared(const Shape& shape, const Constraint& c, TermId focus,
                   const std::vector<TermId>& values, bool report, std::size_t depth);

  const Graph& data_;
  const Graph& shapes_;
  const ShapeSet& set_;
  const bool sameGraph_;
  const TermId dataCount_;
  const TermId rdfType_;
  const TermId subClassOf_;
  std::vector<TermId> mapped_;
  // Data literals by lexical form, built when a shape first names a literal.
  std::unordered_multimap<std::string_view, TermId> literals_;
  bool literalsIndexed_ = false;
  std::unordered_map<TermId, std::vector<TermId>> subClasses_;
  std::unordered_map<const Constraint*, std::vector<TermId>> bound_;
  // Whether a shape that names other shapes conforms at a node: nested
  // shapes are checked once per node, however many shapes share them.
  std::unordered_map<uint64_t, bool> conforms_;
  // Whether a shared shape conformed at a node it was reported for, and the
  // nested shapes that conformed where they were reported.
  std::unordered_map<uint64_t, bool> reported_;
  // Value nodes, one buffer per nesting level.
  std::vector<std::vector<TermId>> buffers_;
  // The closures of each `*` and `+` path, walked forwards and backwards.
  std::map<std::pair<const ShapePath*, bool>, PathClosure> closures_;
  std::unordered_map<std::pair<const Constraint*, const void*>, SharedAnswer, SharedKeyHash>
      sharedAnswers_;
  // How many of the checks under way look at values that focus nodes
  // share (a closure).
  std::size_t sharedLevels_ = 0;
  const uint64_t budget_;
  uint64_t work_ = 0;
  bool stopped_ = false;
  ValidationReport report_;
  // What the report holds already, by its numbers, so that each term,
  // path, shape and text is copied into it once (kept for the run: at
  // most one entry per distinct term, path and shape of the results).
  struct Copied {
    std::unordered_map<TermId, ValidationResults::Index> terms;
    // The validator's messages, keyed by the report's own copies.
    std::unordered_map<std::string_view, ValidationResults::Index> messages;
    std::unordered_map<const ReportPath*, ValidationResults::Index> paths;
    // Paths of one predicate made for a result (sh:closed), by the IRI.
    std::unordered_map<std::string_view, ValidationResults::Index> predicates;
    std::unordered_map<const Shape*, ValidationResults::Index> shapes;
    // Component and severity IRIs, keyed by the report's own copies.
    std::unordered_map<std::string_view, ValidationResults::Index> iris;
  } copied_;
};

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_VALIDATION_H_
