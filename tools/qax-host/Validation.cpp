#include "tools/qax-host/Validation.h"

#include <cstdio>

#include "host/files/InputFile.h"
#include "host/qax/rdf/Rdf.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/Output.h"

namespace qaxoi::qax_host {

namespace shacl = qaxoi::shacl;

namespace {

// `text` with the blanks and tabs that end its lines dropped: a message of a
// shapes graph may end in one, and qax-host's lines never do.
std::string WithoutTrailingBlanks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool lineEnd = end != std::string::npos;
    if (!lineEnd) end = text.size();
    std::size_t last = end;
    while (last > start && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
    out.append(text, start, last - start);
    if (lineEnd) out += '\n';
    start = end + 1;
  }
  return out;
}

}  // namespace

int ReadReportFormat(const char* command, const std::string& value, ReportFormat* format) {
  if (value.empty() || value == "text") {
    *format = ReportFormat::kText;
  } else if (value == "turtle") {
    *format = ReportFormat::kTurtle;
  } else if (value == "json") {
    *format = ReportFormat::kJson;
  } else {
    return UsageError("--format: '" + value + "' is not a format of " + command +
                      "; use text, turtle or json");
  }
  return kExitOk;
}

bool LoadRdfFile(const std::string& path, shacl::Graph& graph) {
  const Activity loading("loading the RDF file '" + Escaped(InputName(path)) + "'");
  shacl::GraphLoad loaded;
  const qaxoi::Status read =
      shacl::LoadGraphFile(path, qaxoi::rdf::RdfSyntax::kDetect, graph, &loaded);
  for (const std::string& warning : loaded.warnings) {
    std::fprintf(stderr, "qax-host: warning: %s\n", Escaped(warning, Layout::kKeep).c_str());
  }
  if (!read.ok()) {
    Fail(Escaped(read.message(), Layout::kKeep));
    return false;
  }
  return true;
}

std::unique_ptr<shacl::Shapes> ReadShapes(const shacl::Graph& shapesGraph,
                                          const std::string& name) {
  const Activity reading("reading the shapes of " + Escaped(name));
  std::unique_ptr<shacl::Shapes> shapes;
  const qaxoi::Status read = shacl::Shapes::Read(shapesGraph, &shapes);
  if (!read.ok()) {
    Fail("the shapes of " + Escaped(name) +
         " are not valid SHACL: " + Escaped(read.message(), Layout::kKeep));
  }
  return shapes;
}

int WriteReport(const shacl::ValidationReport& report,
                const std::vector<std::pair<std::string, std::string>>& prefixes,
                ReportFormat format, const std::string& output) {
  const Activity writing("writing the validation report");
  std::string text;
  switch (format) {
    case ReportFormat::kText:
      text = WithoutTrailingBlanks(shacl::ReportAsText(report, prefixes));
      break;
    case ReportFormat::kTurtle:
      text = shacl::ReportAsTurtle(report, prefixes);
      break;
    case ReportFormat::kJson:
      text = shacl::ReportAsJson(report, prefixes);
      break;
  }
  const int verdict = report.conforms ? kExitOk : kExitFailure;
  // A report of a validation that stopped is partial: said on standard
  // error, whatever the format, and the data is not said to conform.
  if (!report.stopped.empty()) {
    std::fprintf(stderr, "qax-host: %s\n", Escaped(report.stopped, Layout::kKeep).c_str());
  }
  if (output.empty()) {
    std::fputs(text.c_str(), stdout);
    return verdict;
  }
  bool toStandardOutput = false;
  if (!WriteOutput(output, text, &toStandardOutput)) return kExitFailure;
  if (!toStandardOutput) {
    std::fprintf(stderr, "qax-host: wrote the report to %s\n", Escaped(output).c_str());
  }
  return verdict;
}

}  // namespace qaxoi::qax_host
