// The host's file functions: the shared reader and writer of host/files,
// under the names that the SDK's callers know.
#include "host/sdk/FileBytes.h"

#include "host/files/InputFile.h"
#include "host/files/OutputFile.h"

qaxoi::Status ReadFileBytes(const std::string& path, std::vector<unsigned char>* bytes) {
  return qaxoi::files::ReadInputFile(path, bytes);
}

qaxoi::Status ReplaceFileAtomically(const std::string& path,
                                    const std::vector<unsigned char>& bytes) {
  return qaxoi::files::WriteOutputFile(path, bytes.data(), bytes.size());
}
