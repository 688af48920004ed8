// Loading truncated and corrupted channel group files: every fault is an
// error that names the channel, the offset and the reason, and nothing is
// handed out half-loaded.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/GroupFileReader.h"
#include "host/sdk/HighPoly.h"
#include "tests/host/GroupFileTestChannels.h"

namespace {

using group_file_test::PairChannel;
using group_file_test::SampleGroup;
using group_file_test::SloppyChannel;
using Bytes = std::vector<unsigned char>;

// Offsets in the sample group's 184 bytes (see docs/group-files.md):
constexpr std::size_t kChannelCount = 21;
constexpr std::size_t kSpeedHostState = 41;      // channel 0, float
constexpr std::size_t kSpeedSectionLength = 46;  // 17
constexpr std::size_t kSpeedRecords = 50;        // "CHNAME" "Speed"
constexpr std::size_t kSpeedLinkCount = 67;      // 0
constexpr std::size_t kLabelEntry = 71;          // channel 1, text
constexpr std::size_t kLabelHostState = 87;
constexpr std::size_t kLabelTextFlag = 88;
constexpr std::size_t kPairLink1 = 180;  // channel 2: link 1 -> channel 1
constexpr std::size_t kSampleSize = 184;

void PutU32(Bytes* bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

class GroupFileCorruptionTest : public ::testing::Test {
 protected:
  GroupFileCorruptionTest() : bytes_(sample_.Save()) {
    group_file_test::RegisterTestTypes(&registry_);
  }

  // Loads bytes that must fail, and answers the error.
  GroupFileError LoadFails(const Bytes& bytes) {
    GroupFileError error;
    std::unique_ptr<LoadedGroup> loaded = LoadGroup(bytes.data(), bytes.size(), registry_, &error);
    EXPECT_EQ(nullptr, loaded);
    EXPECT_FALSE(error.reason.empty());
    return error;
  }

  SampleGroup sample_;
  Bytes bytes_;
  ChannelTypeRegistry registry_;
};

// Walks the whole structure; false at the first error.
bool ReaderAccepts(const Bytes& bytes, std::size_t size) {
  GroupFileReader reader(bytes.data(), size);
  GroupFileHeader header;
  GroupFileChannel channel;
  if (!reader.ReadHeader(&header, nullptr)) return false;
  for (std::uint32_t i = 0; i < header.channelCount; ++i) {
    if (!reader.ReadChannel(&channel, nullptr)) return false;
  }
  return reader.ReadEnd(nullptr);
}

TEST_F(GroupFileCorruptionTest, EveryTruncationIsAnErrorAtOrBeforeTheCut) {
  ASSERT_EQ(kSampleSize, bytes_.size());
  for (std::size_t size = 0; size < bytes_.size(); ++size) {
    // A copy of exactly `size` bytes, so that the sanitizer sees any read
    // beyond the cut.
    const Bytes cut(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(size));
    GroupFileError error;
    EXPECT_EQ(nullptr, LoadGroup(cut.data(), cut.size(), registry_, &error)) << size;
    EXPECT_FALSE(error.reason.empty()) << size;
    EXPECT_LE(error.offset, size) << size << ": " << error.Message();
    EXPECT_FALSE(ReaderAccepts(cut, cut.size())) << size;
  }
  EXPECT_TRUE(ReaderAccepts(bytes_, bytes_.size()));
}

TEST_F(GroupFileCorruptionTest, WrongMagicIsReportedAtTheStart) {
  bytes_[0] = 'B';
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(0u, error.offset);
  EXPECT_EQ(-1, error.channel);
  EXPECT_NE(std::string::npos, error.reason.find("magic")) << error.reason;

  // A text-mode transfer that turned "\r\n" into "\n".
  Bytes mangled = sample_.Save();
  mangled.erase(mangled.begin() + 6);
  EXPECT_EQ(0u, LoadFails(mangled).offset);
}

TEST_F(GroupFileCorruptionTest, NewerAndZeroVersionsAreRefused) {
  PutU32(&bytes_, 8, 2);
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(8u, error.offset);
  EXPECT_NE(std::string::npos, error.reason.find("version 2 is newer")) << error.reason;
  PutU32(&bytes_, 8, 0);
  EXPECT_EQ(8u, LoadFails(bytes_).offset);
}

TEST_F(GroupFileCorruptionTest, UnknownTypeGuidNamesTheChannelAndItsEntry) {
  bytes_[kLabelEntry] ^= 0xFF;
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(kLabelEntry, error.offset);
  EXPECT_EQ(1, error.channel);
  ASSERT_TRUE(error.hasType);
  EXPECT_EQ("{6E6FB2B8-4627-4FBE-8973-48344F23881E}", GuidToString(error.typeGuid));
  EXPECT_NE(std::string::npos, error.reason.find("unknown channel type")) << error.reason;
}

TEST_F(GroupFileCorruptionTest, LinkToAMissingChannelIsReportedAtTheLink) {
  PutU32(&bytes_, kPairLink1, 3);
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(kPairLink1, error.offset);
  EXPECT_EQ(2, error.channel);
  EXPECT_EQ("Pair", error.typeName);
  EXPECT_NE(std::string::npos, error.reason.find("link 1 names channel 3")) << error.reason;

  PutU32(&bytes_, kPairLink1, 0xFFFFFFFE);  // -2
  EXPECT_EQ(kPairLink1, LoadFails(bytes_).offset);
}

TEST_F(GroupFileCorruptionTest, SectionLengthThatDoesNotFitIsReportedAtTheLength) {
  PutU32(&bytes_, kSpeedSectionLength, 0x10000);
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(kSpeedSectionLength, error.offset);
  EXPECT_EQ(0, error.channel);
  EXPECT_NE(std::string::npos, error.reason.find("section of 65536 bytes runs past the end"))
      << error.reason;

  // One byte short: the section ends inside its record.
  Bytes shorter = sample_.Save();
  PutU32(&shorter, kSpeedSectionLength, 16);
  GroupFileError cut = LoadFails(shorter);
  EXPECT_EQ(kSpeedRecords, cut.offset);
  EXPECT_NE(std::string::npos, cut.reason.find("does not fit in the channel's section"))
      << cut.reason;
}

TEST_F(GroupFileCorruptionTest, CountsAreCheckedAgainstTheBytesLeft) {
  PutU32(&bytes_, kChannelCount, 0xFFFFFFFF);
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(kChannelCount, error.offset);
  EXPECT_NE(std::string::npos, error.reason.find("channels cannot fit")) << error.reason;

  // Four channels would fit the bytes, but only three are there.
  PutU32(&bytes_, kChannelCount, 4);
  error = LoadFails(bytes_);
  EXPECT_EQ(kSampleSize, error.offset);
  EXPECT_EQ(3, error.channel);

  // Two: the third channel is left over.
  PutU32(&bytes_, kChannelCount, 2);
  error = LoadFails(bytes_);
  EXPECT_EQ(121u, error.offset);
  EXPECT_NE(std::string::npos, error.reason.find("63 unexpected bytes")) << error.reason;

  Bytes links = sample_.Save();
  PutU32(&links, kSpeedLinkCount, 1000000);
  error = LoadFails(links);
  EXPECT_EQ(kSpeedLinkCount, error.offset);
  EXPECT_NE(std::string::npos, error.reason.find("links cannot fit")) << error.reason;

  Bytes name = sample_.Save();
  PutU32(&name, 13, 0x7FFFFFFF);
  EXPECT_EQ(13u, LoadFails(name).offset);
}

TEST_F(GroupFileCorruptionTest, BadHostStateIsReportedAtItsField) {
  bytes_[kSpeedHostState] = 9;
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(kSpeedHostState, error.offset);
  EXPECT_NE(std::string::npos, error.reason.find("unknown host state kind 9")) << error.reason;

  Bytes flag = sample_.Save();
  flag[kLabelTextFlag] = 2;
  EXPECT_EQ(kLabelTextFlag, LoadFails(flag).offset);

  // The text channel's entry claims the float type: its text state does not
  // fit the float channel that the type makes.
  Bytes swapped = sample_.Save();
  std::copy(swapped.begin() + 25, swapped.begin() + 41, swapped.begin() + kLabelEntry);
  error = LoadFails(swapped);
  EXPECT_EQ(kLabelHostState, error.offset);
  EXPECT_EQ(1, error.channel);
  EXPECT_NE(std::string::npos,
            error.reason.find("kind text, but a channel of this type holds float"))
      << error.reason;
}

TEST_F(GroupFileCorruptionTest, ChannelThatCannotLoadItsRecordsIsNamed) {
  bytes_[kSpeedRecords] = 'X';  // "XHNAME": the host channel finds no name record
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(kSpeedRecords, error.offset);
  EXPECT_EQ(0, error.channel);
  EXPECT_EQ("Value", error.typeName);
  EXPECT_NE(std::string::npos, error.reason.find("stopped at record \"XHNAME\"")) << error.reason;
  EXPECT_EQ("group file, channel 0 (Value {BE69CCC4-CFC1-4362-AC81-767D199BBFC3}), byte 50: " +
                error.reason,
            error.Message());
}

TEST_F(GroupFileCorruptionTest, LinkForASlotTheLoadedChannelDidNotDeclareIsAnError) {
  // The host's float channel does not save its declarations, so a link it
  // had when saved has no slot after loading.
  Aco_FloatChannel parent;
  Aco_FloatChannel child;
  parent.SetChannelName("p");
  parent.SetChildCreateType(ChildCreation(), 0);
  parent.LinkChild(0, &child);
  Bytes bytes;
  std::string saveError;
  ASSERT_TRUE(SaveGroup("G", {&parent, &child}, &bytes, &saveError)) << saveError;
  GroupFileError error = LoadFails(bytes);
  EXPECT_EQ(0, error.channel);
  // Header 22, GUID 16, float state 5, section length 4, "CHNAME" "p" 13,
  // link count 4: then the first link entry.
  EXPECT_EQ(22u + 16 + 5 + 4 + 13 + 4, error.offset);
  EXPECT_NE(std::string::npos, error.reason.find("did not declare")) << error.reason;
}

TEST_F(GroupFileCorruptionTest, TrailingBytesAreAnError) {
  bytes_.push_back(0);
  GroupFileError error = LoadFails(bytes_);
  EXPECT_EQ(kSampleSize, error.offset);
  EXPECT_NE(std::string::npos, error.reason.find("1 unexpected bytes")) << error.reason;
}

TEST_F(GroupFileCorruptionTest, TypeWhoseModuleMakesNoChannelIsAnError) {
  ChannelTypeRegistry failing;
  failing.RegisterBuiltIns();
  failing.Register(PairChannel().GetChannelType(), [] { return std::unique_ptr<A3d_Channel>(); });
  GroupFileError error;
  EXPECT_EQ(nullptr, LoadGroup(bytes_.data(), bytes_.size(), failing, &error));
  EXPECT_EQ(2, error.channel);
  EXPECT_NE(std::string::npos, error.reason.find("made no channel")) << error.reason;
}

TEST_F(GroupFileCorruptionTest, ChannelThatReadsLessThanItsSectionDoesNotDerailTheNext) {
  SloppyChannel sloppy;
  sloppy.SetChannelName("first");
  sloppy.SetFloat(7.0f);
  Aco_StringChannel next;
  next.SetChannelName("second");
  next.SetString("still here");
  Bytes bytes;
  std::string saveError;
  ASSERT_TRUE(SaveGroup("G", {&sloppy, &next}, &bytes, &saveError)) << saveError;

  GroupFileError error;
  std::unique_ptr<LoadedGroup> loaded = LoadGroup(bytes.data(), bytes.size(), registry_, &error);
  ASSERT_NE(nullptr, loaded) << error.Message();
  auto* sloppy2 = dynamic_cast<SloppyChannel*>(loaded->Channel(0));
  auto* next2 = dynamic_cast<Aco_StringChannel*>(loaded->Channel(1));
  ASSERT_TRUE(sloppy2 != nullptr && next2 != nullptr);
  EXPECT_STREQ("first", sloppy2->GetChannelName());
  EXPECT_EQ(7.0f, sloppy2->GetFloat());
  EXPECT_STREQ("second", next2->GetChannelName());
  EXPECT_STREQ("still here", next2->GetString());
}

}  // namespace
