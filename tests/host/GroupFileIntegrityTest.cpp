// Group files as a user's scene depends on them: every damaged byte is
// refused with a message naming the damaged part, and files of the first
// format version still load as they did.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/Crc32c.h"
#include "host/sdk/FileBytes.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"

namespace {

void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  return names;
}

// A loaded group as one line per channel: type, name, host value and the
// positions its links name.
std::string Described(const LoadedGroup& group) {
  std::string text;
  const std::vector<A3d_Channel*> channels = group.Channels();
  for (A3d_Channel* channel : channels) {
    text += channel->GetChannelType().Name;
    text += std::string(" '") + (channel->GetChannelName() ? channel->GetChannelName() : "") + "'";
    if (auto* value = dynamic_cast<Aco_FloatChannel*>(channel)) {
      char number[32];
      std::snprintf(number, sizeof(number), " %g", static_cast<double>(value->GetFloat()));
      text += number;
    }
    if (auto* label = dynamic_cast<Aco_StringChannel*>(channel)) {
      text += label->GetString() ? std::string(" \"") + label->GetString() + "\"" : " null";
    }
    for (int link = 0; link < channel->GetChildCount(); ++link) {
      std::string target = "-";
      for (std::size_t i = 0; i < channels.size(); ++i) {
        if (channels[i] == channel->GetChild(link)) target = std::to_string(i);
      }
      text += " " + target;
    }
    text += "\n";
  }
  return text;
}

class GroupFileIntegrityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* folder = std::getenv("QAX_BIN_DIR");
    std::string error;
    module_ =
        ChannelModule::Open(std::string(folder ? folder : ".") + "/QAXOntologyItem.so", &error);
    ASSERT_NE(nullptr, module_) << error;
    registry_.RegisterBuiltIns();
    ASSERT_TRUE(registry_.RegisterModule(*module_));
    char scratch[] = "/tmp/qax-integrity-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(scratch));
    folder_ = scratch;
    ::chmod(folder_.c_str(), 0755);
  }
  void TearDown() override {
    ::chmod(folder_.c_str(), 0755);
    for (const std::string& name : FolderEntries(folder_))
      std::remove((folder_ + "/" + name).c_str());
    ::rmdir(folder_.c_str());
  }

  std::unique_ptr<LoadedGroup> Load(const std::vector<unsigned char>& bytes,
                                    GroupFileError* error) {
    return LoadGroup(bytes.data(), bytes.size(), registry_, error);
  }

  // The README's penguin as today's format writes it, with a channel of each
  // host state kind that it lacks (wide text, vector, matrix).
  std::vector<unsigned char> SampleFile() {
    GroupFileError error;
    std::unique_ptr<LoadedGroup> penguin = LoadGroupFromFile(kVersion1Penguin, registry_, &error);
    EXPECT_NE(nullptr, penguin) << error.Message();
    if (!penguin) return {};
    wide_.SetWString(L"wide \u00e9");
    vector_.SetVector(D3DXVECTOR3{1.0f, -2.0f, 3.5f});
    D3DXMATRIX m = {};
    m.m[3][2] = 7.0f;
    matrix_.SetMatrix(m);
    std::vector<A3d_Channel*> channels = penguin->Channels();
    channels.insert(channels.end(), {&wide_, &vector_, &matrix_});
    std::vector<unsigned char> bytes;
    std::string saveError;
    EXPECT_TRUE(SaveGroup("qax-host", channels, &bytes, &saveError)) << saveError;
    return bytes;
  }

  static constexpr const char* kVersion1Penguin = QAX_TEST_DATA_DIR "/penguin-v1.grp";

  // Declared first: every channel below is destroyed before the module.
  std::unique_ptr<ChannelModule> module_;
  ChannelTypeRegistry registry_;
  Aco_StringChannel wide_;
  Aco_ValueVectorChannel vector_;
  Aco_MatrixChannel matrix_;
  std::string folder_;
};

TEST_F(GroupFileIntegrityTest, Crc32cGivesThePublishedCheckValues) {
  EXPECT_EQ(0xE3069283u, Crc32c("123456789", 9));
  EXPECT_EQ(0xE3069283u, Crc32c("6789", 4, Crc32c("12345", 5)));  // continued
  // RFC 3720's vectors, long enough for the eight-byte steps.
  std::vector<unsigned char> bytes(32, 0x00);
  EXPECT_EQ(0x8A9136AAu, Crc32c(bytes.data(), bytes.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i);
  EXPECT_EQ(0x46DD794Eu, Crc32c(bytes.data(), bytes.size()));
  EXPECT_EQ(0u, Crc32c(nullptr, 0));
}

TEST_F(GroupFileIntegrityTest, EverySingleBitFlipIsRefused) {
  const std::vector<unsigned char> sample = SampleFile();
  ASSERT_FALSE(sample.empty());
  GroupFileError error;
  ASSERT_NE(nullptr, Load(sample, &error)) << error.Message();
  std::size_t flips = 0;
  for (std::size_t byte = 0; byte < sample.size(); ++byte) {
    for (int bit = 0; bit < 8; ++bit, ++flips) {
      std::vector<unsigned char> damaged = sample;
      damaged[byte] ^= static_cast<unsigned char>(1u << bit);
      ASSERT_EQ(nullptr, Load(damaged, &error)) << "byte " << byte << " bit " << bit << " loads";
      ASSERT_EQ(0u, error.Message().rfind("group file", 0)) << error.Message();
    }
  }
  EXPECT_EQ(sample.size() * 8, flips);
}

TEST_F(GroupFileIntegrityTest, DamageIsNamedByFileChannelAndTheEntrysFirstByte) {
  std::vector<unsigned char> bytes = SampleFile();
  ASSERT_FALSE(bytes.empty());
  const std::string text = "Pingu";
  const auto at = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
  ASSERT_NE(bytes.end(), at);
  *at ^= 0x01;  // inside channel 2's host state: structure intact
  const std::string path = folder_ + "/p.grp";
  WriteAll(path, bytes);
  GroupFileError error;
  EXPECT_EQ(nullptr, LoadGroupFromFile(path, registry_, &error));
  // Behind the header (37 bytes), the item channel's entry (587) and the
  // first value channel's (54).
  EXPECT_EQ("group file '" + path +
                "', channel 2 (Text {6E6FB247-4627-4FBE-8973-48344F23881E}), "
                "byte 678: the channel's checksum does not match (the file is damaged)",
            error.Message());

  bytes = SampleFile();
  bytes[16] ^= 0x80;  // the group name flag, checked only after the checksum
  EXPECT_EQ(nullptr, Load(bytes, &error));
  EXPECT_EQ("group file, byte 0: the header's checksum does not match (the file is damaged)",
            error.Message());
}

TEST_F(GroupFileIntegrityTest, Version1FilesLoadAsTheyDidAndAreRewrittenAsVersion2) {
  GroupFileError error;
  std::unique_ptr<LoadedGroup> old = LoadGroupFromFile(kVersion1Penguin, registry_, &error);
  ASSERT_NE(nullptr, old) << error.Message();
  const std::string held =
      "QAXOntologyItem 'OItem:http://example.org/zoo#Penguin' 0 1 2 - 3 4 5 - -\n"
      "Value 'alive' 1\n"
      "Text 'name' \"Pingu\"\n"
      "Value 'legs' 2\n"
      "Value 'weight' 4.5\n"
      "QAXOntologyItem 'habitat' 0 - 6\n"
      "Text 'placeName' \"Ross Sea\"\n";
  EXPECT_EQ(held, Described(*old));

  std::vector<unsigned char> rewritten;
  std::string saveError;
  ASSERT_TRUE(SaveGroup("qax-host", old->Channels(), &rewritten, &saveError)) << saveError;
  ASSERT_GT(rewritten.size(), 12u);
  EXPECT_EQ(2, rewritten[8]);  // the format version
  std::unique_ptr<LoadedGroup> again = Load(rewritten, &error);
  ASSERT_NE(nullptr, again) << error.Message();
  EXPECT_EQ(held, Described(*again));
}

}  // namespace
