// Writing a document as it is produced: a file replaced whole with what was
// streamed, or left with its old bytes and no temporary file when a write or
// the producer fails midway, in memory that does not grow with the document.
#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/files/OutputFile.h"
#include "tests/support/AllocationFailure.h"

namespace {

namespace files = qaxoi::files;
using Producer = std::function<void(std::ostream&)>;

constexpr std::size_t kKiB = std::size_t{1} << 10;
constexpr std::size_t kMiB = std::size_t{1} << 20;

// `size` bytes that repeat only every 251, so that a piece written twice,
// dropped or put out of order shows.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

// Writes `bytes` in pieces of the sizes given in turn, single bytes through
// put(), while the stream is good; answers how much it wrote.
std::size_t WriteInPieces(std::ostream& out, const std::string& bytes,
                          const std::vector<std::size_t>& pieces) {
  std::size_t at = 0;
  for (std::size_t turn = 0; at < bytes.size() && out.good(); ++turn) {
    const std::size_t piece = std::min(pieces[turn % pieces.size()], bytes.size() - at);
    if (piece == 1) {
      out.put(bytes[at]);
    } else {
      out.write(bytes.data() + at, static_cast<std::streamsize>(piece));
    }
    at += piece;
  }
  return at;
}

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/qax-output-test-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(folder));
    dir_ = folder;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The names in the test's folder: the files written, and any temporary
  // file left behind.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    DIR* folder = ::opendir(dir_.c_str());
    while (const dirent* entry = folder != nullptr ? ::readdir(folder) : nullptr) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.insert(name);
    }
    if (folder != nullptr) ::closedir(folder);
    return names;
  }

  std::string dir_;
};

TEST_F(OutputFileTest, AStreamedDocumentReplacesAFileWholeOrLeavesItAsItWas) {
  const std::string big = Pattern(200 * kKiB);
  std::size_t wrote = 0;  // what the last producer wrote before it stopped
  struct Row {
    const char* what;
    std::string name;  // in the test's folder, or an absolute path
    Producer produce;
    std::string reason;  // after "cannot save 'PATH': "; empty: saved
    std::string contents;
    files::Delivery delivery;
  };
  const std::vector<Row> rows = {
      {"pieces smaller and larger than the buffer, in order", "out.txt",
       [&](std::ostream& out) {
         wrote = WriteInPieces(out, big, {1, 5000, 70000, 3, 65536});
       },
       "", big, files::Delivery::kFile},
      {"nothing written empties the file", "out.txt", [&](std::ostream&) { wrote = 0; }, "", "",
       files::Delivery::kFile},
      {"a producer that fails midway leaves the old bytes", "out.txt",
       [&](std::ostream& out) {
         wrote = WriteInPieces(out, big.substr(0, 150 * kKiB), {7000});
         out.setstate(std::ios::failbit);
       },
       "the writer of its contents failed", "old", files::Delivery::kFile},
      {"a full device stops the producer", "/dev/full",
       [&](std::ostream& out) { wrote = WriteInPieces(out, Pattern(8 * kMiB), {1000}); },
       "No space left on device", "", files::Delivery::kStream},
      {"a directory is refused before anything is produced", ".", [&](std::ostream&) { wrote = 1; },
       "it is a directory", "", files::Delivery::kFile},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::ofstream(Path("out.txt"), std::ios::binary) << "old";
    const std::string path = row.name[0] == '/' ? row.name : Path(row.name);
    wrote = 0;
    files::Delivery delivery = files::Delivery::kStandardOutput;
    const qaxoi::Status status = files::WriteOutputFile(path, row.produce, &delivery);
    if (row.reason.empty()) {
      ASSERT_TRUE(status.ok()) << status.message();
      EXPECT_EQ(row.delivery, delivery);
      EXPECT_EQ(row.contents, Contents(path));
    } else {
      EXPECT_EQ("cannot save '" + path + "': " + row.reason, status.message());
      EXPECT_EQ(files::Delivery::kStandardOutput, delivery);  // untouched on failure
      EXPECT_EQ("old", Contents(Path("out.txt")));
    }
    EXPECT_LT(wrote, 1 * kMiB);  // stopped by the failed stream, or never run
    EXPECT_EQ(std::set<std::string>{"out.txt"}, Names());
  }
}

// Files cannot grow beyond 4 KiB, as on a full disk: a write beyond fails.
void SaveOnAFullDisk(const std::string& path) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit size{4096, 4096};
  ::setrlimit(RLIMIT_FSIZE, &size);
  std::size_t wrote = 0;
  const qaxoi::Status status = files::WriteOutputFile(
      path, [&](std::ostream& out) { wrote = WriteInPieces(out, Pattern(8 * kMiB), {1000}); });
  std::fprintf(stderr, "%s|%s\n", status.message().c_str(), wrote < kMiB ? "stopped" : "went on");
  std::exit(0);
}

TEST_F(OutputFileTest, AFailedWriteToAFileStopsTheProducerAndKeepsTheOldBytes) {
  const std::string path = Path("out.txt");
  std::ofstream(path, std::ios::binary) << "old";
  EXPECT_EXIT(SaveOnAFullDisk(path), ::testing::ExitedWithCode(0),
              "cannot save '.*/out\\.txt': cannot write: File too large\\|stopped");
  EXPECT_EQ("old", Contents(path));
  EXPECT_EQ(std::set<std::string>{"out.txt"}, Names());
}

TEST_F(OutputFileTest, WritingADocumentHoldsAFixedBufferWhateverItsSize) {
  constexpr std::size_t kDocument = 64 * kMiB;
  constexpr std::size_t kCeiling = kMiB;
  const std::string piece = Pattern(4 * kKiB);
  const std::string whole(kDocument, 'x');  // the bytes form's, held by its caller
  struct Row {
    const char* what;
    std::function<qaxoi::Status(const std::string&)> write;
  };
  const std::vector<Row> rows = {
      {"streamed in pieces",
       [&](const std::string& path) {
         return files::WriteOutputFile(path, [&](std::ostream& out) {
           for (std::size_t at = 0; at < kDocument && out.good(); at += piece.size()) {
             out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
           }
         });
       }},
      {"given whole",
       [&](const std::string& path) {
         return files::WriteOutputFile(path, whole.data(), whole.size());
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string path = Path("big.out");
    std::ofstream(path, std::ios::binary) << "old";
    const std::size_t before = qaxoi::test::BytesInUse();
    qaxoi::test::ResetPeakBytes();
    qaxoi::Status status = qaxoi::Status::Ok();
    {
      const qaxoi::test::ScopedHeapCeiling ceiling(kCeiling);
      status = row.write(path);
    }
    const std::size_t peak = qaxoi::test::PeakBytesInUse() - before;
    ASSERT_TRUE(status.ok()) << status.message();
    EXPECT_LT(peak, kCeiling);
    std::ifstream written(path, std::ios::binary | std::ios::ate);
    EXPECT_EQ(static_cast<std::streamoff>(kDocument), static_cast<std::streamoff>(written.tellg()));
    ::unlink(path.c_str());
  }
}

}  // namespace
