// The names of the temporary files that replace an output file, and the
// clean-up of those that a process killed in the middle of a save left.
#ifndef QAX_HOST_FILES_TEMPORARYNAME_H_
#define QAX_HOST_FILES_TEMPORARYNAME_H_

#include <sys/types.h>

#include <string>

namespace qaxoi::files {

// The name of attempt `attempt` of process `pid` at a temporary file that
// will replace the file named `targetName` (a name, not a path) in the same
// folder: ".qax-" + 16 hex digits of a hash of this machine's host name and
// `targetName` + "-" + pid + "-" + attempt. It never holds the target's name,
// so it fits the 255 bytes of a file name whatever the target's length; the
// host name keeps the processes of other machines sharing the folder apart.
std::string TemporaryName(const std::string& targetName, pid_t pid, unsigned attempt);

// Removes, from the folder open as `folder`, the temporary files for
// `targetName` whose process is gone on this machine (kill(pid, 0) says no
// such process). Files of live processes, of this process and of other
// targets are left alone. One pass over the folder's entries; failures are
// ignored, as the clean-up only tidies.
void RemoveStaleTemporaries(int folder, const std::string& targetName);

}  // namespace qaxoi::files

#endif  // QAX_HOST_FILES_TEMPORARYNAME_H_
