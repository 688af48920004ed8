// The host's file functions: the shared reader and writer of host/files,
// under the names that the SDK's callers know.
#include "host/sdk/FileBytes.h"

#include "host/files/InputFile.h"
#include "host/files/OutputFile.h"

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>* bytes, std::string* error) {
  return qax_files::ReadInputFile(path, bytes, error);
}

bool ReplaceFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes,
                           std::string* error) {
  return qax_files::WriteOutputFile(path, bytes.data(), bytes.size(), error);
}
