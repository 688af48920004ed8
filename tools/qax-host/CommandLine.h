// Reading qax-host's command line as shell users expect: options before or
// after the command, "--option value" and "--option=value" alike, "--" ending
// the options, "-" an argument like any other (standard input or output).
#ifndef QAX_TOOLS_QAX_HOST_COMMANDLINE_H_
#define QAX_TOOLS_QAX_HOST_COMMANDLINE_H_

#include <string>
#include <vector>

#include "tools/qax-host/Commands.h"

namespace qaxoi::qax_host {

// The options that take a value, as bits of CommandLine::given.
enum ValueOption : unsigned {
  kModuleOption = 1u << 0,
  kOntologyOption = 1u << 1,
  kSyntaxOption = 1u << 2,
  kFormatOption = 1u << 3,
  kOutputOption = 1u << 4,
  kFileOption = 1u << 5,
  kShapesOption = 1u << 6,
  kLangOption = 1u << 7,
  kStoreOption = 1u << 8,
  kGraphOption = 1u << 9,
  kSparqlOption = 1u << 10,
  kIfVersionOption = 1u << 11,
  kConnectTimeoutOption = 1u << 12,
  kTimeoutOption = 1u << 13,
  kNetrcOption = 1u << 14,
  kSubjectOption = 1u << 15,
};

// What the command line says, before anything is checked against the
// command it names.
struct CommandLine {
  std::string command;         // the first argument that is not an option; "" for none
  Invocation invocation;       // the options' values and the command's arguments
  std::string syntax;          // --syntax's value, not yet checked
  std::string languages;       // --lang's value, not yet checked
  std::string ifVersion;       // --if-version's value, not yet checked
  std::string connectTimeout;  // --connect-timeout's value, not yet checked
  std::string timeout;         // --timeout's value, not yet checked
  unsigned given = 0;          // the ValueOption bits of the options given
  bool help = false;           // --help or -h
  bool version = false;        // --version or -V
  bool quiet = false;          // --quiet or -q
  bool verbose = false;        // --verbose
  // Every argument but --version (-V), as given: --version takes no other.
  std::vector<std::string> others;
};

// The name qax-host's messages use for a ValueOption bit ("--format").
const char* OptionName(ValueOption option);

// Reads argv[1..argc) into `line`. Answers kExitOk, or kExitUsage after
// printing a message that names the argument it could not understand: an
// unknown option, a value option without a value or with an empty one, an
// option given twice, a value given to a flag (--json, --help, --version,
// --quiet, --verbose). Nothing after "--" is an option.
int ParseCommandLine(int argc, char** argv, CommandLine* line);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_COMMANDLINE_H_
