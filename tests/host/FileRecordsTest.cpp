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

class FileRecords : public ::testing::Test {};

TEST_F(FileRecords, RecordIsTagTerminatorLittleEndianSizeAndData) {
  A3dFileSaver saver;
  WriteRecord(saver, "MODE", std::string("\x03\x00\x00\x00", 4));
  const Bytes expected = {'M', 'O', 'D', 'E', 0, 4, 0, 0, 0, 3, 0, 0, 0};
  EXPECT_EQ(expected, saver.Data());
  EXPECT_TRUE(saver.Ok());
}

TEST_F(FileRecords, RecordsReadBackInOrder) {
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

TEST_F(FileRecords, AWrongTagLeavesThePositionSoAnotherTagCanBeTried) {
  A3dFileSaver saver;
  WriteRecord(saver, "CID", "x");
  A3dFileLoader loader(saver.Data());
  EXPECT_FALSE(loader.GetInfoIfTag("CHILDSIZE"));
  EXPECT_FALSE(loader.GetInfoIfTag("CI"));
  EXPECT_EQ(0u, loader.Position());
  EXPECT_EQ(0ul, loader.GetSizeDataBlock(false));
  EXPECT_EQ("x", ReadRecord(loader, "CID"));
}

TEST_F(FileRecords, SkipMovesBehindTheCurrentRecordUnread) {
  A3dFileSaver saver;
  WriteRecord(saver, "A", "12");
  WriteRecord(saver, "B", "3");
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(loader.GetInfoIfTag("A"));
  EXPECT_EQ(2ul, loader.GetSizeDataBlock(false));
  loader.SkipCurrentTag();
  EXPECT_EQ("3", ReadRecord(loader, "B"));
  // Without a current record, copy and skip do nothing.
  loader.SkipCurrentTag();
  char untouched = 'u';
  loader.CopyTagDataToPointer(&untouched);
  EXPECT_EQ('u', untouched);
  EXPECT_TRUE(loader.AtEnd());
}

TEST_F(FileRecords, EveryTruncationOfAFileHidesTheCutRecord) {
  A3dFileSaver saver;
  WriteRecord(saver, "FIRST", "abc");
  WriteRecord(saver, "SECOND", "defgh");
  const Bytes whole = saver.Data();
  const std::size_t firstLength = 6 + 4 + 3;
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    // A copy of exactly `cut` bytes, so the sanitizer build sees any read
    // behind it.
    A3dFileLoader loader(Bytes(whole.begin(), whole.begin() + cut));
    if (cut < firstLength) {
      EXPECT_FALSE(loader.GetInfoIfTag("FIRST")) << "cut at " << cut;
      continue;
    }
    EXPECT_EQ("abc", ReadRecord(loader, "FIRST"));
    EXPECT_FALSE(loader.GetInfoIfTag("SECOND")) << "cut at " << cut;
    EXPECT_FALSE(loader.PeekRecord(nullptr, nullptr));
  }
}

TEST_F(FileRecords, ASizeRunningPastTheEndIsNotARecord) {
  const Bytes bytes = {'T', 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
  A3dFileLoader loader(bytes.data(), bytes.size());
  EXPECT_FALSE(loader.GetInfoIfTag("T"));
  EXPECT_EQ(0ul, loader.GetSizeDataBlock(false));
}

TEST_F(FileRecords, ATagWithoutTerminatorWithinTheLimitIsNotARecord) {
  Bytes bytes(A3dFileSaver::kMaxTagLength + 1, 'T');
  bytes.push_back(0);
  bytes.insert(bytes.end(), {0, 0, 0, 0});
  A3dFileLoader loader(bytes.data(), bytes.size());
  const std::string tag(A3dFileSaver::kMaxTagLength + 1, 'T');
  EXPECT_FALSE(loader.GetInfoIfTag(tag.c_str()));
  const Bytes unterminated = {'A', 'B', 'C'};
  A3dFileLoader shortLoader(unterminated.data(), unterminated.size());
  EXPECT_FALSE(shortLoader.GetInfoIfTag("ABC"));
}

TEST_F(FileRecords, GarbageAndEmptyInputHaveNoRecords) {
  A3dFileLoader empty(nullptr, 0);
  EXPECT_TRUE(empty.AtEnd());
  EXPECT_FALSE(empty.GetInfoIfTag("A"));
  EXPECT_FALSE(empty.GetInfoIfTag(nullptr));
  const Bytes zeros(64, 0);
  A3dFileLoader zeroLoader(zeros.data(), zeros.size());
  EXPECT_FALSE(zeroLoader.GetInfoIfTag(""));
  EXPECT_FALSE(zeroLoader.PeekRecord(nullptr, nullptr));
}

TEST_F(FileRecords, PeekShowsTheNextRecordWithoutMoving) {
  A3dFileSaver saver;
  WriteRecord(saver, "CHILDNAME", "ab");
  A3dFileLoader loader(saver.Data());
  std::string tag;
  unsigned long size = 0;
  ASSERT_TRUE(loader.PeekRecord(&tag, &size));
  EXPECT_EQ("CHILDNAME", tag);
  EXPECT_EQ(2ul, size);
  EXPECT_EQ(0u, loader.Position());
}

TEST_F(FileRecords, SaverRefusesBadTagsAndWritesNothingForThem) {
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

TEST_F(FileRecords, SaverSeesRecordsWhoseDataDoesNotMatchTheirSize) {
  A3dFileSaver tooFew;
  tooFew.SaveTag("A");
  tooFew.SaveBlockSize(4);
  tooFew.SaveDataToFile("ab", 2);
  EXPECT_FALSE(tooFew.Ok());

  A3dFileSaver tooMany;
  tooMany.SaveTag("A");
  tooMany.SaveBlockSize(1);
  EXPECT_FALSE(tooMany.SaveDataToFile("ab", 2));
  EXPECT_FALSE(tooMany.Ok());

  A3dFileSaver noSize;
  noSize.SaveTag("A");
  noSize.SaveTag("B");
  EXPECT_FALSE(noSize.Ok());

  A3dFileSaver inPieces;
  inPieces.SaveTag("A");
  inPieces.SaveBlockSize(4);
  inPieces.SaveDataToFile("ab", 2);
  inPieces.SaveDataToFile("cd", 2);
  EXPECT_TRUE(inPieces.Ok());
}

}  // namespace
