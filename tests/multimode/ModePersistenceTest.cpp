// The "MODE" and "UACN" records, automatic names and prefixed messages.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/multimode/TestModeChannels.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Texts = std::vector<std::string>;

// Records as the saver encodes them: each tag and a zero byte, the block
// size (4 bytes, little-endian), then the block.
Bytes Records(const std::vector<std::pair<std::string, Bytes>>& records) {
  Bytes bytes;
  for (const auto& [tag, block] : records) {
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    bytes.push_back(0);
    for (int shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<unsigned char>((block.size() >> shift) & 0xFFu));
    }
    bytes.insert(bytes.end(), block.begin(), block.end());
  }
  return bytes;
}

class ModePersistence : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
};

TEST_F(ModePersistence, SavesModeAndNamingFlagBehindTheHostRecord) {
  LightChannel channel;
  channel.SetCurrentMode(9);
  A3dFileSaver saver;
  ASSERT_TRUE(channel.SaveChannel(saver));
  EXPECT_EQ(Records({{"CHNAME", {'F', 'u', 'l', 'l', 0}}, {"MODE", {9, 0, 0, 0}}, {"UACN", {1}}}),
            saver.Data());

  LightChannel unset;
  unset.SetUseAutoChannelName(false);
  A3dFileSaver unsetSaver;
  ASSERT_TRUE(unset.SaveChannel(unsetSaver));
  EXPECT_EQ(Records({{"CHNAME", {}}, {"MODE", {0xFF, 0xFF, 0xFF, 0xFF}}, {"UACN", {0}}}),
            unsetSaver.Data());

  A3dFileSaver refusing;
  refusing.RefuseTag("CHNAME");
  EXPECT_FALSE(channel.SaveChannel(refusing));
  EXPECT_TRUE(refusing.Data().empty());
}

TEST_F(ModePersistence, LoadSwitchesToTheSavedModeAndLeavesLaterRecords) {
  const Bytes bytes =
      Records({{"CHNAME", {'K', 0}}, {"MODE", {9, 0, 0, 0}}, {"UACN", {0}}, {"CID", {1, 0, 0, 0}}});
  LightChannel switched;
  A3dFileLoader loader(bytes);
  ASSERT_TRUE(switched.LoadChannel(loader, nullptr));
  EXPECT_EQ(9u, switched.GetCurrentMode());
  EXPECT_EQ(4, switched.GetChildCount());
  EXPECT_STREQ("K", switched.GetChannelName());  // "UACN" 0: not renamed
  EXPECT_TRUE(loader.GetInfoIfTag("CID"));

  LightChannel waiting;
  waiting.SetAutoSetModeOnLoad(false);
  A3dFileLoader again(bytes);
  ASSERT_TRUE(waiting.LoadChannel(again, nullptr));
  EXPECT_EQ(9u, waiting._loadedMode);
  EXPECT_EQ(0xFFFFFFFFu, waiting.GetCurrentMode());
  EXPECT_EQ(0, waiting.GetChildCount());
  EXPECT_FALSE(waiting.GetUseAutoChannelName());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ModePersistence, MissingOrMisSizedRecordsLeaveTheFieldsAlone) {
  LightChannel channel;
  channel.SetAutoSetModeOnLoad(false);
  channel.SetUseAutoChannelName(false);
  A3dFileLoader missing(Records({{"CHNAME", {}}, {"CID", {}}}));
  ASSERT_TRUE(channel.LoadChannel(missing, nullptr));
  EXPECT_EQ(0u, channel._loadedMode);
  EXPECT_FALSE(channel.GetUseAutoChannelName());
  EXPECT_TRUE(missing.GetInfoIfTag("CID"));

  channel._loadedMode = 7;
  A3dFileLoader misSized(
      Records({{"CHNAME", {}}, {"MODE", {9, 0}}, {"UACN", {1, 0, 0, 0}}, {"CID", {}}}));
  ASSERT_TRUE(channel.LoadChannel(misSized, nullptr));
  EXPECT_EQ(0u, channel._loadedMode);
  EXPECT_FALSE(channel.GetUseAutoChannelName());
  EXPECT_TRUE(misSized.GetInfoIfTag("CID"));

  A3dFileLoader twoFlag(Records({{"CHNAME", {}}, {"UACN", {2}}}));
  ASSERT_TRUE(channel.LoadChannel(twoFlag, nullptr));
  EXPECT_TRUE(channel.GetUseAutoChannelName());

  channel._loadedMode = 7;
  A3dFileLoader noHostRecord(Records({{"MODE", {9, 0, 0, 0}}}));
  EXPECT_FALSE(channel.LoadChannel(noHostRecord, nullptr));
  EXPECT_EQ(7u, channel._loadedMode);
  EXPECT_TRUE(Shown().empty());

  // Without "MODE" the automatic switch goes to mode 0, not registered here.
  LightChannel switched;
  A3dFileLoader again(Records({{"CHNAME", {}}}));
  ASSERT_TRUE(switched.LoadChannel(again, nullptr));
  EXPECT_EQ((Texts{kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[0]",
                   "CGR[].Channel[null]." + kMultiMode + "SetCurrentMode().InvalidMode[0]"}),
            Shown());
}

TEST_F(ModePersistence, AutomaticNameOfAnUnregisteredModeIsUnknownMode) {
  LightChannel channel;
  channel.SetNamePrefix("Light_");
  channel._currentMode = 7;
  channel.SetAutoChannelName();
  EXPECT_STREQ("Light_UnknownMode[7]", channel.GetChannelName());
  EXPECT_EQ((Texts{kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[7]"}), Shown());
}

TEST_F(ModePersistence, PrefixedMessagesNameModeGroupAndChannelWhenThereAreAny) {
  A3d_ChannelGroup scene("Scene1");
  LightChannel channel;
  EXPECT_EQ("CGR[].Channel[null].X", channel.GetPrefixedMessage("X"));
  const std::string unset = kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[4294967295]";
  EXPECT_EQ((Texts{unset}), Shown());

  A3d_ChannelGroup unnamed(nullptr);
  channel.SetChannelGroup(&unnamed);
  channel.SetChannelName("N");
  EXPECT_EQ("CGR[null].Channel[N].", channel.GetPrefixedMessage(nullptr));
  EXPECT_EQ((Texts{unset, kMultiMode + "GetPrefixedMessage().message", unset}), Shown());

  channel.SetChannelGroup(&scene);
  channel.SetNamePrefix("Light_");
  channel.SetCurrentMode(5);
  EXPECT_EQ("Light_Dim.CGR[Scene1].Channel[Light_Dim].X 100%",
            channel.GetPrefixedMessage(std::string("X 100%")));
}

}  // namespace
