#include "host/sdk/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Attempts at a free temporary name before giving up.
constexpr int kTemporaryNameAttempts = 100;
// The largest piece handed to one write call.
constexpr std::size_t kChunkSize = 1 << 20;
// The most memory reserved ahead of reading on the word of the file's size.
constexpr std::size_t kLargestReservation = std::size_t{64} << 20;

std::string SystemReason(int code) { return std::strerror(code); }

// Closes a descriptor when it goes out of scope, unless released.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  // Closes now; answers the errno of a failed close, 0 on success.
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Writes all of `bytes`; answers 0 or the errno of the failed write.
int WriteAll(int fd, const std::vector<unsigned char>& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const std::size_t left = bytes.size() - written;
    const ssize_t done = ::write(fd, bytes.data() + written, left < kChunkSize ? left : kChunkSize);
    if (done < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    written += static_cast<std::size_t>(done);
  }
  return 0;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>* bytes, std::string* error) {
  const auto fail = [&](int code) {
    if (error != nullptr) *error = "cannot read '" + path + "': " + SystemReason(code);
    return false;
  };
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return fail(errno);
  struct stat info;
  if (::fstat(file.get(), &info) != 0) return fail(errno);
  if (!S_ISREG(info.st_mode)) {
    if (error != nullptr) *error = "cannot read '" + path + "': it is not a regular file";
    return false;
  }
  // Read until the end rather than trusting the size: the file may change
  // while it is read. The size only sizes the first allocation.
  std::vector<unsigned char> read;
  const std::size_t expected = static_cast<std::size_t>(info.st_size);
  read.reserve(expected < kLargestReservation ? expected : kLargestReservation);
  unsigned char chunk[64 * 1024];
  for (;;) {
    const ssize_t done = ::read(file.get(), chunk, sizeof(chunk));
    if (done < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (done == 0) break;
    read.insert(read.end(), chunk, chunk + done);
  }
  bytes->swap(read);
  return true;
}

bool ReplaceFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes,
                           std::string* error) {
  const auto fail = [&](const std::string& what, int code) {
    if (error != nullptr)
      *error = "cannot save '" + path + "': " + what + ": " + SystemReason(code);
    return false;
  };
  if (path.empty() || path.back() == '/') {
    if (error != nullptr) *error = "cannot save '" + path + "': the path names no file";
    return false;
  }

  // O_EXCL: never write into a file that someone else is writing.
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
    temporary = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return fail("cannot create a temporary file in '" + FolderOf(path) + "'", errno);
  FileDescriptor file(fd);
  const auto failAndRemove = [&](const std::string& what, int code) {
    ::unlink(temporary.c_str());
    return fail(what, code);
  };

  struct stat existing;
  if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    if (::fchmod(file.get(), existing.st_mode & 07777) != 0) {
      return failAndRemove("cannot give the new file the old one's permissions", errno);
    }
  }
  if (const int code = WriteAll(file.get(), bytes)) {
    return failAndRemove("cannot write '" + temporary + "'", code);
  }
  if (::fsync(file.get()) != 0) return failAndRemove("cannot flush '" + temporary + "'", errno);
  if (const int code = file.Close()) return failAndRemove("cannot close '" + temporary + "'", code);
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    return failAndRemove("cannot rename '" + temporary + "' over it", errno);
  }
  // Make the rename itself durable; a folder that cannot be flushed does not
  // undo the save.
  FileDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  return true;
}
