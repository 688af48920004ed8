// What validating a data graph against a shapes graph finds: the SHACL
// validation report, held as plain values that outlive both graphs.
#ifndef QAX_HOST_QAX_SHACL_VALIDATIONREPORT_H_
#define QAX_HOST_QAX_SHACL_VALIDATIONREPORT_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/shacl/Graph.h"

namespace qaxoi::shacl {

// An RDF term copied out of a graph.
struct ReportTerm {
  TermKind kind = TermKind::kIri;
  std::string text;      // IRI, blank node label or lexical form
  std::string datatype;  // literals only: xsd:string, rdf:langString, ...
  std::string language;  // literals only, may be empty

  bool operator==(const ReportTerm& other) const {
    return kind == other.kind && text == other.text && datatype == other.datatype &&
           language == other.language;
  }
};

// A SHACL property path as the shapes graph states it, so that a report
// can give it back as RDF.
struct ReportPath {
  enum class Kind : uint8_t {
    kPredicate,    // `iri`
    kSequence,     // `steps`, two or more, in order
    kAlternative,  // sh:alternativePath over `steps`, two or more
    kInverse,      // sh:inversePath of steps[0]
    kZeroOrMore,   // sh:zeroOrMorePath of steps[0]
    kOneOrMore,    // sh:oneOrMorePath of steps[0]
    kZeroOrOne,    // sh:zeroOrOnePath of steps[0]
  };
  Kind kind = Kind::kPredicate;
  std::string iri;
  std::vector<ReportPath> steps;
};

// One sh:result. The IRIs are full IRIs (for example
// "http://www.w3.org/ns/shacl#MinCountConstraintComponent").
struct ValidationResult {
  ReportTerm focusNode;
  // The property shape's path; null for a node shape's result.
  std::shared_ptr<const ReportPath> resultPath;
  // The value node that failed; absent (hasValue false) where the component
  // names none, as sh:minCount does.
  bool hasValue = false;
  ReportTerm value;
  ReportTerm sourceShape;
  std::string sourceConstraintComponent;
  // sh:Violation unless the shape's sh:severity says otherwise.
  std::string resultSeverity;
  // The shape's sh:message literals, else one message this validator
  // writes; never empty.
  std::vector<ReportTerm> resultMessages;
};

// The sh:ValidationReport.
struct ValidationReport {
  // True when there are no results (of any severity).
  bool conforms = true;
  std::vector<ValidationResult> results;
  // Results found beyond kMaxReportResults and not kept. `conforms` counts
  // them.
  std::size_t resultsLeftOut = 0;
  // Why validation stopped before checking every focus node, in one
  // sentence; empty when it checked them all. A report that stopped does
  // not conform, and holds the results found before.
  std::string stopped;
  // The units of work validation spent (docs/limits.md, "Validation"): at
  // most ValidationWorkBudget, plus the last charge that passed it.
  uint64_t work = 0;
};

// At most this many results are kept in a report; a data graph that breaks
// more shapes than this is reported with the first ones and a count.
inline constexpr std::size_t kMaxReportResults = 1000000;

// The report as Turtle: prefixes sh:, xsd:, rdf: and those of `prefixes`
// (name, namespace pairs), one sh:ValidationResult per result in order,
// the paths as the shapes graph states them.
QAX_API std::string ReportAsTurtle(
    const ValidationReport& report,
    const std::vector<std::pair<std::string, std::string>>& prefixes = {});

// The report as one JSON object: {"conforms": bool, "results": [{"focusNode":
// ..., "resultPath": ..., "value": ..., "sourceShape": ...,
// "sourceConstraintComponent": ..., "resultSeverity": ..., "resultMessage":
// [...]}], "resultsLeftOut": n}; terms as strings in N-Triples form, paths as
// SHACL path text in Turtle form.
QAX_API std::string ReportAsJson(
    const ValidationReport& report,
    const std::vector<std::pair<std::string, std::string>>& prefixes = {});

// The report for people: one line per result, "<severity>: <focus> <path>
// <value>: <message>", IRIs shortened with `prefixes` where one matches,
// then a last line saying whether the data conforms and how many results
// there are.
QAX_API std::string ReportAsText(
    const ValidationReport& report,
    const std::vector<std::pair<std::string, std::string>>& prefixes = {});

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_VALIDATIONREPORT_H_
