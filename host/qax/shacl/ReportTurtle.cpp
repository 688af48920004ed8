// The validation report as Turtle, laid out as the SHACL Recommendation
// shows one: a blank node of sh:ValidationReport holding a blank node per
// sh:ValidationResult.
#include <sstream>
#include <string>

#include "host/qax/shacl/ReportOutput.h"
#include "host/qax/shacl/ReportSyntax.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {

void WriteReportTurtle(std::ostream& stream, const ValidationReport& report,
                       const ReportPrefixList& prefixes) {
  using ReportSyntax::Form;
  const ReportSyntax::Prefixes declared = ReportSyntax::ReportPrefixes(prefixes);
  ReportOutput out(stream);
  const auto term = [&](const ReportTerm& value, ReportSyntax::Origin origin) {
    ReportSyntax::PutTerm(out, value, declared, Form::kTurtle, origin);
  };
  for (const auto& [name, ns] : declared) {
    out.Put("@prefix " + name + ": ");
    ReportSyntax::PutIri(out, ns, {}, Form::kNTriples);
    out.Put(" .\n");
  }
  out.Put('\n');
  if (report.resultsLeftOut != 0) {
    // Turtle has no term for results a report leaves out; a comment keeps
    // the count for people and leaves the graph as SHACL defines it.
    out.Put("# " + std::to_string(report.resultsLeftOut) +
            " more results were found and left out; a report keeps at most " +
            std::to_string(kMaxReportResults) + "\n");
  }
  if (!report.stopped.empty()) {
    // Nor for a validation that stopped before the end: a comment again.
    out.Put("# ");
    ReportSyntax::PutValidUtf8(out, report.stopped);
    out.Put('\n');
  }
  out.Put("[\n  a sh:ValidationReport ;\n  sh:conforms ");
  out.Put(report.conforms ? "true" : "false");
  for (const ValidationResult& result : report.results) {
    if (!out.Good()) return;
    out.Put(" ;\n  sh:result [\n    a sh:ValidationResult ;\n    sh:focusNode ");
    term(result.FocusNode(), ReportSyntax::Origin::kData);
    if (const ReportPath* path = result.ResultPath()) {
      out.Put(" ;\n    sh:resultPath ");
      out.Put(ReportSyntax::Path(*path, declared, Form::kTurtle));
    }
    if (result.HasValue()) {
      out.Put(" ;\n    sh:value ");
      term(result.Value(), ReportSyntax::Origin::kData);
    }
    out.Put(" ;\n    sh:sourceShape ");
    term(result.SourceShape(), ReportSyntax::Origin::kShapes);
    out.Put(" ;\n    sh:sourceConstraintComponent ");
    ReportSyntax::PutIri(out, result.SourceConstraintComponent(), declared, Form::kTurtle);
    out.Put(" ;\n    sh:resultSeverity ");
    ReportSyntax::PutIri(out, result.ResultSeverity(), declared, Form::kTurtle);
    for (const ReportTerm& message : result.ResultMessages()) {
      out.Put(" ;\n    sh:resultMessage ");
      term(message, ReportSyntax::Origin::kData);
    }
    out.Put("\n  ]");
  }
  out.Put("\n] .\n");
}

std::string ReportAsTurtle(const ValidationReport& report, const ReportPrefixList& prefixes) {
  std::ostringstream out;
  WriteReportTurtle(out, report, prefixes);
  return out.str();
}

}  // namespace qaxoi::shacl
