#include "tools/qax-host/Validation.h"

#include <cstdio>
#include <ostream>

#include "host/files/InputFile.h"
#include "host/qax/rdf/Rdf.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/StandardOutputBuffer.h"
#include "tools/qax-host/TrimmedLines.h"
#include "tools/qax-host/Verbosity.h"
#include "tools/qax-host/WebDocuments.h"

namespace qaxoi::qax_host {

namespace shacl = qaxoi::shacl;

namespace {

// Writes `report` in `format` to `out`, the blanks and tabs that end the
// lines of text dropped: a message of a shapes graph may end in one, and
// qax-host's lines never do. `out` is left failed when a write failed, so
// that its owner knows the report is not whole.
void WriteReportTo(std::ostream& out, const shacl::ValidationReport& report,
                   const std::vector<std::pair<std::string, std::string>>& prefixes,
                   ReportFormat format) {
  switch (format) {
    case ReportFormat::kText: {
      TrimmedLines trimmed(*out.rdbuf());
      std::ostream lines(&trimmed);
      shacl::WriteReportText(lines, report, prefixes);
      if (lines.fail()) out.setstate(std::ios::badbit);
      return;
    }
    case ReportFormat::kTurtle:
      shacl::WriteReportTurtle(out, report, prefixes);
      return;
    case ReportFormat::kJson:
      shacl::WriteReportJson(out, report, prefixes);
      return;
  }
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

bool LoadRdfFile(const std::string& path, const qaxoi::store::StoreOptions& network,
                 shacl::Graph& graph) {
  const Activity loading("loading the RDF file '" + Escaped(InputName(path)) + "'");
  shacl::GraphLoad loaded;
  qaxoi::Status read;
  if (IsWebUrl(path)) {
    qaxoi::store::RemoteDocument document;
    read = FetchWebDocument(path, network, &document);
    if (read.ok()) {
      read = shacl::LoadGraphText(document.text, document.syntax, document.url, document.url, graph,
                                  &loaded);
    }
  } else {
    read = shacl::LoadGraphFile(path, qaxoi::rdf::RdfSyntax::kDetect, graph, &loaded);
  }
  LoadWarnings(InputName(path), loaded.warnings);
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
  const int verdict = report.conforms ? kExitOk : kExitFailure;
  // A report of a validation that stopped is partial: said on standard
  // error, whatever the format, and the data is not said to conform.
  if (!report.stopped.empty()) {
    std::fprintf(stderr, "qax-host: %s\n", Escaped(report.stopped, Layout::kKeep).c_str());
  }
  if (output.empty()) {
    // Streamed result by result; a write that fails stops the writer and
    // is reported by FinishOutput, as for every command.
    StandardOutputBuffer standardOutput;
    std::ostream out(&standardOutput);
    WriteReportTo(out, report, prefixes, format);
    return verdict;
  }
  // Streamed into the safe writer, which holds a small buffer of it at a
  // time and still replaces a file whole or leaves it as it was.
  bool toStandardOutput = false;
  if (!WriteOutput(
          output, [&](std::ostream& out) { WriteReportTo(out, report, prefixes, format); },
          &toStandardOutput)) {
    return kExitFailure;
  }
  if (!toStandardOutput) Note("wrote the report to " + Escaped(output));
  return verdict;
}

}  // namespace qaxoi::qax_host
