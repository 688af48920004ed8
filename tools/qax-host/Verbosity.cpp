#include "tools/qax-host/Verbosity.h"

#include <cstdio>

#include "tools/qax-host/ChannelText.h"

namespace qaxoi::qax_host {

namespace {

Verbosity verbosity = Verbosity::kNormal;

}  // namespace

void SetVerbosity(Verbosity chosen) { verbosity = chosen; }

Verbosity CurrentVerbosity() { return verbosity; }

void Warn(const std::string& message) {
  if (verbosity == Verbosity::kQuiet) return;
  std::fflush(stdout);
  std::fprintf(stderr, "qax-host: warning: %s\n", Escaped(message, Layout::kKeep).c_str());
}

void Note(const std::string& line) {
  if (verbosity == Verbosity::kQuiet) return;
  std::fflush(stdout);
  std::fprintf(stderr, "qax-host: %s\n", line.c_str());
}

void LoadWarnings(const std::string& file, const std::vector<std::string>& warnings) {
  if (verbosity == Verbosity::kVerbose || warnings.size() == 1) {
    for (const std::string& warning : warnings) Warn(warning);
    return;
  }
  if (warnings.empty()) return;
  Warn(Escaped(file) + ": " + std::to_string(warnings.size()) +
       " warnings while loading it (--verbose shows them, --quiet hides this line)");
}

}  // namespace qaxoi::qax_host
