#include "host/files/TemporaryName.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace qaxoi::files {
namespace {

constexpr const char* kPrefix = ".qax-";
// Host names are at most 255 bytes (POSIX HOST_NAME_MAX on Linux: 64).
constexpr std::size_t kHostNameBytes = 256;
constexpr std::uint64_t kFnvOffset = 14695981039346656037ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;
constexpr int kHashDigits = 16;

std::uint64_t Hash(std::uint64_t hash, const std::string& text) {
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kFnvPrime;
  }
  return hash;
}

// ".qax-" and the hash of the host and the target, with the dash that ends
// it: what every temporary file of the target starts with.
std::string TargetPrefix(const std::string& targetName) {
  char host[kHostNameBytes] = {};
  if (::gethostname(host, sizeof(host) - 1) != 0) host[0] = '\0';
  std::uint64_t hash = Hash(kFnvOffset, host);
  hash = Hash(hash * kFnvPrime, targetName);  // the prime separates host and name
  std::string text = kPrefix;
  for (int shift = (kHashDigits - 1) * 4; shift >= 0; shift -= 4) {
    text += "0123456789abcdef"[(hash >> shift) & 0xF];
  }
  return text + "-";
}

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

}  // namespace

std::string TemporaryName(const std::string& targetName, pid_t pid, unsigned attempt) {
  return TargetPrefix(targetName) + std::to_string(pid) + "-" + std::to_string(attempt);
}

void RemoveStaleTemporaries(int folder, const std::string& targetName) {
  const std::string prefix = TargetPrefix(targetName);
  const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listed < 0) return;
  const std::unique_ptr<DIR, DirectoryCloser> directory(::fdopendir(listed));
  if (!directory) {
    ::close(listed);
    return;
  }
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(directory.get())) {
    if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0) continue;
    const char* digits = entry->d_name + prefix.size();
    char* end = nullptr;
    errno = 0;
    const long pid = std::strtol(digits, &end, 10);
    if (errno != 0 || end == digits || *end != '-' || pid <= 0 ||
        pid > std::numeric_limits<pid_t>::max() || pid == self) {
      continue;
    }
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(folder, entry->d_name, 0);
  }
}

}  // namespace qaxoi::files
