// ReadFileBytes and ReplaceFileAtomically on Windows, with the contract of
// FileBytes.h as far as Windows has its kinds of files: reading disk files
// until the end, at most qaxoi::files::kMaxInputBytes, and replacing through a
// flushed temporary file in the same folder that takes the target's place.
#include <windows.h>

#include <string>
#include <vector>

#include "host/files/ByteCountText.h"
#include "host/files/InputFile.h"
#include "host/sdk/FileBytes.h"
#include "host/sdk/WindowsError.h"

namespace {

constexpr int kTemporaryNameAttempts = 100;
constexpr DWORD kChunkSize = 1 << 20;
constexpr std::size_t kLargestReservation = std::size_t{64} << 20;

std::string SystemReason(DWORD code) { return WindowsErrorText(code); }

// Closes a handle when it goes out of scope, unless closed before.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  HANDLE get() const { return handle_; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now; answers whether the close succeeded.
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  return path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

qaxoi::Status ReadFileBytes(const std::string& path, std::vector<unsigned char>* bytes) {
  const auto fail = [&](DWORD code) {
    return qaxoi::Status::IoError("cannot read '" + path + "': " + SystemReason(code));
  };
  Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return fail(GetLastError());
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    return qaxoi::Status::IoError("cannot read '" + path + "': it is not a regular file");
  }
  const auto tooLarge = [&]() {
    return qaxoi::Status::ResourceExhausted(
        "cannot read '" + path + "': it holds more than " +
        qaxoi::files::ByteCountText(qaxoi::files::kMaxInputBytes) + ", the most an input may hold");
  };
  std::vector<unsigned char> read;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
    const auto expected = static_cast<unsigned long long>(size.QuadPart);
    if (expected > qaxoi::files::kMaxInputBytes) return tooLarge();
    read.reserve(expected < kLargestReservation ? static_cast<std::size_t>(expected)
                                                : kLargestReservation);
  }
  std::vector<unsigned char> chunk(64 * 1024);
  for (;;) {
    DWORD done = 0;
    if (!ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &done, nullptr)) {
      return fail(GetLastError());
    }
    if (done == 0) break;
    if (read.size() + done > qaxoi::files::kMaxInputBytes) return tooLarge();
    read.insert(read.end(), chunk.begin(), chunk.begin() + done);
  }
  bytes->swap(read);
  return qaxoi::Status::Ok();
}

qaxoi::Status ReplaceFileAtomically(const std::string& path,
                                    const std::vector<unsigned char>& bytes) {
  const auto fail = [&](const std::string& what, DWORD code) {
    return qaxoi::Status::IoError("cannot save '" + path + "': " + what + ": " +
                                  SystemReason(code));
  };
  if (path.empty() || path.back() == '/' || path.back() == '\\') {
    return qaxoi::Status::IoError("cannot save '" + path + "': the path names no file");
  }
  // CREATE_NEW: never write into a file that someone else is writing.
  std::string temporary;
  Handle file(INVALID_HANDLE_VALUE);
  DWORD code = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && !file.valid(); ++attempt) {
    temporary =
        path + ".tmp-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt);
    file.Reset(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() && (code = GetLastError()) != ERROR_FILE_EXISTS) break;
  }
  if (!file.valid()) {
    return fail("cannot create a temporary file in '" + FolderOf(path) + "'", code);
  }
  const auto failAndRemove = [&](const std::string& what, DWORD failure) {
    file.Close();
    DeleteFileA(temporary.c_str());
    return fail(what, failure);
  };
  std::size_t written = 0;
  while (written < bytes.size()) {
    const std::size_t left = bytes.size() - written;
    DWORD done = 0;
    if (!WriteFile(file.get(), bytes.data() + written,
                   left < kChunkSize ? static_cast<DWORD>(left) : kChunkSize, &done, nullptr)) {
      return failAndRemove("cannot write '" + temporary + "'", GetLastError());
    }
    written += done;
  }
  if (!FlushFileBuffers(file.get())) {
    return failAndRemove("cannot flush '" + temporary + "'", GetLastError());
  }
  if (!file.Close()) return failAndRemove("cannot close '" + temporary + "'", GetLastError());
  // ReplaceFile gives the new file the old one's attributes and security;
  // a file that is not there yet is moved into place.
  const bool replaced =
      GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES
          ? ReplaceFileA(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                         nullptr, nullptr) != 0
          : MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  if (!replaced) {
    return failAndRemove("cannot rename '" + temporary + "' over it", GetLastError());
  }
  return qaxoi::Status::Ok();
}
