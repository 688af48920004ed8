// How much qax-host says on standard error besides its errors: --quiet
// leaves errors alone, --verbose shows every warning of a file it loads.
#ifndef QAX_TOOLS_QAX_HOST_VERBOSITY_H_
#define QAX_TOOLS_QAX_HOST_VERBOSITY_H_

#include <string>
#include <vector>

namespace qaxoi::qax_host {

enum class Verbosity {
  kQuiet,    // --quiet, -q: errors only
  kNormal,   // errors, warnings, notes and confirmations; a file's load warnings in one line
  kVerbose,  // --verbose: as kNormal, with every load warning in full
};

// Set once, from the command line, before any command runs; kNormal until
// then.
void SetVerbosity(Verbosity verbosity);
Verbosity CurrentVerbosity();

// Prints "qax-host: warning: <message>" to standard error, its control
// characters escaped and its line ends kept; nothing when quiet.
void Warn(const std::string& message);

// Prints "qax-host: <line>" to standard error: a note about what a command
// did anyway, or a confirmation of what it wrote. `line` is shown as given,
// so the caller escapes what came from files or the command line. Nothing
// when quiet.
void Note(const std::string& line);

// The warnings of loading the vocabulary or RDF file `file` (as the
// command line names it), which each start with the file's name. When
// quiet, none; when verbose, or when there is one, each in full (Warn); else
// one line that counts them: "qax-host: warning: FILE: 3 warnings while
// loading it (--verbose shows them, --quiet hides this line)". A command
// runs on the same vocabulary again and again; the count keeps its warnings
// to a line without hiding that they are there.
void LoadWarnings(const std::string& file, const std::vector<std::string>& warnings);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_VERBOSITY_H_
