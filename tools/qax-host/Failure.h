// How qax-host fails: its exit codes and the one line it prints on standard
// error when it gives up.
#ifndef QAX_TOOLS_QAX_HOST_FAILURE_H_
#define QAX_TOOLS_QAX_HOST_FAILURE_H_

#include <string>

#include "host/status/Status.h"

namespace qaxoi::qax_host {

// Exit codes: success, a failure of the work asked for (unknown class,
// corrupt file, ...), and a command line that cannot be understood.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Prints "qax-host: <message>" to standard error and answers kExitFailure.
int Fail(const std::string& message);
// Prints the failure `status` (which must not be ok) as Fail does and
// answers kExitFailure.
int Fail(const qaxoi::Status& status);
// Prints a usage error and answers kExitUsage.
int UsageError(const std::string& message);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_FAILURE_H_
