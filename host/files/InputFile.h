// Reading an input (a vocabulary, a group file, standard input) whole, the
// one way every part of the host reads one.
#ifndef QAX_HOST_FILES_INPUTFILE_H_
#define QAX_HOST_FILES_INPUTFILE_H_

#include <cstdint>
#include <string>
#include <vector>

namespace qax_files {

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
// On failure answers false, leaves `bytes` unchanged and, when `error` is
// given, sets it to "cannot read 'PATH': REASON" ("cannot read standard
// input: REASON"); a refusal for size names `maxBytes`.
bool ReadInputFile(const std::string& path, std::string* bytes, std::string* error,
                   std::uint64_t maxBytes = kMaxInputBytes);
bool ReadInputFile(const std::string& path, std::vector<unsigned char>* bytes, std::string* error,
                   std::uint64_t maxBytes = kMaxInputBytes);

}  // namespace qax_files

#endif  // QAX_HOST_FILES_INPUTFILE_H_
