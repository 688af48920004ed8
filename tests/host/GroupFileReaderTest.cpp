// Walking a group file's structure without making channels, as a dump tool
// does.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/A3dFileLoader.h"
#include "host/sdk/GroupFileReader.h"
#include "tests/host/GroupFileTestChannels.h"

namespace {

using group_file_test::PairChannel;
using group_file_test::SampleGroup;

struct SeenRecord {
  std::size_t offset;
  std::string tag;
  unsigned long size;
  std::string data;
};

// The records of a channel's section, with their offsets in the file.
std::vector<SeenRecord> Records(const GroupFileChannel& channel) {
  std::vector<SeenRecord> seen;
  A3dFileLoader loader(channel.records, channel.recordsSize);
  std::string tag;
  unsigned long size = 0;
  while (loader.PeekRecord(&tag, &size)) {
    const std::size_t offset = channel.recordsOffset + loader.Position();
    std::string data(size, '\0');
    loader.GetInfoIfTag(tag.c_str());
    loader.CopyTagDataToPointer(&data[0]);
    seen.push_back(SeenRecord{offset, tag, size, data});
  }
  EXPECT_TRUE(loader.AtEnd());
  return seen;
}

class GroupFileReaderTest : public ::testing::Test {
 protected:
  GroupFileReaderTest() : bytes_(sample_.Save()), reader_(bytes_.data(), bytes_.size()) {}

  SampleGroup sample_;
  std::vector<unsigned char> bytes_;
  GroupFileReader reader_;
};

TEST_F(GroupFileReaderTest, WalksHeaderChannelsRecordsAndLinks) {
  GroupFileHeader header;
  GroupFileError error;
  ASSERT_TRUE(reader_.ReadHeader(&header, &error)) << error.Message();
  EXPECT_EQ(1u, header.version);
  EXPECT_TRUE(header.hasGroupName);
  EXPECT_EQ("Demo", header.groupName);
  ASSERT_EQ(3u, header.channelCount);
  EXPECT_EQ(25u, reader_.Position());

  GroupFileChannel speed;
  ASSERT_TRUE(reader_.ReadChannel(&speed, &error)) << error.Message();
  EXPECT_EQ(0, speed.index);
  EXPECT_EQ(25u, speed.offset);
  EXPECT_TRUE(GuidEquals(Aco_FloatChannel::kTypeGuid, speed.typeGuid));
  EXPECT_EQ(41u, speed.hostStateOffset);
  EXPECT_EQ(HostStateKind::kFloat, speed.hostState.kind);
  EXPECT_EQ(2.5f, speed.hostState.value);
  EXPECT_EQ(46u, speed.sectionLengthOffset);
  EXPECT_EQ(50u, speed.recordsOffset);
  EXPECT_EQ(bytes_.data() + 50, speed.records);
  EXPECT_EQ(17u, speed.recordsSize);
  EXPECT_EQ(67u, speed.linksOffset);
  EXPECT_TRUE(speed.links.empty());

  GroupFileChannel label;
  ASSERT_TRUE(reader_.ReadChannel(&label, &error)) << error.Message();
  EXPECT_EQ(HostStateKind::kText, label.hostState.kind);
  EXPECT_TRUE(label.hostState.hasText);
  EXPECT_EQ("hi", label.hostState.text);
  EXPECT_FALSE(label.hostState.hasWideText);

  GroupFileChannel pair;
  ASSERT_TRUE(reader_.ReadChannel(&pair, &error)) << error.Message();
  EXPECT_EQ(2, pair.index);
  EXPECT_TRUE(GuidEquals(PairChannel::kTypeGuid, pair.typeGuid));
  EXPECT_EQ(HostStateKind::kNone, pair.hostState.kind);
  const std::vector<SeenRecord> records = Records(pair);
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ(142u, records[0].offset);
  EXPECT_EQ("CHNAME", records[0].tag);
  EXPECT_EQ(std::string("Pair\0", 5), records[0].data);
  EXPECT_EQ(158u, records[1].offset);
  EXPECT_EQ("LINKS", records[1].tag);
  EXPECT_EQ(4u, records[1].size);
  EXPECT_EQ(std::vector<std::int32_t>({0, 1}), pair.links);

  EXPECT_TRUE(reader_.ReadEnd(&error)) << error.Message();
  EXPECT_EQ(bytes_.size(), reader_.Position());
}

}  // namespace
