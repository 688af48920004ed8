// Generated shapes and data that validation must not pay for more than the
// documented function of their size (docs/limits.md, "What validation
// costs"): cycles under `*` and `+` paths, many results, long values under
// patterns that backtrack, and value pairs under sh:lessThan.
#include <algorithm>
#include <memory>
#include <string>

#include "fuzz/FuzzTargets.h"
#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/ShapePattern.h"
#include "host/qax/shacl/ValidationReport.h"
#include "host/qax/shacl/Validator.h"

namespace qaxoi::fuzz {
namespace {

using qaxoi::rdf::RdfSyntax;
using qaxoi::shacl::Graph;
using qaxoi::shacl::GraphLoad;
using qaxoi::shacl::LoadGraphText;
using qaxoi::shacl::Shapes;
using qaxoi::shacl::ValidationReport;

constexpr char kPrefixes[] =
    "@prefix ex: <http://e.org/> .\n"
    "@prefix sh: <http://www.w3.org/ns/shacl#> .\n";

// The most nodes, shapes and value bytes one input makes: small enough for
// thousands of runs a second, large enough that a quadratic cost shows.
constexpr std::size_t kMaxNodes = 200;
constexpr std::size_t kMaxShapes = 8;
constexpr std::size_t kMaxValueBytes = 4000;
// Units per data unit that a conforming cycle or conforming pair may cost
// (docs/limits.md: linear in the data).
constexpr uint64_t kLinearUnitsPerDataUnit = 16;
constexpr uint64_t kFixedUnits = 64;

// Bytes of the input read one at a time; zero once it is spent.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t Next(std::size_t bound) { return at_ < size_ ? data_[at_++] % bound : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Patterns that backtrack across start positions or exponentially, and
// plain ones.
constexpr const char* kPatterns[] = {"[a-z]*[0-9]", "^(a*)\\\\1*$", "^(a|a)*[0-9]",
                                     "^[a-z]+$",    "(a|aa)+c",     "a{2,}b"};
// Constraints that look at values alone, and property pairs.
constexpr const char* kConstraints[] = {
    "sh:nodeKind sh:IRI",    "sh:nodeKind sh:Literal", "sh:minCount 1",    "sh:maxCount 3",
    "sh:in ( ex:n0 ex:n1 )", "sh:lessThan ex:q",       "sh:disjoint ex:q", "sh:class ex:C"};
constexpr const char* kPaths[] = {"[ sh:zeroOrMorePath ex:p ]", "[ sh:oneOrMorePath ex:p ]",
                                  "( [ sh:zeroOrMorePath ex:p ] ex:q )", "ex:p",
                                  "[ sh:inversePath [ sh:oneOrMorePath ex:p ] ]"};

// The path of kPaths that follows a closure with a step.
constexpr std::size_t kClosureThenStep = 2;

std::string Node(std::size_t i) { return "ex:n" + std::to_string(i); }

}  // namespace

std::string FuzzValidationCost(const std::uint8_t* data, std::size_t size) {
  Choices choose(data, size);
  const std::size_t nodes = 1 + choose.Next(kMaxNodes);
  std::string dataText = kPrefixes;
  // A graph of ex:p edges: a cycle through every node, and chords.
  for (std::size_t i = 0; i < nodes; ++i) {
    dataText += Node(i) + " ex:p " + Node((i + 1) % nodes) + " .\n";
    if (choose.Next(4) == 0) dataText += Node(i) + " ex:p " + Node(choose.Next(nodes)) + " .\n";
    if (choose.Next(2) == 0) dataText += Node(i) + " a ex:C .\n";
    // Values of ex:q: numbers (ordered pairs with ex:p's nodes fail), or a
    // long text for the patterns.
    switch (choose.Next(3)) {
      case 0:
        dataText += Node(i) + " ex:q " + std::to_string(choose.Next(kMaxNodes)) + " .\n";
        break;
      case 1: {
        const std::size_t bytes = choose.Next(kMaxValueBytes);
        dataText += Node(i) + " ex:q \"" + std::string(bytes, 'a') + "\" .\n";
        break;
      }
      default:
        break;
    }
  }
  std::string shapesText = kPrefixes;
  const std::size_t shapes = 1 + choose.Next(kMaxShapes);
  // Whether a closure is followed by another step: each focus node then has
  // values of its own, focus nodes times closure nodes in all (documented
  // as bounded by the budget alone).
  bool closureThenStep = false;
  for (std::size_t s = 0; s < shapes; ++s) {
    const bool onValues = choose.Next(2) == 0;
    std::string constraint =
        choose.Next(3) == 0
            ? std::string("sh:pattern \"") + kPatterns[choose.Next(std::size(kPatterns))] + "\""
            : kConstraints[choose.Next(std::size(kConstraints))];
    const std::size_t path = choose.Next(std::size(kPaths));
    closureThenStep = closureThenStep || (!onValues && path == kClosureThenStep);
    shapesText += "ex:S" + std::to_string(s) +
                  " sh:targetSubjectsOf ex:p ; sh:property [ sh:path " +
                  (onValues ? std::string("ex:q") : kPaths[path]) + " ; " + constraint + " ] .\n";
  }

  Graph dataGraph;
  Graph shapesGraph;
  GraphLoad loaded;
  if (!LoadGraphText(dataText, RdfSyntax::kTurtle, "data.ttl", "", dataGraph, &loaded).ok() ||
      !LoadGraphText(shapesText, RdfSyntax::kTurtle, "shapes.ttl", "", shapesGraph, &loaded).ok()) {
    return "generated Turtle does not load";
  }
  std::unique_ptr<Shapes> read;
  if (!Shapes::Read(shapesGraph, &read).ok()) return "generated shapes are refused";
  const ValidationReport report = qaxoi::shacl::Validate(dataGraph, *read);

  // The data's units, as the budget counts them; the one charge that passes
  // the budget is at most one value's pattern steps or the data's units.
  uint64_t dataUnits = dataGraph.TripleCount() + dataGraph.TermCount();
  for (qaxoi::shacl::TermId term = 0; term < dataGraph.TermCount(); ++term) {
    const qaxoi::shacl::TermView view = dataGraph.Term(term);
    if (view.kind == qaxoi::shacl::TermKind::kLiteral) dataUnits += view.text.size();
  }
  const uint64_t budget = qaxoi::shacl::ValidationWorkBudget(dataGraph, *read);
  if (report.work > budget + dataUnits + 1) {
    return "validation spent " + std::to_string(report.work) + " units, more than its budget of " +
           std::to_string(budget);
  }
  if (report.stopped.empty() != (report.work <= budget)) {
    return "validation stopped without passing its budget, or passed it without stopping";
  }
  if (!report.stopped.empty() && report.conforms) return "a stopped validation conforms";
  // Conforming data costs linear work per shape: no closure, pair or
  // pattern multiplies it.
  const uint64_t linear = kFixedUnits + kLinearUnitsPerDataUnit * (1 + 2 * shapes) * dataUnits;
  if (report.conforms && !closureThenStep && report.work > linear) {
    return "conforming data cost " + std::to_string(report.work) + " units, more than " +
           std::to_string(linear);
  }
  return "";
}

}  // namespace qaxoi::fuzz
