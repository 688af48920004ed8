// Whole-file reading and replacing for the host's files.
#ifndef QAX_HOST_SDK_FILEBYTES_H_
#define QAX_HOST_SDK_FILEBYTES_H_

#include <string>
#include <vector>

#include "host/sdk/HighPolyExport.h"

// Reads the regular file at `path` whole into `bytes`. On failure answers
// false, leaves `bytes` unchanged and, when `error` is given, sets it to a
// text naming the file and the system's reason.
HIGHPOLY_API bool ReadFileBytes(const std::string& path, std::vector<unsigned char>* bytes,
                                std::string* error);

// Writes `bytes` to a new temporary file in the folder of `path`, flushes it
// to the disk and renames it over `path`. A file already at `path` is either
// replaced whole or left untouched; it keeps its permissions. On failure the
// temporary file is removed and, when `error` is given, it is set to a text
// naming the file and the system's reason.
HIGHPOLY_API bool ReplaceFileAtomically(const std::string& path,
                                        const std::vector<unsigned char>& bytes,
                                        std::string* error);

#endif  // QAX_HOST_SDK_FILEBYTES_H_
