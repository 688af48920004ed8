// Whole-file reading and replacing for the host's files.
#ifndef QAX_HOST_SDK_FILEBYTES_H_
#define QAX_HOST_SDK_FILEBYTES_H_

#include <string>
#include <vector>

#include "host/sdk/HighPolyExport.h"
#include "host/status/Status.h"

// Reads the input at `path` whole into `bytes`: a regular file by its size,
// a FIFO or pipe (and "-", standard input) as a stream; a directory, device
// or socket is refused before it is opened, and so is an input of more than
// 1 GiB (docs/limits.md). On failure leaves `bytes` unchanged and answers
// "cannot read 'PATH': REASON" (kResourceExhausted for the size, kIoError
// otherwise).
HIGHPOLY_API qaxoi::Status ReadFileBytes(const std::string& path,
                                         std::vector<unsigned char>* bytes);

// Writes `bytes` as the whole contents of `path`. A regular file (the final
// target of a symlink, which stays a link) is replaced atomically through a
// temporary file in its folder, flushed to the disk first, and keeps its mode
// and owner; a FIFO or character device is written as a stream; "-" writes
// standard output. A directory, block device, socket, a file the caller may
// not write, a file without any write permission bit and a file with several
// hard links are refused. On failure the file is left exactly as it was, no
// temporary file is left behind, and the answer is kIoError, "cannot save
// 'PATH': REASON". docs/group-files.md ("Saving") has the rules.
HIGHPOLY_API qaxoi::Status ReplaceFileAtomically(const std::string& path,
                                                 const std::vector<unsigned char>& bytes);

#endif  // QAX_HOST_SDK_FILEBYTES_H_
