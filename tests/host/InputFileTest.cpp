// Reading inputs, as vocabularies and group files are read: files by their
// size, pipes and FIFOs as streams, devices and directories refused before
// they are opened, and every input capped.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "host/files/InputFile.h"

namespace {

class InputFileTest : public ::testing::Test {
 protected:
  // Reads `path` whole through an InputFile, in parts of a few kilobytes.
  static qaxoi::Status ReadInParts(const std::string& path, std::string* bytes,
                                   std::uint64_t maxBytes) {
    constexpr std::size_t kPart = 5000;
    qaxoi::files::InputFile file;
    qaxoi::Status status = file.Open(path, maxBytes);
    std::string read;
    std::size_t got = kPart;
    while (status.ok() && got == kPart) {
      const std::size_t at = read.size();
      read.resize(at + kPart);
      status = file.ReadAt(at, &read[at], kPart, &got);
      read.resize(at + got);
    }
    if (status.ok()) bytes->swap(read);
    return status;
  }

  void SetUp() override {
    char folder[] = "/tmp/qax-input-test-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(folder));
    dir_ = folder;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string File(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  // A pipe whose other end a thread fills with `bytes` and closes; answers
  // the read end's descriptor.
  int Pipe(const std::string& bytes) {
    int ends[2];
    EXPECT_EQ(0, ::pipe(ends));
    writers_.emplace_back([bytes, fd = ends[1]]() {
      std::size_t done = 0;
      ssize_t n = 0;
      while (done < bytes.size() &&
             (n = ::write(fd, bytes.data() + done, bytes.size() - done)) > 0) {
        done += static_cast<std::size_t>(n);
      }
      ::close(fd);
    });
    readEnds_.push_back(ends[0]);
    return ends[0];
  }
  // A FIFO that a thread opens and fills with `bytes` once a reader comes.
  std::string Fifo(const std::string& bytes) {
    const std::string path = Path("fifo");
    EXPECT_EQ(0, ::mkfifo(path.c_str(), 0600));
    writers_.emplace_back([bytes, path]() { std::ofstream(path, std::ios::binary) << bytes; });
    return path;
  }
  // Closes the pipes' read ends, so that a writer that was not read to the
  // end fails, and waits for the writers.
  void JoinWriters() {
    for (const int fd : readEnds_) ::close(fd);
    readEnds_.clear();
    for (std::thread& writer : writers_) writer.join();
    writers_.clear();
  }

  std::string dir_;
  std::vector<std::thread> writers_;
  std::vector<int> readEnds_;
};

TEST_F(InputFileTest, FilesAreReadBySizeStreamsToTheirEndAndEverythingElseOrTooMuchIsRefused) {
  // A writer left with a closed pipe fails instead of ending the test.
  std::signal(SIGPIPE, SIG_IGN);
  const std::string large(200 << 10, 'g');  // more than a stream's first blocks
  int savedInput = -1;
  const struct {
    const char* what;
    std::function<std::string()> input;  // makes the input, answers its path
    std::uint64_t maxBytes;
    std::string bytes;  // read, when no error is expected
    std::string error;  // what the message holds after "cannot read 'PATH': "
  } cases[] = {
      {"a file", [&] { return File("a.grp", "abc"); }, 3, "abc", ""},
      {"a file larger than the cap", [&] { return File("b.grp", std::string(2048, 'b')); }, 1024,
       "", "it holds 2 KiB, more than the 1 KiB an input may hold"},
      {"a directory", [&] { return dir_; }, qaxoi::files::kMaxInputBytes, "", "it is a directory"},
      {"a symlink to /dev/zero",
       [&] {
         EXPECT_EQ(0, ::symlink("/dev/zero", Path("zero.ttl").c_str()));
         return Path("zero.ttl");
       },
       qaxoi::files::kMaxInputBytes, "",
       "it is a character device; only files, pipes and FIFOs are read"},
      {"a missing file", [&] { return Path("none.ttl"); }, 10, "", "No such file or directory"},
      {"a FIFO", [&] { return Fifo("from a fifo"); }, 11, "from a fifo", ""},
      {"a pipe as /dev/fd/N", [&] { return "/dev/fd/" + std::to_string(Pipe(large)); },
       large.size(), large, ""},
      {"a pipe one byte over the cap", [&] { return "/dev/fd/" + std::to_string(Pipe(large)); },
       large.size() - 1, "", "it holds more than 204,799 bytes, the most an input may hold"},
      {"standard input over the cap",
       [&] {
         savedInput = ::dup(STDIN_FILENO);
         ::dup2(Pipe(std::string(5000, 's')), STDIN_FILENO);
         return std::string("-");
       },
       1000, "", "it holds more than 1,000 bytes, the most an input may hold"},
  };
  // Each input is read whole, then opened to be read in parts: the same
  // inputs are read and refused, with the same messages.
  for (const bool inParts : {false, true}) {
    std::system(("rm -rf '" + dir_ + "'/*").c_str());
    for (const auto& c : cases) {
      const std::string path = c.input();
      std::string bytes = "unchanged";
      const qaxoi::Status read = inParts ? ReadInParts(path, &bytes, c.maxBytes)
                                         : qaxoi::files::ReadInputFile(path, &bytes, c.maxBytes);
      if (savedInput >= 0) {
        ::dup2(savedInput, STDIN_FILENO);
        ::close(savedInput);
        savedInput = -1;
      }
      JoinWriters();
      const std::string name = path == "-" ? "standard input" : "'" + path + "'";
      if (c.error.empty()) {
        EXPECT_TRUE(read.ok()) << c.what << ": " << read.message();
        EXPECT_EQ(c.bytes, bytes) << c.what;
      } else {
        EXPECT_EQ("cannot read " + name + ": " + c.error, read.message()) << c.what;
        // A refusal for size is the bound's; every other the system's.
        EXPECT_EQ(c.error.find("holds") != std::string::npos
                      ? qaxoi::Status::Code::kResourceExhausted
                      : qaxoi::Status::Code::kIoError,
                  read.code())
            << c.what;
        EXPECT_EQ("unchanged", bytes) << c.what;
      }
    }
  }
  // A file that grows past the cap once it is open is refused as it is read.
  const std::string growing = File("growing.ttl", std::string(1000, 'g'));
  qaxoi::files::InputFile file;
  ASSERT_TRUE(file.Open(growing, 1024).ok());
  std::ofstream(growing, std::ios::app) << std::string(100, 'h');
  std::string bytes(2048, '\0');
  std::size_t got = 0;
  EXPECT_TRUE(file.ReadAt(1000, &bytes[0], 24, &got).ok());
  EXPECT_EQ(std::string(24, 'h'), bytes.substr(0, got));
  const qaxoi::Status grown = file.ReadAt(0, &bytes[0], bytes.size(), &got);
  EXPECT_EQ(qaxoi::Status::Code::kResourceExhausted, grown.code());
  EXPECT_EQ("cannot read '" + growing + "': it holds more than 1 KiB, the most an input may hold",
            grown.message());
}

}  // namespace
