// validate: RDF data files checked against a SHACL shapes file.
#include <memory>
#include <string>

#include "tools/qax-host/Activity.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Validation.h"

namespace qaxoi::qax_host {

namespace shacl = qaxoi::shacl;

namespace {

// The prefixes a report of validate shortens IRIs with: the vocabularies
// every shapes graph uses. validate loads no ontology, so the data's own
// namespaces are written in full.
const std::vector<std::pair<std::string, std::string>>& CommonPrefixes() {
  static const std::vector<std::pair<std::string, std::string>> prefixes = {
      {"rdfs", "http://www.w3.org/2000/01/rdf-schema#"},
      {"owl", "http://www.w3.org/2002/07/owl#"},
  };
  return prefixes;
}

}  // namespace

int RunValidate(const Invocation& invocation) {
  ReportFormat format = ReportFormat::kText;
  if (const int failed = ReadReportFormat("validate", invocation.format, &format)) return failed;
  if (invocation.shapes.empty()) return UsageError("validate needs --shapes FILE");
  if (invocation.arguments.empty()) return UsageError("validate needs a DATA file");
  // Input that cannot be read gives no report: exit code 2, so that a script
  // tells it from 1, data that does not conform.
  shacl::Graph shapesGraph;
  if (!LoadRdfFile(invocation.shapes, invocation.session.network, shapesGraph)) return kExitUsage;
  const std::unique_ptr<shacl::Shapes> shapes =
      ReadShapes(shapesGraph, InputName(invocation.shapes));
  if (!shapes) return kExitUsage;
  shacl::Graph data;
  for (const std::string& path : invocation.arguments) {
    if (!LoadRdfFile(path, invocation.session.network, data)) return kExitUsage;
  }
  const Activity validating("validating the data");
  const shacl::ValidationReport report = shacl::Validate(data, *shapes);
  return WriteReport(report, CommonPrefixes(), format, invocation.output);
}

}  // namespace qaxoi::qax_host
