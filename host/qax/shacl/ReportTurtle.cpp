// The validation report as Turtle, laid out as the SHACL Recommendation
// shows one: a blank node of sh:ValidationReport holding a blank node per
// sh:ValidationResult.
#include <string>

#include "host/qax/shacl/ReportSyntax.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {

std::string ReportAsTurtle(const ValidationReport& report,
                           const std::vector<std::pair<std::string, std::string>>& prefixes) {
  using ReportSyntax::Form;
  const ReportSyntax::Prefixes declared = ReportSyntax::ReportPrefixes(prefixes);
  const auto iri = [&](const std::string& text) {
    return ReportSyntax::Iri(text, declared, Form::kTurtle);
  };
  const auto term = [&](const ReportTerm& value) {
    return ReportSyntax::Term(value, declared, Form::kTurtle);
  };
  std::string out;
  for (const auto& [name, ns] : declared) {
    out += "@prefix " + name + ": " + ReportSyntax::Iri(ns, {}, Form::kNTriples) + " .\n";
  }
  out += "\n";
  if (report.resultsLeftOut != 0) {
    // Turtle has no term for results a report leaves out; a comment keeps
    // the count for people and leaves the graph as SHACL defines it.
    out += "# " + std::to_string(report.resultsLeftOut) +
           " more results were found and left out; a report keeps at most " +
           std::to_string(kMaxReportResults) + "\n";
  }
  out += "[\n  a sh:ValidationReport ;\n  sh:conforms ";
  out += report.conforms ? "true" : "false";
  for (const ValidationResult& result : report.results) {
    out += " ;\n  sh:result [\n    a sh:ValidationResult ;\n    sh:focusNode " +
           term(result.focusNode);
    if (result.resultPath) {
      out += " ;\n    sh:resultPath " +
             ReportSyntax::Path(*result.resultPath, declared, Form::kTurtle);
    }
    if (result.hasValue) out += " ;\n    sh:value " + term(result.value);
    out +=
        " ;\n    sh:sourceShape " + ReportSyntax::Term(result.sourceShape, declared, Form::kTurtle,
                                                       ReportSyntax::Origin::kShapes);
    out += " ;\n    sh:sourceConstraintComponent " + iri(result.sourceConstraintComponent);
    out += " ;\n    sh:resultSeverity " + iri(result.resultSeverity);
    for (const ReportTerm& message : result.resultMessages) {
      out += " ;\n    sh:resultMessage " + term(message);
    }
    out += "\n  ]";
  }
  out += "\n] .\n";
  return out;
}

}  // namespace qaxoi::shacl
