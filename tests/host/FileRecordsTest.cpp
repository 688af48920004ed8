// The tagged record encoding of channel group files: A3dFileSaver writes it,
// A3dFileLoader reads it back, whatever the input.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/A3dFileLoader.h"
#include "host/sdk/A3dFileSaver.h"

namespace {

using Bytes = std::vector<unsigned char>;

void WriteRecord(A3dFileSaver& saver, const char* tag, const std::string& data) {
  ASSERT_NE(0, saver.SaveTag(tag));
  saver.SaveBlockSize(static_cast<unsigned long>(data.size()));
  saver.SaveDataToFile(data.data(), static_cast<unsigned long>(data.size()));
}

std::string ReadRecord(A3dFileLoader& loader, const char* tag) {
  if (!loader.GetInfoIfTag(tag)) return "<missing>";
  std::string data(loader.GetSizeDataBlock(false), '\0');
  loader.CopyTagDataToPointer(data.empty() ? nullptr : &data[0]);
  return data;
}

TEST(FileRecords, RecordIsTagTerminatorLittleEndianSizeAndData) {
  A3dFileSaver saver;
  WriteRecord(saver, "MODE", std::string("\x03\x00\x00\x00", 4));
  const Bytes expected = {'M', 'O', 'D', 'E', 0, 4, 0, 0, 0, 3, 0, 0, 0};
  EXPECT_EQ(expected, saver.Data());
  EXPECT_TRUE(saver.Ok());
}

TEST(FileRecords, RecordsReadBackInOrder) {
  A3dFileSaver saver;
  WriteRecord(saver, "A", "first");
  WriteRecord(saver, "B", "");
  WriteRecord(saver, "C", std::string(300, 'z'));
  A3dFileLoader loader(saver.Data());
  EXPECT_EQ("first", ReadRecord(loader, "A"));
  EXPECT_EQ("", ReadRecord(loader, "B"));
  EXPECT_EQ(std::string(300, 'z'), ReadRecord(loader, "C"));
  EXPECT_TRUE(loader.AtEnd());
}

TEST(FileRecords, PeekAndAWrongTagLeaveThePositionSoAnotherTagCanBeTried) {
  A3dFileSaver saver;
  WriteRecord(saver, "CID", "x");
  A3dFileLoader loader(saver.Data());
  std::string tag;
  unsigned long size = 0;
  ASSERT_TRUE(loader.PeekRecord(&tag, &size));
  EXPECT_EQ("CID", tag);
  EXPECT_EQ(1ul, size);
  EXPECT_FALSE(loader.GetInfoIfTag("CIDX"));
  EXPECT_FALSE(loader.GetInfoIfTag("CI"));
  EXPECT_EQ(0u, loader.Position());
  EXPECT_EQ(0ul, loader.GetSizeDataBlock(false));
  EXPECT_EQ("x", ReadRecord(loader, "CID"));
}

TEST(FileRecords, SkipMovesBehindTheCurrentRecordUnread) {
  A3dFileSaver saver;
  WriteRecord(saver, "A", "12");
  WriteRecord(saver, "B", "3");
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(loader.GetInfoIfTag("A"));
  loader.SkipCurrentTag();
  EXPECT_EQ("3", ReadRecord(loader, "B"));
  // Without a current record, copy and skip do nothing.
  loader.SkipCurrentTag();
  char untouched = 'u';
  loader.CopyTagDataToPointer(&untouched);
  EXPECT_EQ('u', untouched);
  EXPECT_TRUE(loader.AtEnd());
}

TEST(FileRecords, EveryTruncationOfAFileHidesTheCutRecord) {
  A3dFileSaver saver;
  WriteRecord(saver, "FIRST", "abc");
  WriteRecord(saver, "SECOND", "defgh");
  const Bytes whole = saver.Data();
  const std::size_t firstLength = 6 + 4 + 3;
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    // A copy of exactly `cut` bytes, so the sanitizer build sees any read
    // behind it.
    A3dFileLoader loader(Bytes(whole.begin(), whole.begin() + cut));
    if (cut < firstLength) {
      EXPECT_FALSE(loader.GetInfoIfTag("FIRST"));
      continue;
    }
    EXPECT_EQ("abc", ReadRecord(loader, "FIRST"));
    EXPECT_FALSE(loader.GetInfoIfTag("SECOND"));
    EXPECT_FALSE(loader.PeekRecord(nullptr, nullptr));
  }
}

TEST(FileRecords, MalformedInputHasNoRecords) {
  const std::string longTag(A3dFileSaver::kMaxTagLength + 1, 'T');
  Bytes overlong(longTag.begin(), longTag.end());
  overlong.insert(overlong.end(), {0, 0, 0, 0, 0});
  struct Case {
    const char* what;
    Bytes bytes;
    const char* tag;
  };
  const Case cases[] = {
      {"size running past the end", {'T', 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}, "T"},
      {"tag longer than the limit", overlong, longTag.c_str()},
      {"tag without terminator", {'A', 'B', 'C'}, "ABC"},
      {"zeros", Bytes(64, 0), ""},
      {"nothing", {}, "A"},
      {"null tag", {}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    A3dFileLoader loader(c.bytes.empty() ? nullptr : c.bytes.data(), c.bytes.size());
    EXPECT_FALSE(loader.GetInfoIfTag(c.tag));
    EXPECT_EQ(0ul, loader.GetSizeDataBlock(false));
    EXPECT_FALSE(loader.PeekRecord(nullptr, nullptr));
  }
}

TEST(FileRecords, SaverRefusesBadTagsAndWritesNothingForThem) {
  A3dFileSaver saver;
  saver.RefuseTag("NO");
  EXPECT_EQ(0, saver.SaveTag("NO"));
  EXPECT_EQ(0, saver.SaveTag(nullptr));
  EXPECT_EQ(0, saver.SaveTag(""));
  EXPECT_EQ(0, saver.SaveTag(std::string(A3dFileSaver::kMaxTagLength + 1, 't').c_str()));
  EXPECT_NE(0, saver.SaveTag(std::string(A3dFileSaver::kMaxTagLength, 't').c_str()));
  saver.SaveBlockSize(0);
  EXPECT_TRUE(saver.Ok());
  EXPECT_EQ(A3dFileSaver::kMaxTagLength + 1 + 4, saver.Data().size());
}

TEST(FileRecords, SaverSeesRecordsWhoseDataDoesNotMatchTheirSize) {
  A3dFileSaver tooFew;
  tooFew.SaveTag("A");
  tooFew.SaveBlockSize(4);
  tooFew.SaveDataToFile("ab", 2);
  EXPECT_FALSE(tooFew.Ok());
  tooFew.SaveDataToFile("cd", 2);  // in pieces
  EXPECT_TRUE(tooFew.Ok());
  EXPECT_FALSE(tooFew.SaveDataToFile("e", 1));
  EXPECT_FALSE(tooFew.Ok());

  A3dFileSaver noSize;
  noSize.SaveTag("A");
  noSize.SaveTag("B");
  EXPECT_FALSE(noSize.Ok());
}

}  // namespace
