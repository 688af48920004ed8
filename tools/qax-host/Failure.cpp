#include "tools/qax-host/Failure.h"

#include <cstdio>

#include "tools/qax-host/ChannelText.h"

namespace qaxoi::qax_host {

int Fail(const std::string& message) {
  std::fprintf(stderr, "qax-host: %s\n", Escaped(message, Layout::kKeep).c_str());
  return kExitFailure;
}

int Fail(const qaxoi::Status& status) { return Fail(status.message()); }

int UsageError(const std::string& message) {
  std::fprintf(stderr, "qax-host: %s (see: qax-host --help)\n",
               Escaped(message, Layout::kKeep).c_str());
  return kExitUsage;
}

}  // namespace qaxoi::qax_host
