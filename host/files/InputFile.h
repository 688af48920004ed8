// Reading an input (a vocabulary, a group file, standard input) whole, the
// one way every part of the host reads one.
#ifndef QAX_HOST_FILES_INPUTFILE_H_
#define QAX_HOST_FILES_INPUTFILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/status/Status.h"

namespace qaxoi::files {

// The most bytes one input may hold: far beyond any real vocabulary or group
// file, and small enough that reading one never exhausts a machine's memory.
inline constexpr std::uint64_t kMaxInputBytes = std::uint64_t{1} << 30;

// The path that stands for standard input.
inline constexpr const char* kStandardStreamPath = "-";

// Reads the input at `path` whole into `bytes`, replacing its contents.
// - "-" reads standard input, whatever it is open on (a terminal included);
// - a regular file (a symlink is followed) is read by its size;
// - a FIFO or pipe (process substitution's /dev/fd/N) is read as a stream to
//   its end; opening a FIFO waits for a writer, as any reader does;
// - anything else (a directory, a character or block device, a socket) is
//   refused before it is opened, so it neither blocks nor is read.
// An input of more than `maxBytes` bytes is refused: a regular file by its
// size before reading, a stream as soon as it gives one byte more, so the
// memory held never exceeds `maxBytes` plus one block of 64 MiB.
// On failure leaves `bytes` unchanged and answers "cannot read 'PATH':
// REASON" ("cannot read standard input: REASON"): kResourceExhausted for a
// refusal for size, which names `maxBytes`, kIoError for the rest.
Status ReadInputFile(const std::string& path, std::string* bytes,
                     std::uint64_t maxBytes = kMaxInputBytes);
Status ReadInputFile(const std::string& path, std::vector<unsigned char>* bytes,
                     std::uint64_t maxBytes = kMaxInputBytes);

class Descriptor;

// An input opened to be read in parts, so that a large file need not be held
// whole: a regular file stays open and is read where it is asked, as often
// as asked; any other input (standard input, a pipe, a FIFO) can be read only
// once, so Open reads it whole, as ReadInputFile does, and keeps its bytes.
// The same kinds are read or refused as by ReadInputFile, with the same
// messages, and no more than `maxBytes` bytes are ever read.
class InputFile {
 public:
  InputFile();
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens `path`; fails as ReadInputFile does. A regular file larger than
  // `maxBytes` is refused here, by its size.
  Status Open(const std::string& path, std::uint64_t maxBytes = kMaxInputBytes);

  // The input's size: a regular file's when it was opened, a stream's bytes.
  std::uint64_t Size() const { return size_; }
  // True when the bytes are held (a stream), false when they are read from
  // the file on demand.
  bool HeldWhole() const { return file_ == nullptr; }

  // Copies up to `count` bytes from byte `offset` into `buffer` and sets
  // `got` to how many: fewer than `count` only at the input's end, which may
  // lie past Size() when the file grew. A failed read, or a file that grew
  // past `maxBytes`, fails as ReadInputFile does. Only after a successful
  // Open.
  Status ReadAt(std::uint64_t offset, char* buffer, std::size_t count, std::size_t* got);

  // Closes the file, or lets go of the bytes held.
  void Close();

 private:
  std::string path_;
  std::uint64_t maxBytes_ = kMaxInputBytes;
  std::uint64_t size_ = 0;
  std::unique_ptr<Descriptor> file_;
  std::string bytes_;
};

}  // namespace qaxoi::files

#endif  // QAX_HOST_FILES_INPUTFILE_H_
