// The mode registry: registration, queries, building and the scratch lists.
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "channel_extension/LinkTypes.h"
#include "tests/multimode/TestModeChannels.h"

namespace {

using Texts = std::vector<std::string>;

class ModeRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    LightChannel::initializeCount = 0;
    ScriptedChannel::script = nullptr;
  }
  void TearDown() override { ScriptedChannel::script = nullptr; }
};

TEST_F(ModeRegistry, KeepsRegistrationOrderApartFromIdOrder) {
  LightChannel other;
  LightChannel channel;
  channel.BuildModesList(false);
  channel.BuildModesList(false);
  EXPECT_EQ(1, LightChannel::initializeCount);

  EXPECT_EQ(3u, channel.GetModeCount());
  EXPECT_EQ(9u, channel.GetModeFromIndex(2));
  EXPECT_EQ(2u, channel.GetIndexFromMode(9));
  Texts names{"kept"};
  channel.GetModeNames(names);
  EXPECT_EQ((Texts{"kept", "Dimmed light", "Switched off", "Full power"}), names);
  const ModeDescription* dim = channel.GetModeDescription(5);
  ASSERT_NE(nullptr, dim);
  EXPECT_EQ("Dim", dim->ShortName);
  ASSERT_EQ(3u, dim->Children.size());
  EXPECT_TRUE(GuidEquals(kTextLinkGuid, dim->Children[1].Type.TypeGuid));
  EXPECT_STREQ("Label", dim->Children[1].LinkName);
  EXPECT_EQ(-1, dim->Children[1].Index);
  EXPECT_EQ(2, dim->Children[1].LinkParam);
  // The first registration set the builder's mode to the number 0, not to
  // the first id 5, and declared no links; other instances keep theirs.
  EXPECT_EQ(0u, channel.GetCurrentMode());
  EXPECT_EQ(0, channel.GetChildCount());
  EXPECT_EQ(0xFFFFFFFFu, other.GetCurrentMode());
  EXPECT_TRUE(Shown().empty());

  // A forced build registers every id again: the first descriptions and
  // the order stay.
  channel.BuildModesList(true);
  EXPECT_EQ((std::vector<unsigned int>{5, 2, 9}), LightChannel::_modeOrder);
  EXPECT_EQ(kMultiMode + "AddMode().ModeAlreadyExists.Mode[5]", Shown().at(0));
  EXPECT_EQ(0xFFFFFFFFu, channel.GetModeFromIndex(3));
  EXPECT_EQ(kMultiMode + "GetModeFromIndex().index<_modeOrder.size()", Shown().back());
}

TEST_F(ModeRegistry, ScratchListsCollectLinksPerModeOnlyWhileModesInitialize) {
  std::size_t during = 0;
  ScriptedChannel::script = [&during](ScriptedChannel& c) {
    c.InitMode(3);
    c.CreateValueLink("a", 1, false);
    c.CreateStringLink("b");
    c.AddMode(3, "T", "Three");
    c.CreateStringLink("late");  // its mode was copied already: dropped
    c.InitMode(1000);
    during = ScriptedChannel::_tempLinks.size();
    c.CreateValueLink("c", 1, false);
    c.AddMode(1000, "K", "Kilo");
  };
  ScriptedChannel channel;
  channel.BuildModesList(false);

  using Named = std::vector<std::pair<unsigned int, std::string>>;
  EXPECT_EQ((Named{{0, "a"}, {1, "b"}, {2, "late"}, {0, "c"}}), channel.namedLinks);
  EXPECT_EQ(1001u, during);
  EXPECT_TRUE(ScriptedChannel::_tempLinks.empty());
  EXPECT_EQ(2u, channel.GetModeDescription(3)->Children.size());
  EXPECT_EQ(1u, channel.GetModeDescription(1000)->Children.size());

  // Outside InitializeModes there is no scratch list to collect into.
  EXPECT_THROW(channel.CreateValueLink("x", 1, false), std::out_of_range);
  EXPECT_THROW(channel.AddMode(3, "T", "Three"), std::out_of_range);
  EXPECT_EQ((Texts{kMultiMode + "CreateLink()._tempLinks.size() > _initMode"}), Shown());
  EXPECT_EQ(4u, channel.namedLinks.size());
  EXPECT_EQ(2u, channel.GetModeCount());
}

TEST_F(ModeRegistry, LinkBeforeAnyInitModeAbandonsTheBuild) {
  ScriptedChannel::script = [](ScriptedChannel& c) {
    c.CreateValueLink("early", 1, false);
    c.AddMode(1, "O", "One");
  };
  ScriptedChannel channel;
  std::string thrown;
  try {
    channel.BuildModesList(false);
  } catch (const std::out_of_range& error) {
    thrown = error.what();
  }
  EXPECT_EQ("invalid vector<T> subscript", thrown);
  EXPECT_EQ((Texts{kMultiMode + "CreateLink()._tempLinks.size() > _initMode"}), Shown());
  EXPECT_TRUE(channel.namedLinks.empty());
  EXPECT_EQ(0u, channel.GetModeCount());
  EXPECT_TRUE(ScriptedChannel::_tempLinks.empty());
}

}  // namespace
