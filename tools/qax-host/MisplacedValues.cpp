#include "tools/qax-host/MisplacedValues.h"

#include "tools/qax-host/Failure.h"

namespace qaxoi::qax_host {

namespace {

bool IsLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool IsPathByte(unsigned char c) {
  return IsLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '[' || c == ']';
}

}  // namespace

bool LooksLikeAssignment(const std::string& argument) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  if (!IsLetter(static_cast<unsigned char>(argument[0]))) return false;
  for (std::size_t i = 1; i < equals; ++i) {
    if (!IsPathByte(static_cast<unsigned char>(argument[i]))) return false;
  }
  return true;
}

int RefuseValueAsFile(const char* command, const std::string& option, const std::string& path,
                      const std::string& meant) {
  if (!LooksLikeAssignment(path)) return kExitOk;
  const std::string given = option.empty() ? "'" + path + "'" : option + " '" + path + "'";
  return UsageError(std::string(command) + ": " + given +
                    " looks like ATTRIBUTE=VALUE, not the FILE to write; did you mean '" + meant +
                    "'? (for a file of that name, give './" + path + "')");
}

}  // namespace qaxoi::qax_host
