// The project's libraries as the test programs find them: in the folder that
// QAX_BIN_DIR names (ctest sets it for every test), under this platform's
// file names.
#ifndef QAX_TESTS_SUPPORT_BINFILES_H_
#define QAX_TESTS_SUPPORT_BINFILES_H_

#include <cstdlib>
#include <string>

namespace qaxoi::test {

#if defined(_WIN32)
inline constexpr char kModuleFile[] = "QAXOntologyItem.dll";
inline constexpr char kHostLibraryFile[] = "HighPoly.dll";
#else
inline constexpr char kModuleFile[] = "QAXOntologyItem.so";
inline constexpr char kHostLibraryFile[] = "libHighPoly.so";
#endif

// `file` in the folder of the built libraries ("." when QAX_BIN_DIR is unset).
inline std::string BinPath(const std::string& file) {
  const char* dir = std::getenv("QAX_BIN_DIR");
  return std::string(dir != nullptr ? dir : ".") + "/" + file;
}

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_BINFILES_H_
