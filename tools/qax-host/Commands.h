// The subcommands of qax-host.
#ifndef QAX_TOOLS_QAX_HOST_COMMANDS_H_
#define QAX_TOOLS_QAX_HOST_COMMANDS_H_

#include <string>
#include <vector>

#include "tools/qax-host/Session.h"

namespace qax_host {

class ChannelGraph;

// Exit codes: success, a failure of the work asked for (unknown class,
// corrupt file, ...), and a command line that cannot be understood.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A parsed command line.
struct Invocation {
  Session::Options session;
  std::vector<std::string> arguments;  // the command's own positional arguments
  std::string format;                  // --format, "" when not given
  std::string output;                  // --output, "" when not given
  std::string file;                    // --file, "" when not given
  bool json = false;                   // --json: one JSON document on standard output
};

// Prints "qax-host: <message>" to standard error and answers kExitFailure.
int Fail(const std::string& message);
// Prints a usage error and answers kExitUsage.
int UsageError(const std::string& message);

// Prints each of `graph`'s notes as "qax-host: <note>" to standard error.
void PrintNotes(const ChannelGraph& graph);

// Opens the session the invocation names; null after printing the reason.
std::unique_ptr<Session> OpenSession(const Invocation& invocation);

int RunType(const Invocation& invocation);
int RunClasses(const Invocation& invocation);
int RunDescribe(const Invocation& invocation);
int RunLinks(const Invocation& invocation);
int RunBuild(const Invocation& invocation);
int RunSave(const Invocation& invocation);
int RunLoad(const Invocation& invocation);
int RunDump(const Invocation& invocation);
int RunGraph(const Invocation& invocation);
int RunExport(const Invocation& invocation);
int RunTour(const Invocation& invocation);

}  // namespace qax_host

#endif  // QAX_TOOLS_QAX_HOST_COMMANDS_H_
