#include "host/files/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include "host/files/Descriptor.h"
#include "host/files/InputFile.h"
#include "host/files/TemporaryName.h"

namespace qaxoi::files {
namespace {

using Producer = std::function<void(std::ostream&)>;

// Attempts at a free temporary name before giving up.
constexpr unsigned kTemporaryNameAttempts = 100;
// The largest piece handed to one write call.
constexpr std::size_t kChunkSize = std::size_t{1} << 20;
// The buffer between a producer and the descriptor it writes: what a
// streamed document holds at once.
constexpr std::size_t kBufferSize = std::size_t{64} << 10;
// Every permission bit that says someone may write.
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
// The mode bits a replaced file keeps (permissions, setuid, setgid, sticky).
constexpr mode_t kModeBits = 07777;
// The mode of a new file before the umask.
constexpr mode_t kNewFileMode = 0666;

// Why a write failed: a text for the user, from the system's errno or ours.
struct Failure {
  std::string reason;
};

bool Fail(Failure* failure, const std::string& reason) {
  failure->reason = reason;
  return false;
}
bool FailWithErrno(Failure* failure, const std::string& what, int code) {
  return Fail(failure, what.empty() ? std::strerror(code) : what + ": " + std::strerror(code));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}
std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Writes all of `size` bytes; answers 0 or the errno of the failed write.
int WriteAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::size_t written = 0;
  while (written < size) {
    const std::size_t left = size - written;
    const ssize_t done = ::write(fd, bytes + written, left < kChunkSize ? left : kChunkSize);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return errno;
    written += static_cast<std::size_t>(done);
  }
  return 0;
}

// A stream buffer over a descriptor with a fixed buffer of kBufferSize:
// what does not fit in it is written as it comes. Keeps the errno of the
// first write that fails and fails every write after it, so that the
// stream over it turns bad and its producer stops.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd), buffer_(new char[kBufferSize]) { Empty(); }

  // Writes what is buffered; answers 0 or the errno of the first failed
  // write.
  int Flush() {
    Drain();
    return error_;
  }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }

  std::streamsize xsputn(const char* bytes, std::streamsize count) override {
    if (error_ != 0 || (count > epptr() - pptr() && !Drain())) return 0;
    if (count <= epptr() - pptr()) {
      std::memcpy(pptr(), bytes, static_cast<std::size_t>(count));
      pbump(static_cast<int>(count));
      return count;
    }
    // More than the buffer holds: written from where it is.
    error_ = WriteAll(fd_, bytes, static_cast<std::size_t>(count));
    return error_ == 0 ? count : 0;
  }

  int sync() override { return Drain() ? 0 : -1; }

 private:
  void Empty() { setp(buffer_.get(), buffer_.get() + kBufferSize); }

  bool Drain() {
    if (error_ != 0) return false;
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    Empty();
    error_ = WriteAll(fd_, buffer_.get(), size);
    return error_ == 0;
  }

  int fd_;
  std::unique_ptr<char[]> buffer_;
  int error_ = 0;
};

// Runs `produce` over a stream to `fd` and writes all it wrote. A failed
// write is reported as `what` and its errno.
bool Produce(int fd, const Producer& produce, const std::string& what, Failure* failure) {
  DescriptorBuffer buffer(fd);
  std::ostream out(&buffer);
  produce(out);
  if (const int code = buffer.Flush()) return FailWithErrno(failure, what, code);
  if (out.fail()) return Fail(failure, "the writer of its contents failed");
  return true;
}

bool WriteStandardOutput(const Producer& produce, Failure* failure) {
  // What stdio holds comes first, and its own errors count too.
  if (std::fflush(stdout) != 0) return FailWithErrno(failure, "", errno);
  return Produce(STDOUT_FILENO, produce, "", failure);
}

bool WriteStream(const std::string& path, const Producer& produce, Failure* failure) {
  // No O_TRUNC, no O_CREAT: a stream is written, never made or emptied.
  Descriptor stream(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
  if (!stream.valid()) return FailWithErrno(failure, "", errno);
  if (!Produce(stream.get(), produce, "", failure)) return false;
  if (const int code = stream.Close()) return FailWithErrno(failure, "", code);
  return true;
}

// The file that `path` names once symlinks are followed: the path itself
// when it is no symlink or does not exist.
bool FinalTarget(const std::string& path, std::string* target, Failure* failure) {
  std::string current = path;
  for (int hop = 0; hop <= kMaxSymlinkHops; ++hop) {
    struct stat info;
    if (::lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT) return FailWithErrno(failure, "", errno);
      *target = current;
      return true;
    }
    if (!S_ISLNK(info.st_mode)) {
      *target = current;
      return true;
    }
    std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1,
                     '\0');
    const ssize_t length = ::readlink(current.c_str(), &link[0], link.size());
    if (length < 0) return FailWithErrno(failure, "", errno);
    if (static_cast<std::size_t>(length) >= link.size()) {
      return FailWithErrno(failure, "", ENAMETOOLONG);
    }
    link.resize(static_cast<std::size_t>(length));
    if (!link.empty() && link[0] == '/') {
      current.swap(link);
    } else {
      std::string joined = FolderOf(current);
      joined += '/';
      joined += link;
      current.swap(joined);
    }
  }
  return FailWithErrno(failure, "", ELOOP);
}

// Checks that the existing regular file `info` at `target` may be replaced.
bool MayReplace(const std::string& target, const struct stat& info, Failure* failure) {
  if (!S_ISREG(info.st_mode)) return Fail(failure, "it is not a regular file");
  if ((info.st_mode & kAnyWriteBit) == 0) {
    char mode[8];
    std::snprintf(mode, sizeof(mode), "%04o", static_cast<unsigned>(info.st_mode & kModeBits));
    return Fail(failure, std::string("it is read-only (mode ") + mode +
                             "); make it writable first (chmod u+w)");
  }
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    return FailWithErrno(failure, "", errno);
  }
  if (info.st_nlink > 1) {
    return Fail(failure, "it has " + std::to_string(info.st_nlink) +
                             " hard links, and replacing it would leave the others with the old "
                             "contents; save under another name or remove the other links");
  }
  return true;
}

// A temporary file being written in the target's folder: anonymous
// (O_TMPFILE) until it is given `name` just before the rename, or named from
// the start. Removes its name unless Committed(). Which one is settled before
// anything is written, as the producer runs only once.
class Temporary {
 public:
  explicit Temporary(int folder) : folder_(folder) {}
  ~Temporary() {
    if (!name_.empty() && !committed_) ::unlinkat(folder_, name_.c_str(), 0);
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  // Opens a new temporary file for `target`: anonymous when the file system
  // allows and /proc is there to name it later, named otherwise; false and
  // the errno when neither can be made.
  bool Create(const std::string& target, int* code) {
    file_ = std::make_unique<Descriptor>(
        ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode));
    if (file_->valid()) {
      struct stat named;
      if (::stat(SelfPath().c_str(), &named) == 0) return true;
      file_ = std::make_unique<Descriptor>(-1);
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      // File systems without O_TMPFILE answer one of those.
      *code = errno;
      return false;
    }
    for (unsigned attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      const std::string name = TemporaryName(target, ::getpid(), attempt);
      file_ = std::make_unique<Descriptor>(
          ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                   kNewFileMode));
      if (file_->valid()) {
        name_ = name;
        return true;
      }
      if (errno != EEXIST) break;
    }
    *code = errno;
    return false;
  }

  int fd() const { return file_->get(); }

  // Gives an anonymous file a name (through /proc); a named one keeps its
  // own.
  bool Name(const std::string& target, int* code) {
    if (!name_.empty()) return true;
    const std::string self = SelfPath();
    for (unsigned attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      const std::string name = TemporaryName(target, ::getpid(), attempt);
      if (::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        name_ = name;
        return true;
      }
      if (errno != EEXIST) break;
    }
    *code = errno;
    return false;
  }

  const std::string& name() const { return name_; }
  int Close() { return file_->Close(); }
  void Committed() { committed_ = true; }

 private:
  // The file open as its descriptor, as /proc shows it.
  std::string SelfPath() const { return "/proc/self/fd/" + std::to_string(file_->get()); }

  int folder_;
  std::unique_ptr<Descriptor> file_;
  std::string name_;
  bool committed_ = false;
};

// Writes what `produce` writes into a new temporary file in `folder` that
// takes the place of `name` there, given the owner and mode of `old` when
// that is not null.
bool WriteInPlaceOf(int folder, const std::string& folderPath, const std::string& name,
                    const struct stat* old, const Producer& produce, Failure* failure) {
  Temporary temporary(folder);
  int code = 0;
  const std::string inFolder = "cannot create a temporary file in '" + folderPath + "'";
  if (!temporary.Create(name, &code)) return FailWithErrno(failure, inFolder, code);
  if (old != nullptr) {
    // The owner first: changing it clears the setuid and setgid bits. Only
    // root may give a file away; anyone else keeps their own.
    if (::fchown(temporary.fd(), old->st_uid, old->st_gid) != 0 && errno != EPERM) {
      return FailWithErrno(failure, "cannot give the new file the old one's owner", errno);
    }
    if (::fchmod(temporary.fd(), old->st_mode & kModeBits) != 0) {
      return FailWithErrno(failure, "cannot give the new file the old one's mode", errno);
    }
  }
  if (!Produce(temporary.fd(), produce, "cannot write", failure)) return false;
  if (::fsync(temporary.fd()) != 0) return FailWithErrno(failure, "cannot flush", errno);
  if (!temporary.Name(name, &code)) return FailWithErrno(failure, inFolder, code);
  if ((code = temporary.Close()) != 0) return FailWithErrno(failure, "cannot close", code);
  if (::renameat(folder, temporary.name().c_str(), folder, name.c_str()) != 0) {
    return FailWithErrno(failure, "cannot put the new file in its place", errno);
  }
  temporary.Committed();
  return true;
}

// Replaces (or creates) the regular file `target` with what `produce`
// writes.
bool ReplaceFile(const std::string& target, const Producer& produce, Failure* failure) {
  struct stat old;
  const bool replacing = ::lstat(target.c_str(), &old) == 0;
  if (!replacing && errno != ENOENT) return FailWithErrno(failure, "", errno);
  if (replacing && !MayReplace(target, old, failure)) return false;

  const std::string folderPath = FolderOf(target);
  const std::string name = NameOf(target);
  Descriptor folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.valid()) return FailWithErrno(failure, "", errno);
  RemoveStaleTemporaries(folder.get(), name);
  if (!WriteInPlaceOf(folder.get(), folderPath, name, replacing ? &old : nullptr, produce,
                      failure)) {
    return false;
  }
  // Make the rename itself durable; a folder that cannot be flushed does not
  // undo the save.
  ::fsync(folder.get());
  return true;
}

bool Write(const std::string& path, const Producer& produce, Failure* failure, Delivery* delivery) {
  if (path == kStandardStreamPath) {
    *delivery = Delivery::kStandardOutput;
    return WriteStandardOutput(produce, failure);
  }
  if (path.empty() || path.back() == '/') return Fail(failure, "the path names no file");
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) {
    struct stat out;
    if (::fstat(STDOUT_FILENO, &out) == 0 && out.st_dev == info.st_dev &&
        out.st_ino == info.st_ino) {
      *delivery = Delivery::kStandardOutput;
      return WriteStandardOutput(produce, failure);
    }
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
      *delivery = Delivery::kStream;
      return WriteStream(path, produce, failure);
    }
    if (S_ISDIR(info.st_mode)) return Fail(failure, "it is a directory");
    if (S_ISBLK(info.st_mode)) return Fail(failure, "it is a block device");
    if (!S_ISREG(info.st_mode)) return Fail(failure, "it is not a regular file");
  } else if (errno != ENOENT) {
    return FailWithErrno(failure, "", errno);
  }
  std::string target;
  if (!FinalTarget(path, &target, failure)) return false;
  *delivery = Delivery::kFile;
  return ReplaceFile(target, produce, failure);
}

}  // namespace

Status WriteOutputFile(const std::string& path, const Producer& produce, Delivery* delivery) {
  Failure failure;
  Delivery delivered = Delivery::kFile;
  if (Write(path, produce, &failure, &delivered)) {
    if (delivery != nullptr) *delivery = delivered;
    return Status::Ok();
  }
  return Status::IoError((delivered == Delivery::kStandardOutput
                              ? std::string("cannot write standard output")
                              : "cannot save '" + path + "'") +
                         ": " + failure.reason);
}

Status WriteOutputFile(const std::string& path, const void* data, std::size_t size,
                       Delivery* delivery) {
  // Bytes more than the buffer holds go to the descriptor from where they
  // are, uncopied.
  return WriteOutputFile(
      path,
      [data, size](std::ostream& out) {
        out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
      },
      delivery);
}

}  // namespace qaxoi::files
