#include <string>

#include "fuzz/FuzzTargets.h"
#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/ValidationReport.h"
#include "host/qax/shacl/Validator.h"

namespace qaxoi::fuzz {
namespace {

using qaxoi::rdf::RdfSyntax;
using qaxoi::shacl::Graph;
using qaxoi::shacl::GraphLoad;
using qaxoi::shacl::LoadGraphText;
using qaxoi::shacl::ReportAsJson;
using qaxoi::shacl::ReportAsText;
using qaxoi::shacl::ReportAsTurtle;
using qaxoi::shacl::Shapes;
using qaxoi::shacl::Validate;
using qaxoi::shacl::ValidationReport;

// What every report must hold, and its Turtle must read back.
std::string CheckReport(const ValidationReport& report) {
  if (report.conforms !=
      (report.results.empty() && report.resultsLeftOut == 0 && report.stopped.empty())) {
    return "conforms does not match the results";
  }
  for (const auto& result : report.results) {
    if (result.SourceConstraintComponent().empty() || result.ResultSeverity().empty() ||
        result.ResultMessages().empty()) {
      return "a result without its component, severity or message";
    }
  }
  Graph written;
  GraphLoad loaded;
  const qaxoi::Status load =
      LoadGraphText(ReportAsTurtle(report), RdfSyntax::kTurtle, "report.ttl", "", written, &loaded);
  if (!load.ok()) return "the report's Turtle does not read back: " + load.message();
  for (const char c : ReportAsText(report)) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\n') return "a raw control byte in the text";
  }
  // JSON escapes every control character inside its strings.
  for (const char c : ReportAsJson(report)) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\n') return "a raw control byte in the JSON";
  }
  return "";
}

}  // namespace

std::string FuzzValidation(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Graph graph;
  GraphLoad loaded;
  if (!LoadGraphText(text, RdfSyntax::kTurtle, "fuzz.ttl", "http://example.org/base/", graph,
                     &loaded)
           .ok()) {
    return "";
  }
  std::unique_ptr<Shapes> shapes;
  const qaxoi::Status read = Shapes::Read(graph, &shapes);
  if (!read.ok()) {
    if (read.message().empty() || read.message().find('\n') != std::string::npos) {
      return "shapes refused without a one-line message";
    }
    return "";
  }
  return CheckReport(Validate(graph, *shapes));
}

}  // namespace qaxoi::fuzz
