// Writing an output file (a group file, an export, a drawing) safely, the one
// way every part of the host writes one.
#ifndef QAX_HOST_FILES_OUTPUTFILE_H_
#define QAX_HOST_FILES_OUTPUTFILE_H_

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

#include "host/status/Status.h"

namespace qaxoi::files {

// Symlinks followed in a row before a path is given up as a loop, as the
// system's own limit (SYMLOOP_MAX on Linux: 40).
inline constexpr int kMaxSymlinkHops = 40;

// How WriteOutputFile delivered the bytes.
enum class Delivery {
  kFile,            // a regular file was created or replaced whole
  kStream,          // a FIFO or character device was written in order
  kStandardOutput,  // standard output was written ("-", /dev/stdout, ...)
};

// Writes what `produce` writes to the stream it is handed as the whole
// contents of the output `path`, as it is written: the stream holds a buffer
// of a few tens of kilobytes over the file, so that a document of any size
// costs no more memory than its producer does.
// - "-", and any path naming what standard output is open on (/dev/stdout),
//   writes standard output (stdio's buffer is flushed first);
// - a FIFO or character device (after symlinks) is opened and written as a
//   stream, never replaced;
// - a regular file is replaced atomically through a temporary file in its
//   folder, flushed to the disk first; a symlink is followed to its final
//   target (at most kMaxSymlinkHops), which is replaced while the link stays;
//   a dangling symlink creates its target. The new file keeps the old one's
//   mode and, as far as the system allows, its owner and group; a new file
//   gets 0666 less the umask.
// Refused before `produce` runs, with the file left exactly as it was: a
// directory, a block device, a socket, a file the caller may not write (as cp
// refuses it), a file with no write permission bit at all (even for root, who
// may write anything), and a file with more than one hard link (replacing it
// would leave the other names with the old contents).
// `produce` is called at most once, and not at all when the path is refused
// or no temporary file can be made. A write that fails (a full disk, a closed
// pipe) turns the stream bad, so that a producer that checks it can stop, and
// every later write is dropped; the call then fails with that write's reason.
// A producer that leaves the stream failed for a reason of its own fails the
// call too ("REASON" is then "the writer of its contents failed"). On any
// failure a regular file keeps its old bytes and no temporary file stays; a
// stream or standard output keeps what was written to it before the failure.
// An exception from `produce` goes on to the caller, after the temporary file
// is removed. Temporary files are created exclusively (O_TMPFILE where the
// file system has it and /proc can name it, named only for the instant before
// the rename; otherwise O_EXCL and O_NOFOLLOW under TemporaryName()), and
// those of processes that died are removed by the next write of the same
// target. A failure is kIoError, "cannot save 'PATH': REASON" ("cannot write
// standard output: REASON"); `delivery`, when given, is set on success.
Status WriteOutputFile(const std::string& path, const std::function<void(std::ostream&)>& produce,
                       Delivery* delivery = nullptr);

// Writes `size` bytes at `data` as the whole contents of the output `path`,
// as the streaming form above does, with the same refusals, replacement and
// failures.
Status WriteOutputFile(const std::string& path, const void* data, std::size_t size,
                       Delivery* delivery = nullptr);

}  // namespace qaxoi::files

#endif  // QAX_HOST_FILES_OUTPUTFILE_H_
