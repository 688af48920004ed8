// Writing an output file (a group file, an export, a drawing) safely, the one
// way every part of the host writes one.
#ifndef QAX_HOST_FILES_OUTPUTFILE_H_
#define QAX_HOST_FILES_OUTPUTFILE_H_

#include <cstddef>
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

// Writes `size` bytes at `data` as the whole contents of the output `path`:
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
// Refused, with the file left exactly as it was: a directory, a block device,
// a socket, a file the caller may not write (as cp refuses it), a file with no
// write permission bit at all (even for root, who may write anything), and a
// file with more than one hard link (replacing it would leave the other names
// with the old contents). Temporary files are created exclusively (O_TMPFILE
// where the file system has it, named only for the instant before the
// rename; otherwise O_EXCL and O_NOFOLLOW under TemporaryName()), removed on
// failure, and those of processes that died are removed by the next write of
// the same target. A failure is kIoError, "cannot save 'PATH': REASON"
// ("cannot write standard output: REASON"); `delivery`, when given, is set
// on success.
Status WriteOutputFile(const std::string& path, const void* data, std::size_t size,
                       Delivery* delivery = nullptr);

}  // namespace qaxoi::files

#endif  // QAX_HOST_FILES_OUTPUTFILE_H_
