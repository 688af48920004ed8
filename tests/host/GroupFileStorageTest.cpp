// Group files on disk: saving replaces a file whole or not at all.
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/FileBytes.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/HighPoly.h"
#include "tests/host/GroupFileTestChannels.h"

namespace {

namespace fs = std::filesystem;
using group_file_test::SampleGroup;

// Saves in a process whose files cannot grow beyond `limit` bytes, then ends
// the process: exit code 0 when the save failed, its error on stderr.
void SaveWithFileSizeLimit(const std::string& path, rlim_t limit,
                           const std::vector<A3d_Channel*>& channels) {
  std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead
  rlimit size;
  size.rlim_cur = limit;
  size.rlim_max = limit;
  ::setrlimit(RLIMIT_FSIZE, &size);
  std::string error;
  const bool saved = SaveGroupToFile(path, "Demo", channels, &error);
  std::fprintf(stderr, "%s\n", error.c_str());
  std::exit(saved ? 1 : 0);
}

class GroupFileStorageTest : public ::testing::Test {
 protected:
  GroupFileStorageTest() {
    group_file_test::RegisterTestTypes(&registry_);
    std::string pattern = (fs::temp_directory_path() / "group-file-test-XXXXXX").string();
    folder_ = ::mkdtemp(&pattern[0]) != nullptr ? pattern : std::string();
  }
  ~GroupFileStorageTest() override {
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }
  void SetUp() override { ASSERT_FALSE(folder_.empty()); }

  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The names in the test's folder: a failed save must leave no temporary.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::string folder_;
  ChannelTypeRegistry registry_;
  SampleGroup sample_;
};

TEST_F(GroupFileStorageTest, SavingReplacesTheOldFileWholeKeepingItsPermissions) {
  const std::string path = PathOf("demo.grp");
  Write(path, std::string(4096, 'o'));  // longer than the new contents
  ASSERT_EQ(0, ::chmod(path.c_str(), 0600));
  std::string error;
  ASSERT_TRUE(SaveGroupToFile(path, "Demo", sample_.Channels(), &error)) << error;
  const std::vector<unsigned char> saved = sample_.Save();
  EXPECT_EQ(std::string(saved.begin(), saved.end()), Read(path));
  EXPECT_EQ(std::vector<std::string>{"demo.grp"}, Names());
  struct stat info;
  ASSERT_EQ(0, ::stat(path.c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 07777);

  GroupFileError loadError;
  std::unique_ptr<LoadedGroup> loaded = LoadGroupFromFile(path, registry_, &loadError);
  ASSERT_NE(nullptr, loaded) << loadError.Message();
  ASSERT_EQ(3u, loaded->ChannelCount());
  EXPECT_EQ(loaded->Channel(1), loaded->Channel(2)->GetChild(1));
}

TEST_F(GroupFileStorageTest, SaveIntoAMissingFolderNamesTheFileAndTheReason) {
  const std::string path = PathOf("missing/demo.grp");
  std::string error;
  EXPECT_FALSE(SaveGroupToFile(path, "Demo", sample_.Channels(), &error));
  EXPECT_NE(std::string::npos, error.find("'" + path + "'")) << error;
  EXPECT_NE(std::string::npos, error.find("No such file or directory")) << error;
  EXPECT_TRUE(Names().empty());
}

TEST_F(GroupFileStorageTest, WriteThatFailsHalfwayLeavesTheOldFileIntact) {
  const std::string path = PathOf("demo.grp");
  Write(path, "old contents");
  std::string large(1 << 20, 'x');
  sample_.label.SetString(large.c_str());
  // In a child process whose files may not grow beyond 4 KiB, as on a full
  // disk: the write of the temporary file fails.
  EXPECT_EXIT(SaveWithFileSizeLimit(path, 4096, sample_.Channels()), ::testing::ExitedWithCode(0),
              "cannot write .*demo\\.grp\\.tmp");
  EXPECT_EQ("old contents", Read(path));
  EXPECT_EQ(std::vector<std::string>{"demo.grp"}, Names());
}

TEST_F(GroupFileStorageTest, GroupThatCannotBeSavedLeavesTheOldFileUntouched) {
  const std::string path = PathOf("demo.grp");
  Write(path, "old contents");
  std::string error;
  // The pair links the text channel, which is left out.
  EXPECT_FALSE(SaveGroupToFile(path, "Demo", {&sample_.speed, &sample_.pair}, &error));
  EXPECT_NE(std::string::npos, error.find(path)) << error;
  EXPECT_EQ("old contents", Read(path));
  EXPECT_EQ(std::vector<std::string>{"demo.grp"}, Names());
}

TEST_F(GroupFileStorageTest, LoadErrorsNameTheFile) {
  GroupFileError error;
  const std::string missing = PathOf("missing.grp");
  EXPECT_EQ(nullptr, LoadGroupFromFile(missing, registry_, &error));
  EXPECT_EQ(missing, error.file);
  EXPECT_EQ(GroupFileError::kNoOffset, error.offset);
  EXPECT_NE(std::string::npos, error.Message().find("No such file or directory"))
      << error.Message();

  EXPECT_EQ(nullptr, LoadGroupFromFile(folder_, registry_, &error));
  EXPECT_NE(std::string::npos, error.reason.find("not a regular file")) << error.reason;

  const std::string corrupt = PathOf("corrupt.grp");
  std::vector<unsigned char> bytes = sample_.Save();
  bytes[8] = 9;  // version 9
  ASSERT_TRUE(ReplaceFileAtomically(corrupt, bytes, nullptr));
  EXPECT_EQ(nullptr, LoadGroupFromFile(corrupt, registry_, &error));
  EXPECT_EQ(corrupt, error.file);
  EXPECT_EQ(8u, error.offset);
  EXPECT_EQ(0u, error.Message().find("group file '" + corrupt + "', byte 8: ")) << error.Message();
}

}  // namespace
