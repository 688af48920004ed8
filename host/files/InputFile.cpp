#include "host/files/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "host/files/ByteCountText.h"
#include "host/files/Descriptor.h"

namespace qaxoi::files {
namespace {

// The first block of a stream, and the largest block: a stream of unknown
// length costs at most one block more than what it gave.
constexpr std::uint64_t kFirstStreamBlock = std::uint64_t{64} << 10;
constexpr std::uint64_t kLargestStreamBlock = std::uint64_t{64} << 20;

// Why an input of this kind is not read, or null for the kinds that are.
const char* Refusal(mode_t mode) {
  if (S_ISREG(mode) || S_ISFIFO(mode)) return nullptr;
  if (S_ISDIR(mode)) return "it is a directory";
  if (S_ISCHR(mode)) return "it is a character device; only files, pipes and FIFOs are read";
  if (S_ISBLK(mode)) return "it is a block device; only files, pipes and FIFOs are read";
  if (S_ISSOCK(mode)) return "it is a socket; only files, pipes and FIFOs are read";
  return "it is not a file, pipe or FIFO";
}

// What a failed read tells the caller.
struct Failure {
  std::string reason;
  // Refused for its size rather than by the system.
  bool tooLarge = false;
};

// Reads `fd` to its end in blocks of growing size, the first of
// `firstBlock` bytes. At most `maxBytes` + 1 bytes are ever read: one byte
// more is the proof that the input is too large.
template <typename Bytes>
bool ReadToEnd(int fd, std::uint64_t firstBlock, std::uint64_t maxBytes, Bytes* out,
               Failure* failure) {
  std::vector<Bytes> blocks;
  std::uint64_t total = 0;
  std::uint64_t blockSize = std::max<std::uint64_t>(firstBlock, 1);
  for (bool ended = false; !ended;) {
    const std::uint64_t room = maxBytes + 1 - total;
    blocks.emplace_back();
    Bytes& block = blocks.back();
    block.resize(static_cast<std::size_t>(std::min(blockSize, room)));
    std::size_t used = 0;
    while (used < block.size()) {
      const ssize_t got = ::read(fd, &block[used], block.size() - used);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        failure->reason = std::strerror(errno);
        return false;
      }
      if (got == 0) {
        ended = true;
        break;
      }
      used += static_cast<std::size_t>(got);
    }
    block.resize(used);
    total += used;
    if (total > maxBytes) {
      failure->tooLarge = true;
      failure->reason =
          "it holds more than " + ByteCountText(maxBytes) + ", the most an input may hold";
      return false;
    }
    blockSize = std::min(blockSize * 2, kLargestStreamBlock);
  }
  if (blocks.size() == 1) {
    out->swap(blocks.front());
    return true;
  }
  Bytes whole;
  whole.reserve(static_cast<std::size_t>(total));
  for (Bytes& block : blocks) {
    whole.insert(whole.end(), block.begin(), block.end());
    Bytes().swap(block);  // give each block back as soon as it is copied
  }
  out->swap(whole);
  return true;
}

// Reads the open input `fd`, whose kind `info` gives.
template <typename Bytes>
bool ReadOpen(int fd, const struct stat& info, std::uint64_t maxBytes, Bytes* out,
              Failure* failure) {
  if (const char* refusal = Refusal(info.st_mode)) {
    failure->reason = refusal;
    return false;
  }
  std::uint64_t firstBlock = kFirstStreamBlock;
  if (S_ISREG(info.st_mode)) {
    // Standard input may be a file read in part already.
    const off_t at = std::max<off_t>(::lseek(fd, 0, SEEK_CUR), 0);
    const auto size = static_cast<std::uint64_t>(info.st_size > at ? info.st_size - at : 0);
    if (size > maxBytes) {
      failure->tooLarge = true;
      failure->reason = "it holds " + ByteCountText(size) + ", more than the " +
                        ByteCountText(maxBytes) + " an input may hold";
      return false;
    }
    // One byte more than the size sees a file that grew while it was read.
    firstBlock = size + 1;
  }
  return ReadToEnd(fd, firstBlock, maxBytes, out, failure);
}

// Opens `path` for reading, refusing the kinds of input that are not read,
// and answers the open descriptor with its kind in `info`. Standard input is
// not opened here.
bool OpenChecked(const std::string& path, std::unique_ptr<Descriptor>* file, struct stat* info,
                 Failure* failure) {
  // The kind is checked before opening: opening a device or a socket may
  // block or have effects of its own.
  if (::stat(path.c_str(), info) != 0) {
    failure->reason = std::strerror(errno);
    return false;
  }
  if (const char* refusal = Refusal(info->st_mode)) {
    failure->reason = refusal;
    return false;
  }
  // A FIFO's open waits for its writer; anything else is opened without
  // waiting, in case it was replaced by a device since it was looked at.
  const int waiting = S_ISFIFO(info->st_mode) ? 0 : O_NONBLOCK;
  auto opened =
      std::make_unique<Descriptor>(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | waiting));
  if (!opened->valid() || ::fstat(opened->get(), info) != 0) {
    failure->reason = std::strerror(errno);
    return false;
  }
  if (waiting != 0 && Refusal(info->st_mode) == nullptr) {
    ::fcntl(opened->get(), F_SETFL, ::fcntl(opened->get(), F_GETFL) & ~O_NONBLOCK);
  }
  *file = std::move(opened);
  return true;
}

// "cannot read 'PATH'" or "cannot read standard input", then the reason.
Status FailureStatus(const std::string& path, const Failure& failure) {
  std::string message = (path == kStandardStreamPath ? std::string("cannot read standard input")
                                                     : "cannot read '" + path + "'") +
                        ": " + failure.reason;
  return failure.tooLarge ? Status::ResourceExhausted(std::move(message))
                          : Status::IoError(std::move(message));
}

// Reads standard input whole, whatever it is open on (a terminal, a device
// the shell redirected, a file or a pipe): only the size bounds it.
template <typename Bytes>
bool ReadStandardInput(std::uint64_t maxBytes, Bytes* read, Failure* failure) {
  struct stat info;
  if (::fstat(STDIN_FILENO, &info) != 0) {
    failure->reason = std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) info.st_mode = S_IFIFO;
  return ReadOpen(STDIN_FILENO, info, maxBytes, read, failure);
}

template <typename Bytes>
Status Read(const std::string& path, Bytes* bytes, std::uint64_t maxBytes) {
  Failure failure;
  Bytes read;
  bool done = false;
  if (path == kStandardStreamPath) {
    done = ReadStandardInput(maxBytes, &read, &failure);
  } else {
    std::unique_ptr<Descriptor> file;
    struct stat info;
    done = OpenChecked(path, &file, &info, &failure) &&
           ReadOpen(file->get(), info, maxBytes, &read, &failure);
  }
  if (!done) return FailureStatus(path, failure);
  bytes->swap(read);
  return Status::Ok();
}

}  // namespace

Status ReadInputFile(const std::string& path, std::string* bytes, std::uint64_t maxBytes) {
  return Read(path, bytes, maxBytes);
}

Status ReadInputFile(const std::string& path, std::vector<unsigned char>* bytes,
                     std::uint64_t maxBytes) {
  return Read(path, bytes, maxBytes);
}

InputFile::InputFile() = default;
InputFile::~InputFile() = default;

Status InputFile::Open(const std::string& path, std::uint64_t maxBytes) {
  path_ = path;
  maxBytes_ = maxBytes;
  file_.reset();
  std::string().swap(bytes_);
  Failure failure;
  bool opened = false;
  if (path == kStandardStreamPath) {
    opened = ReadStandardInput(maxBytes, &bytes_, &failure);
  } else {
    struct stat info;
    opened = OpenChecked(path, &file_, &info, &failure);
    if (opened && S_ISREG(info.st_mode)) {
      size_ = static_cast<std::uint64_t>(info.st_size > 0 ? info.st_size : 0);
      if (size_ > maxBytes) {
        failure.tooLarge = true;
        failure.reason = "it holds " + ByteCountText(size_) + ", more than the " +
                         ByteCountText(maxBytes) + " an input may hold";
        opened = false;
      }
    } else if (opened) {
      opened = ReadOpen(file_->get(), info, maxBytes, &bytes_, &failure);
      file_.reset();
    }
  }
  if (!opened) {
    file_.reset();
    std::string().swap(bytes_);
    return FailureStatus(path, failure);
  }
  if (!file_) size_ = bytes_.size();
  return Status::Ok();
}

Status InputFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t count, std::size_t* got) {
  *got = 0;
  if (!file_) {
    if (offset < bytes_.size()) {
      *got = static_cast<std::size_t>(std::min<std::uint64_t>(count, bytes_.size() - offset));
      std::memcpy(buffer, bytes_.data() + offset, *got);
    }
    return Status::Ok();
  }
  Failure failure;
  if (::lseek(file_->get(), static_cast<off_t>(offset), SEEK_SET) < 0) {
    failure.reason = std::strerror(errno);
  } else {
    while (*got < count) {
      const ssize_t read = ::read(file_->get(), buffer + *got, count - *got);
      if (read < 0 && errno == EINTR) continue;
      if (read < 0) {
        failure.reason = std::strerror(errno);
        break;
      }
      if (read == 0) break;
      *got += static_cast<std::size_t>(read);
    }
  }
  // A file that grew since it was opened is still held to the most an input
  // may hold.
  if (failure.reason.empty() && offset + *got > maxBytes_) {
    failure.tooLarge = true;
    failure.reason =
        "it holds more than " + ByteCountText(maxBytes_) + ", the most an input may hold";
  }
  if (failure.reason.empty()) return Status::Ok();
  return FailureStatus(path_, failure);
}

void InputFile::Close() {
  file_.reset();
  std::string().swap(bytes_);
}

}  // namespace qaxoi::files
