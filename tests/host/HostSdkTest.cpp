// The host SDK stand-in: the tagged records of channel sections (written by
// A3dFileSaver, read back by A3dFileLoader whatever the input) and the debug
// display.

#include <gtest/gtest.h>

#include "host/sdk/HighPoly.h"
#include "tests/support/Records.h"

namespace {

using Bytes = std::vector<unsigned char>;
using qaxoi::test::Records;

std::string ReadRecord(A3dFileLoader& loader, const char* tag) {
  if (!loader.GetInfoIfTag(tag)) return "<missing>";
  std::string data(loader.GetSizeDataBlock(false), '\0');
  loader.CopyTagDataToPointer(data.empty() ? nullptr : &data[0]);
  return data;
}

TEST(FileRecords, RecordsAreTagTerminatorLittleEndianSizeAndDataAndReadBackInOrder) {
  EXPECT_EQ(Bytes({'M', 'O', 'D', 'E', 0, 4, 0, 0, 0, 3, 0, 0, 0}),
            Records({{"MODE", std::string("\3\0\0\0", 4)}}));
  A3dFileLoader loader(Records({{"A", ""}, {"CID", std::string(300, 'z')}}));
  EXPECT_EQ("", ReadRecord(loader, "A"));
  // Asking for another tag leaves the position for another try.
  EXPECT_FALSE(loader.GetInfoIfTag("CIDX"));
  EXPECT_FALSE(loader.GetInfoIfTag("CI"));
  EXPECT_EQ(std::string(300, 'z'), ReadRecord(loader, "CID"));
  EXPECT_TRUE(loader.AtEnd());
}

TEST(FileRecords, TruncatedAndMalformedInputHasNoRecord) {
  const Bytes whole = Records({{"FIRST", "abc"}, {"SECOND", "defgh"}});
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    // Exactly `cut` bytes, so that the sanitizer sees any read behind them.
    A3dFileLoader loader(Bytes(whole.begin(), whole.begin() + cut));
    EXPECT_EQ(cut >= 13 ? "abc" : "<missing>", ReadRecord(loader, "FIRST")) << cut;
    EXPECT_FALSE(loader.PeekRecord(nullptr, nullptr)) << cut;
  }
  Bytes overlong(A3dFileSaver::kMaxTagLength + 1, 'T');
  overlong.insert(overlong.end(), {0, 0, 0, 0, 0});
  for (const Bytes& bytes :
       {Bytes{'T', 0, 0xFF, 0xFF, 0xFF, 0xFF, 1}, overlong, Bytes{'A', 'B', 'C'}, Bytes(64, 0)})
    EXPECT_FALSE(A3dFileLoader(bytes).PeekRecord(nullptr, nullptr));
  EXPECT_FALSE(A3dFileLoader(nullptr, 9).GetInfoIfTag(nullptr));
}

TEST(FileRecords, SaverRefusesBadTagsAndSeesDataThatDoesNotMatchTheSize) {
  A3dFileSaver saver;
  saver.RefuseTag("NO");
  const std::string tooLong(A3dFileSaver::kMaxTagLength + 1, 't');
  for (const char* bad : {"NO", "", static_cast<const char*>(nullptr), tooLong.c_str()})
    EXPECT_EQ(0, saver.SaveTag(bad));
  EXPECT_TRUE(saver.Data().empty());
  EXPECT_NE(0, saver.SaveTag(tooLong.c_str() + 1));
  EXPECT_FALSE(saver.Ok());  // the size is missing
  saver.SaveBlockSize(4);
  saver.SaveDataToFile("ab", 2);
  EXPECT_FALSE(saver.Ok());
  saver.SaveDataToFile("cd", 2);  // in pieces
  EXPECT_TRUE(saver.Ok());
  EXPECT_FALSE(saver.SaveDataToFile("e", 1));
  EXPECT_FALSE(saver.Ok());
  EXPECT_EQ(A3dFileSaver::kMaxTagLength + 1 + 4 + 4, saver.Data().size());
}

TEST(HostChannel, DebugMessagesAreKeptInOrderUpToTheLimit) {
  DebugMessageDisplay display;
  for (const char* text : {"one", static_cast<const char*>(nullptr), "two"}) display(text);
  EXPECT_EQ(std::vector<std::string>({"one", "", "two"}), display.Shown());
  for (std::size_t i = 0; i < DebugMessageDisplay::kMaxKept; ++i) display("x");
  EXPECT_EQ(std::vector<std::string>(DebugMessageDisplay::kMaxKept, "x"), display.Shown());
}

}  // namespace
