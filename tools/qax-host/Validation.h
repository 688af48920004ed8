// What validate and check share: the report's format, loading RDF files
// into graphs, reading shapes, and writing the report with the exit code
// that says whether the data conforms.
#ifndef QAX_TOOLS_QAX_HOST_VALIDATION_H_
#define QAX_TOOLS_QAX_HOST_VALIDATION_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/ValidationReport.h"
#include "host/qax/shacl/Validator.h"
#include "host/qax/store/StoreOptions.h"
#include "tools/qax-host/Commands.h"

namespace qaxoi::qax_host {

// How a report is written: lines of text (the default), Turtle or JSON.
enum class ReportFormat { kText, kTurtle, kJson };

// Reads --format for `command` into `format`: kExitOk, or kExitUsage after
// naming the value that is no report format.
int ReadReportFormat(const char* command, const std::string& value, ReportFormat* format);

// Loads the RDF file `path` ("-": standard input; syntax from the name,
// else the first bytes), or the document at `path` when it is an http(s)
// URL (fetched with `network`; syntax from the media type, else the name
// and first bytes), into `graph`, printing the reader's warnings. False
// after printing why it cannot be read.
bool LoadRdfFile(const std::string& path, const qaxoi::store::StoreOptions& network,
                 qaxoi::shacl::Graph& graph);

// The shapes of the sealed `shapesGraph`, which `name` names in the message;
// null after printing why the graph is not valid SHACL.
std::unique_ptr<qaxoi::shacl::Shapes> ReadShapes(const qaxoi::shacl::Graph& shapesGraph,
                                                 const std::string& name);

// Writes `report` in `format` (IRIs shortened with `prefixes` in text and
// Turtle) to standard output, result by result, or to `output` when given
// (streamed, result by result, through the safe writer, which replaces a
// file whole or leaves it as it was; confirmed on standard error). Answers kExitOk when the data
// conforms, kExitFailure when it does not or when the file could not be written (after a message);
// a write to standard output that fails stops the report, and FinishOutput says so.
int WriteReport(const qaxoi::shacl::ValidationReport& report,
                const std::vector<std::pair<std::string, std::string>>& prefixes,
                ReportFormat format, const std::string& output);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_VALIDATION_H_
