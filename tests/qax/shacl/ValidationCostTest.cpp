// What validating and deriving shapes cost, counted in the units of work
// that docs/limits.md ("Validation") bounds: each row generates hostile or
// large input at two sizes and checks the answer, and that the counted work
// stays within the documented function of the input's size.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/DerivedShapes.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/ShapePattern.h"
#include "host/qax/shacl/Validator.h"
#include "tests/support/ServiceNames.h"

namespace qaxoi::test {
namespace {

using qaxoi::shacl::Graph;
using qaxoi::shacl::Shapes;
using qaxoi::shacl::ValidationReport;

constexpr char kPrefixes[] =
    "@prefix ex: <http://e.org/> .\n"
    "@prefix sh: <http://www.w3.org/ns/shacl#> .\n"
    "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n";

// Units of work a row may spend beyond its bound's leading terms: the
// focus nodes' and shapes' fixed charges.
constexpr uint64_t kSlack = 64;

// What one row measured at one size.
struct Measured {
  std::size_t answer = 0;  // results, or node shapes written
  std::string text;        // the first result's message, or why validation stopped
  uint64_t work = 0;       // units of work (or classes walked) counted
  uint64_t bound = 0;      // what the documentation allows for this input
};

Measured Validated(const std::string& data, const std::string& shapes,
                   const std::function<uint64_t(const Graph&, const Shapes&)>& bound) {
  Graph dataGraph;
  Graph shapesGraph;
  qaxoi::shacl::GraphLoad loaded;
  const qaxoi::Status dataLoaded =
      LoadGraphText(kPrefixes + data, RdfSyntax::kTurtle, "d.ttl", "", dataGraph, &loaded);
  EXPECT_TRUE(dataLoaded.ok()) << dataLoaded.message();
  EXPECT_TRUE(
      LoadGraphText(kPrefixes + shapes, RdfSyntax::kTurtle, "s.ttl", "", shapesGraph, &loaded)
          .ok());
  std::unique_ptr<Shapes> read;
  EXPECT_TRUE(Shapes::Read(shapesGraph, &read).ok());
  if (!read) return {};
  const ValidationReport report = qaxoi::shacl::Validate(dataGraph, *read);
  Measured measured;
  measured.answer = report.results.size() + report.resultsLeftOut;
  if (!report.stopped.empty()) {
    measured.text = report.stopped;
  } else if (!report.results.empty()) {
    measured.text = report.results[0].ResultMessages()[0].text;
  }
  measured.work = report.work;
  measured.bound = bound(dataGraph, *read);
  return measured;
}

// Data of `n` nodes ex:n0 ... on a cycle of ex:p, every one a focus node of
// a property shape over ex:p* with `constraint`.
Measured Cycle(std::size_t n, const std::string& constraint, uint64_t perNode, uint64_t perValue) {
  std::string data;
  for (std::size_t i = 0; i < n; ++i)
    data += "ex:n" + std::to_string(i) + " ex:p ex:n" + std::to_string((i + 1) % n) + " .\n";
  return Validated(
      data,
      "ex:S sh:targetSubjectsOf ex:p ; sh:property [ sh:path [ sh:zeroOrMorePath ex:p ] ; " +
          constraint + " ] .",
      [&](const Graph&, const Shapes&) { return perNode * n + perValue * n * n + kSlack; });
}

// One value ex:a ex:p "<text>" against one sh:pattern.
Measured OnePattern(const std::string& text, const std::string& pattern) {
  return Validated("ex:a ex:p \"" + text + "\" .",
                   "ex:S sh:targetNode ex:a ; sh:property [ sh:path ex:p ; " + pattern + " ] .",
                   [&](const Graph&, const Shapes&) {
                     return qaxoi::shacl::PatternStepBudget(text.size()) + text.size() + kSlack;
                   });
}

// ex:a with values 0..n-1 of ex:p and n..2n-1 of ex:q, then `extra` ones
// of ex:q, against sh:lessThan ex:q. Numbers are written in full, as
// N-Triples would, so that the load's memory budget takes thousands.
Measured LessThan(std::size_t n, const std::string& extra) {
  const auto number = [](std::size_t i) {
    return "\"" + std::to_string(i) + "\"^^<http://www.w3.org/2001/XMLSchema#integer>";
  };
  std::string data = "ex:a ex:p " + number(0);
  for (std::size_t i = 1; i < n; ++i) data += ", " + number(i);
  data += " ; ex:q " + number(n);
  for (std::size_t i = n + 1; i < 2 * n; ++i) data += ", " + number(i);
  data += extra + " .";
  return Validated(data,
                   "ex:S sh:targetNode ex:a ; sh:property [ sh:path ex:p ; sh:lessThan ex:q ] .",
                   [&](const Graph&, const Shapes&) { return 8 * n + kSlack; });
}

// `shapes` shapes each with a pattern that backtracks exponentially on each
// of `n` short values: far more than the run's budget, which stops it.
Measured ManyPatterns(std::size_t n, std::size_t shapes) {
  std::string data;
  for (std::size_t i = 0; i < n; ++i)
    data += "ex:n" + std::to_string(i) + " ex:p \"" + std::string(30, 'a') + "c" +
            std::to_string(i) + "\" .\n";
  std::string shapeText;
  for (std::size_t s = 0; s < shapes; ++s)
    shapeText += "ex:S" + std::to_string(s) +
                 " sh:targetSubjectsOf ex:p ; sh:property [ sh:path ex:p ; sh:pattern "
                 "\"^(a|a)*[0-9]\" ] .\n";
  return Validated(data, shapeText, [](const Graph& data, const Shapes& read) {
    return qaxoi::shacl::ValidationWorkBudget(data, read) + qaxoi::shacl::PatternStepBudget(kSlack);
  });
}

// A chain of `n` classes, the root with one attribute; every class's shape.
Measured ClassChain(std::size_t n) {
  std::string vocabulary =
      "ex:p a owl:DatatypeProperty ; rdfs:domain ex:C0 ; rdfs:range "
      "xsd:string .\nex:C0 a owl:Class .\n";
  for (std::size_t i = 1; i < n; ++i)
    vocabulary += "ex:C" + std::to_string(i) + " a owl:Class ; rdfs:subClassOf ex:C" +
                  std::to_string(i - 1) + " .\n";
  LoadedModel loaded;
  EXPECT_TRUE(LoadModelText(kPrefixes + vocabulary, RdfSyntax::kTurtle, "v.ttl", "", &loaded).ok());
  Measured measured;
  if (!loaded.model) return measured;
  std::size_t walked = 0;
  const std::string document = qaxoi::shacl::DerivedShapesTurtle(*loaded.model, {}, &walked);
  const std::string property = "sh:path ";
  for (std::size_t at = document.find(property); at != std::string::npos;
       at = document.find(property, at + 1))
    ++measured.answer;
  measured.work = walked;
  measured.bound = 2 * n + kSlack;
  return measured;
}

struct CostCase {
  const char* what;
  std::size_t small;
  std::size_t large;
  std::function<Measured(std::size_t)> measure;
  // The results (or shapes written) at a size; for a row that stops, what
  // a run to the end would find, so more than it reports.
  std::function<std::size_t(std::size_t)> answer;
  const char* text;  // held by Measured::text; empty for none
  bool stops = false;
};

TEST(ValidationCost, CountedWorkStaysWithinTheDocumentedFunction) {
  const std::string limit = "could not be matched within the matching limits";
  const CostCase costs[] = {
      {"a pattern backtracking at every start position costs one value's budget", 4000, 16000,
       [](std::size_t n) { return OnePattern(std::string(n, 'a'), "sh:pattern \"[a-z]*[0-9]\""); },
       [](std::size_t) { return 1; }, limit.c_str()},
      {"a caseless back reference repeated to the end costs one value's budget", 2000, 8000,
       [](std::size_t n) {
         return OnePattern(std::string(n, 'a') + "b",
                           "sh:pattern \"^(a*)\\\\1*$\" ; sh:flags \"i\"");
       },
       [](std::size_t) { return 1; }, limit.c_str()},
      {"a long value that matches costs steps linear in its size", 50000, 200000,
       [](std::size_t n) {
         return OnePattern(std::string(n, 'a') + "1", "sh:pattern \"^[a-z]+[0-9]$\"");
       },
       [](std::size_t) { return 0; }, ""},
      {"many shapes times many values cannot multiply the per-value budget", 50, 200,
       [](std::size_t n) { return ManyPatterns(n, 8); }, [](std::size_t n) { return 8 * n; },
       "validation stopped after", true},
      {"a conforming cycle that every node targets costs its size", 500, 2000,
       [](std::size_t n) { return Cycle(n, "sh:nodeKind sh:IRI ; sh:minCount 1", 16, 0); },
       [](std::size_t) { return 0; }, ""},
      {"a property shape nested under a conforming cycle is checked once per node", 500, 2000,
       [](std::size_t n) {
         return Cycle(n, "sh:property [ sh:path ex:p ; sh:minCount 1 ; sh:nodeKind sh:IRI ]", 24,
                      0);
       },
       [](std::size_t) { return 0; }, ""},
      {"a failing cycle costs its results, focus nodes times values", 40, 80,
       [](std::size_t n) { return Cycle(n, "sh:nodeKind sh:Literal", 16, 8); },
       [](std::size_t n) { return n * n; }, "not of node kind"},
      {"sh:lessThan on conforming values compares each value once", 500, 2000,
       [](std::size_t n) { return LessThan(n, ""); }, [](std::size_t) { return 0; }, ""},
      {"sh:lessThan fails each value against an incomparable other, once each", 500, 2000,
       [](std::size_t n) { return LessThan(n, ", \"x\""); }, [](std::size_t n) { return n; },
       "not less than \"x\""},
      {"every class's shape walks each class of a chain once", 500, 2000,
       [](std::size_t n) { return ClassChain(n); }, [](std::size_t n) { return n; }, ""},
  };
  for (const CostCase& row : costs) {
    SCOPED_TRACE(row.what);
    for (const std::size_t n : {row.small, row.large}) {
      SCOPED_TRACE("size " + std::to_string(n));
      const Measured measured = row.measure(n);
      if (row.stops) {
        EXPECT_LT(measured.answer, row.answer(n));
      } else {
        EXPECT_EQ(measured.answer, row.answer(n));
      }
      EXPECT_NE(measured.text.find(row.text), std::string::npos) << measured.text;
      EXPECT_GT(measured.work, 0U);
      EXPECT_LE(measured.work, measured.bound);
    }
  }
}

}  // namespace
}  // namespace qaxoi::test
