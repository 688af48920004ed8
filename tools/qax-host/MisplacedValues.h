// An ATTRIBUTE=VALUE given where a command takes the file it writes:
// "qax-host save schema:Restaurant name=X" forgets the file, and would
// otherwise write the group to a file called "name=X".
#ifndef QAX_TOOLS_QAX_HOST_MISPLACEDVALUES_H_
#define QAX_TOOLS_QAX_HOST_MISPLACEDVALUES_H_

#include <string>

namespace qaxoi::qax_host {

// Whether `argument` looks like ATTRIBUTE=VALUE: what stands before its
// first '=' could be an attribute's path, a letter, '_' or a byte of a
// UTF-8 character first, then letters, digits, '_', '-', '.', '[' and ']'
// ("name", "habitat[2].placeName"). A path with a folder ("./name=X",
// "out/a=b.grp") never does, so a file whose name holds '=' can always be
// written.
bool LooksLikeAssignment(const std::string& argument);

// For `command`, which writes `path` and takes values: kExitOk when `path`
// does not look like ATTRIBUTE=VALUE; otherwise kExitUsage after a usage
// message that names it, says what was probably meant (`meant`, the command
// with `path` as a value: "save zoo:Penguin FILE name=X") and how to name a
// file of that name. `option` is the option that gave `path` ("--output"),
// or empty for an argument.
int RefuseValueAsFile(const char* command, const std::string& option, const std::string& path,
                      const std::string& meant);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_MISPLACEDVALUES_H_
