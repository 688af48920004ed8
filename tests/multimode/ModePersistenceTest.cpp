// The "MODE" and "UACN" records, automatic names and prefixed messages.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/multimode/TestModeChannels.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Texts = std::vector<std::string>;
constexpr unsigned int kNoMode = 0xFFFFFFFFu;

// One record as the saver encodes it: the tag and a zero byte, the block size
// (4 bytes, little-endian), then the block.
Bytes Record(const std::string& tag, const Bytes& block) {
  Bytes bytes(tag.begin(), tag.end());
  bytes.push_back(0);
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<unsigned char>((block.size() >> shift) & 0xFFu));
  }
  bytes.insert(bytes.end(), block.begin(), block.end());
  return bytes;
}

Bytes TextBlock(const std::string& text) {
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

Bytes Join(const std::vector<Bytes>& records) {
  Bytes bytes;
  for (const Bytes& record : records) bytes.insert(bytes.end(), record.begin(), record.end());
  return bytes;
}

class ModePersistence : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    LightChannel::initializeCount = 0;
  }
};

TEST_F(ModePersistence, SavesModeAndNamingFlagBehindTheHostRecord) {
  LightChannel channel;
  channel.SetCurrentMode(9);
  A3dFileSaver saver;
  ASSERT_TRUE(channel.SaveChannel(saver));
  EXPECT_TRUE(saver.Ok());
  EXPECT_EQ(Join({Record("CHNAME", TextBlock("Full")), Record("MODE", {9, 0, 0, 0}),
                  Record("UACN", {1})}),
            saver.Data());

  LightChannel unset;
  unset.SetUseAutoChannelName(false);
  A3dFileSaver unsetSaver;
  ASSERT_TRUE(unset.SaveChannel(unsetSaver));
  EXPECT_EQ(
      Join({Record("CHNAME", {}), Record("MODE", {0xFF, 0xFF, 0xFF, 0xFF}), Record("UACN", {0})}),
      unsetSaver.Data());
}

TEST_F(ModePersistence, FailingHostSaveWritesNothingMore) {
  LightChannel channel;
  A3dFileSaver saver;
  saver.RefuseTag("CHNAME");
  EXPECT_FALSE(channel.SaveChannel(saver));
  EXPECT_TRUE(saver.Data().empty());
}

TEST_F(ModePersistence, LoadSwitchesToTheSavedModeAndLeavesLaterRecords) {
  LightChannel saved;
  saved.SetCurrentMode(9);
  A3dFileSaver saver;
  ASSERT_TRUE(saved.SaveChannel(saver));
  Bytes bytes = saver.Data();
  const Bytes next = Record("CID", {1, 0, 0, 0});
  bytes.insert(bytes.end(), next.begin(), next.end());

  A3d_ChannelGroup scene("Scene1");
  LightChannel loaded;
  A3dFileLoader loader(bytes);
  ASSERT_TRUE(loaded.LoadChannel(loader, &scene));
  EXPECT_EQ(9u, loaded._loadedMode);
  EXPECT_EQ(9u, loaded.GetCurrentMode());
  EXPECT_EQ(4, loaded.GetChildCount());
  EXPECT_STREQ("Full", loaded.GetChannelName());
  EXPECT_STREQ("Scene1", loaded.CE_GetOwnCGRName());
  EXPECT_TRUE(loader.GetInfoIfTag("CID"));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ModePersistence, LoadWithoutAutomaticSwitchOnlyKeepsTheLoadedMode) {
  const Bytes bytes = Join(
      {Record("CHNAME", TextBlock("Kept")), Record("MODE", {9, 0, 0, 0}), Record("UACN", {0})});
  LightChannel waiting;
  waiting.SetAutoSetModeOnLoad(false);
  A3dFileLoader loader(bytes);
  ASSERT_TRUE(waiting.LoadChannel(loader, nullptr));
  EXPECT_EQ(9u, waiting._loadedMode);
  EXPECT_EQ(kNoMode, waiting.GetCurrentMode());
  EXPECT_EQ(0, waiting.GetChildCount());
  EXPECT_FALSE(waiting.GetUseAutoChannelName());
  EXPECT_EQ(0, LightChannel::initializeCount);

  // With the switch, a loaded "UACN" of 0 keeps the loaded name.
  LightChannel switched;
  A3dFileLoader again(bytes);
  ASSERT_TRUE(switched.LoadChannel(again, nullptr));
  EXPECT_EQ(9u, switched.GetCurrentMode());
  EXPECT_STREQ("Kept", switched.GetChannelName());
}

TEST_F(ModePersistence, MissingRecordsLeaveTheFieldsAndGoToModeZero) {
  const Bytes bytes = Join({Record("CHNAME", {}), Record("CID", {1, 0, 0, 0})});
  LightChannel waiting;
  waiting.SetAutoSetModeOnLoad(false);
  waiting.SetUseAutoChannelName(false);
  A3dFileLoader loader(bytes);
  ASSERT_TRUE(waiting.LoadChannel(loader, nullptr));
  EXPECT_EQ(0u, waiting._loadedMode);
  EXPECT_FALSE(waiting.GetUseAutoChannelName());
  EXPECT_EQ(kNoMode, waiting.GetCurrentMode());
  EXPECT_TRUE(loader.GetInfoIfTag("CID"));

  LightChannel switched;
  A3dFileLoader again(bytes);
  ASSERT_TRUE(switched.LoadChannel(again, nullptr));
  EXPECT_EQ((Texts{kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[0]",
                   "CGR[].Channel[null]." + kMultiMode + "SetCurrentMode().InvalidMode[0]"}),
            Shown());
}

TEST_F(ModePersistence, RecordsOfAnotherSizeAreSkippedAndAnyNonzeroFlagIsTrue) {
  LightChannel channel;
  channel.SetAutoSetModeOnLoad(false);
  channel.SetUseAutoChannelName(false);
  A3dFileLoader odd(Join({Record("CHNAME", {}), Record("MODE", {9, 0}),
                          Record("UACN", {1, 0, 0, 0}), Record("CID", {})}));
  ASSERT_TRUE(channel.LoadChannel(odd, nullptr));
  EXPECT_EQ(0u, channel._loadedMode);
  EXPECT_FALSE(channel.GetUseAutoChannelName());
  EXPECT_TRUE(odd.GetInfoIfTag("CID"));

  A3dFileLoader two(
      Join({Record("CHNAME", {}), Record("MODE", {2, 0, 0, 0}), Record("UACN", {2})}));
  ASSERT_TRUE(channel.LoadChannel(two, nullptr));
  EXPECT_EQ(2u, channel._loadedMode);
  EXPECT_TRUE(channel.GetUseAutoChannelName());
}

TEST_F(ModePersistence, FailingHostLoadReadsNothing) {
  LightChannel channel;
  A3dFileLoader loader(Record("MODE", {9, 0, 0, 0}));
  EXPECT_FALSE(channel.LoadChannel(loader, nullptr));
  EXPECT_EQ(kNoMode, channel._loadedMode);
  EXPECT_TRUE(loader.GetInfoIfTag("MODE"));
}

TEST_F(ModePersistence, LoadedUnregisteredModeIsReportedAndChangesNothing) {
  LightChannel channel;
  channel.SetCurrentMode(2);
  A3dFileLoader loader(Join({Record("CHNAME", TextBlock("Off")),
                             Record("MODE", {0xFF, 0xFF, 0xFF, 0xFF}), Record("UACN", {1})}));
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  EXPECT_EQ(2u, channel.GetCurrentMode());
  EXPECT_EQ(1, channel.GetChildCount());
  EXPECT_EQ(
      (Texts{"Off.CGR[].Channel[Off]." + kMultiMode + "SetCurrentMode().InvalidMode[4294967295]"}),
      Shown());
}

class ChannelNaming : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
};

TEST_F(ChannelNaming, SettingsStartAsDescribedAndOnlyStore) {
  LightChannel channel;
  EXPECT_EQ("Mode:", channel.GetModeDescription());
  EXPECT_EQ("", channel.GetNamePrefix());
  EXPECT_TRUE(channel.GetUseAutoChannelName());
  EXPECT_EQ(kNoMode, channel.GetCurrentMode());
  EXPECT_EQ(kNoMode, channel._loadedMode);
  EXPECT_EQ(0, channel.GetChildCount());

  channel.SetNamePrefix("P_");
  channel.SetModeDescription("Setting:");
  channel.SetUseAutoChannelName(false);
  EXPECT_EQ("P_", channel.GetNamePrefix());
  EXPECT_EQ("Setting:", channel.GetModeDescription());
  EXPECT_FALSE(channel.GetUseAutoChannelName());
  EXPECT_EQ(nullptr, channel.GetChannelName());
}

TEST_F(ChannelNaming, UnregisteredModeNamesTheChannelUnknownMode) {
  LightChannel channel;
  channel.SetNamePrefix("Light_");
  channel._currentMode = 7;
  channel.SetAutoChannelName();
  EXPECT_STREQ("Light_UnknownMode[7]", channel.GetChannelName());
  EXPECT_EQ((Texts{kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[7]"}), Shown());
  EXPECT_EQ("UnknownMode[7]", DebugMessageText);
}

TEST_F(ChannelNaming, PrefixedMessageNamesModeGroupAndChannel) {
  A3d_ChannelGroup scene("Scene1");
  LightChannel channel;
  channel.SetChannelGroup(&scene);
  channel.SetNamePrefix("Light_");
  channel.SetCurrentMode(5);
  EXPECT_EQ("Light_Dim.CGR[Scene1].Channel[Light_Dim].X 100%",
            channel.GetPrefixedMessage("X 100%"));
  EXPECT_EQ("Light_Dim.CGR[Scene1].Channel[Light_Dim].X",
            channel.GetPrefixedMessage(std::string("X")));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ChannelNaming, PrefixedMessageWithoutModeGroupNameOrMessage) {
  LightChannel channel;
  EXPECT_EQ("CGR[].Channel[null].X", channel.GetPrefixedMessage("X"));

  A3d_ChannelGroup unnamed(nullptr);
  channel.SetChannelGroup(&unnamed);
  channel.SetChannelName("N");
  EXPECT_EQ("CGR[null].Channel[N].", channel.GetPrefixedMessage(nullptr));
  const std::string unset = kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[4294967295]";
  EXPECT_EQ((Texts{unset, kMultiMode + "GetPrefixedMessage().message", unset}), Shown());
}

}  // namespace
