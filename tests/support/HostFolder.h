// qax-host run as a user runs it, in a folder of its own: the fixture that
// the command-line tests share.
#ifndef QAX_TESTS_SUPPORT_HOSTFOLDER_H_
#define QAX_TESTS_SUPPORT_HOSTFOLDER_H_

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qaxoi::test {

// The whole file at `path`; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// What one run of qax-host gave.
struct HostResult {
  int exitCode;
  std::string out, err;
};

// A fresh folder under /tmp for each test, removed after it, with no
// language asked for by the locale (labels and docs follow it: none unless a
// test sets one). qax-host is the one in QAX_BIN_DIR.
class HostFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/qax-host-test-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(folder));
    dir_ = folder;
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) ::unsetenv(name);
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Read(const std::string& name) const { return ReadFile(Path(name)); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
  }

  // Runs qax-host with `arguments` (none holds a quote) through the shell,
  // in the test's folder, with env_'s variables (VAR=VALUE words) set.
  // `input` is the file that standard input reads; `output`, when given, is
  // where standard output goes instead of HostResult::out; with
  // `addressSpaceKb`, the shell limits qax-host's address space to that.
  HostResult Run(const std::vector<std::string>& arguments, const std::string& input = "/dev/null",
                 const std::string& output = "", unsigned long addressSpaceKb = 0) {
    std::string command = "cd '" + dir_ + "' && " + env_ + " " +
                          std::string(std::getenv("QAX_BIN_DIR")) + "/qax-host <" + input;
    if (addressSpaceKb != 0)
      command = "ulimit -v " + std::to_string(addressSpaceKb) + "; " + command;
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    const std::string out = output.empty() ? Path("out") : output;
    const int status = std::system((command + " >" + out + " 2>" + Path("err")).c_str());
    return HostResult{WEXITSTATUS(status), output.empty() ? ReadFile(out) : "",
                      ReadFile(Path("err"))};
  }
  // Run with the words of `line`, which are separated by single blanks.
  HostResult RunLine(const std::string& line) { return Run(Words(line)); }

  // The words of `line`, which are separated by single blanks.
  static std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t end = std::min(line.find(' ', at), line.size());
      words.push_back(line.substr(at, end - at));
      at = end + 1;
    }
    return words;
  }

  std::string dir_;
  std::string env_;  // VAR=VALUE words for qax-host's environment; empty for none
};

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_HOSTFOLDER_H_
