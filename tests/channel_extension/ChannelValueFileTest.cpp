// Tagged single values: the bytes written and what reading them back gives.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel_extension/ChannelExtension.h"
#include "host/sdk/HighPoly.h"
#include "tests/channel_extension/TestChannel.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The bytes of one record as the host's saver lays it out: the tag and its
// terminator, the block size (4 bytes, least significant first), the block.
Bytes Record(const std::string& tag, const Bytes& block) {
  Bytes bytes(tag.begin(), tag.end());
  bytes.push_back(0);
  const unsigned long size = block.size();
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<unsigned char>((size >> shift) & 0xFFu));
  }
  bytes.insert(bytes.end(), block.begin(), block.end());
  return bytes;
}

// Writes a record with an arbitrary block straight through the saver.
void WriteRaw(A3dFileSaver& saver, const char* tag, const Bytes& block) {
  saver.SaveTag(tag);
  saver.SaveBlockSize(block.size());
  saver.SaveDataToFile(block.data(), block.size());
}

class ChannelValueFile : public ::testing::Test {
 protected:
  // Writes `value` alone and answers the bytes.
  template <class T>
  Bytes Written(const T& value) {
    A3dFileSaver saver;
    EXPECT_TRUE(TestChannel::SaveChannelValue(saver, "V", value));
    EXPECT_TRUE(saver.Ok());
    return saver.Data();
  }

  // Reads the value of the first record of `bytes` into `value`.
  template <class T>
  bool Read(const Bytes& bytes, T& value) {
    A3dFileLoader loader(bytes);
    return TestChannel::ReadChannelValue(loader, "V", value);
  }
};

TEST_F(ChannelValueFile, IntegersAreFourBytesLeastSignificantFirst) {
  EXPECT_EQ(Record("V", {0xFF, 0xFF, 0xFF, 0xFF}), Written(-1));
  EXPECT_EQ(Record("V", {0xC8, 0x00, 0x00, 0x00}), Written(200u));
  EXPECT_EQ(Record("V", {0xFE, 0xFF, 0xFF, 0xFF}), Written(-2l));
  EXPECT_EQ(Record("V", {0x78, 0x56, 0x34, 0x12}), Written(0x12345678ul));
  EXPECT_EQ(Record("V", {0x00, 0x00, 0x00, 0x80}), Written(INT_MIN));
  // Only the low 32 bits of a wider value reach the file.
  EXPECT_EQ(Record("V", {0x05, 0x00, 0x00, 0x00}), Written(0x100000005ul));
}

TEST_F(ChannelValueFile, SignComesFromTheThirtyTwoBitPattern) {
  const Bytes minusOne = Written(-1);
  int i = 0;
  long l = 0;
  unsigned int u = 0;
  unsigned long ul = 0;
  ASSERT_TRUE(Read(minusOne, i) && Read(minusOne, l) && Read(minusOne, u) && Read(minusOne, ul));
  EXPECT_EQ(-1, i);
  EXPECT_EQ(-1l, l);
  EXPECT_EQ(4294967295u, u);
  EXPECT_EQ(4294967295ul, ul);
  ASSERT_TRUE(Read(Written(INT_MIN), l));
  EXPECT_EQ(static_cast<long>(INT_MIN), l);
  ASSERT_TRUE(Read(Written(INT_MAX), i));
  EXPECT_EQ(INT_MAX, i);
}

TEST_F(ChannelValueFile, TextIsItsCharactersAndAZeroByte) {
  EXPECT_EQ(Record("V", {0x54, 0x65, 0x78, 0x74, 0x00}), Written(std::string("Text")));
  EXPECT_EQ(Record("V", {0x00}), Written(std::string()));
  EXPECT_EQ(Record("V", {'%', 'd', 0x00}), Written(std::string("%d")));
  std::string s = "old";
  ASSERT_TRUE(Read(Written(std::string()), s));
  EXPECT_EQ("", s);
}

TEST_F(ChannelValueFile, RefusedTagWritesNothing) {
  A3dFileSaver saver;
  saver.RefuseTag("V");
  EXPECT_FALSE(TestChannel::SaveChannelValue(saver, "V", 5));
  EXPECT_FALSE(TestChannel::SaveChannelValue(saver, "V", std::string("x")));
  EXPECT_TRUE(saver.Data().empty());
  EXPECT_TRUE(saver.Ok());
}

TEST_F(ChannelValueFile, WrongTagReadsNothingAndKeepsThePosition) {
  A3dFileSaver saver;
  TestChannel::SaveChannelValue(saver, "A", 7);
  TestChannel::SaveChannelValue(saver, "B", std::string("b"));
  A3dFileLoader loader(saver.Data());

  int i = 42;
  std::string s = "keep";
  EXPECT_FALSE(TestChannel::ReadChannelValue(loader, "B", i));
  EXPECT_FALSE(TestChannel::ReadChannelValue(loader, "B", s));
  EXPECT_EQ(0u, loader.Position());
  EXPECT_EQ(42, i);
  EXPECT_EQ("keep", s);

  // The caller may try the right tag at the same place.
  ASSERT_TRUE(TestChannel::ReadChannelValue(loader, "A", i));
  ASSERT_TRUE(TestChannel::ReadChannelValue(loader, "B", s));
  EXPECT_EQ(7, i);
  EXPECT_EQ("b", s);
  EXPECT_FALSE(TestChannel::ReadChannelValue(loader, "A", i));
}

TEST_F(ChannelValueFile, IntegerOfWrongSizeIsSkipped) {
  A3dFileSaver saver;
  WriteRaw(saver, "N", {0x01, 0x02});
  WriteRaw(saver, "N", {0x01, 0x02, 0x03, 0x04, 0x05});
  TestChannel::SaveChannelValue(saver, "N", 9u);
  A3dFileLoader loader(saver.Data());

  unsigned int u = 42;
  long l = 42;
  EXPECT_FALSE(TestChannel::ReadChannelValue(loader, "N", u));
  EXPECT_EQ(Record("N", {1, 2}).size(), loader.Position());
  EXPECT_FALSE(TestChannel::ReadChannelValue(loader, "N", l));
  EXPECT_EQ(42u, u);
  EXPECT_EQ(42l, l);
  ASSERT_TRUE(TestChannel::ReadChannelValue(loader, "N", u));
  EXPECT_EQ(9u, u);
  EXPECT_TRUE(loader.AtEnd());
}

TEST_F(ChannelValueFile, TextReaderStaysWithinItsBlock) {
  A3dFileSaver saver;
  WriteRaw(saver, "S", {});
  WriteRaw(saver, "S", {'a', 'b', 'c'});
  WriteRaw(saver, "S", {'x', 0x00, 'y', 0x00});
  TestChannel::SaveChannelValue(saver, "S", std::string("next"));
  A3dFileLoader loader(saver.Data());

  std::string s = "old";
  for (const char* expected : {"", "abc", "x", "next"}) {
    ASSERT_TRUE(TestChannel::ReadChannelValue(loader, "S", s)) << expected;
    EXPECT_EQ(expected, s);
  }
  EXPECT_TRUE(loader.AtEnd());
}

}  // namespace
