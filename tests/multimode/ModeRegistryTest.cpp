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
constexpr unsigned int kNoMode = 0xFFFFFFFFu;

class ModeRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    LightChannel::initializeCount = 0;
  }
};

TEST_F(ModeRegistry, KeepsRegistrationOrderApartFromIdOrder) {
  LightChannel channel;
  channel.BuildModesList(false);

  EXPECT_EQ(3u, channel.GetModeCount());
  EXPECT_EQ(5u, channel.GetModeFromIndex(0));
  EXPECT_EQ(2u, channel.GetModeFromIndex(1));
  EXPECT_EQ(9u, channel.GetModeFromIndex(2));
  EXPECT_EQ(0u, channel.GetIndexFromMode(5));
  EXPECT_EQ(2u, channel.GetIndexFromMode(9));
  Texts names{"kept"};
  channel.GetModeNames(names);
  EXPECT_EQ((Texts{"kept", "Dimmed light", "Switched off", "Full power"}), names);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ModeRegistry, DescriptionHoldsTheModeLinksAsDeclared) {
  LightChannel channel;
  channel.BuildModesList(false);

  const ModeDescription* dim = channel.GetModeDescription(5);
  ASSERT_NE(nullptr, dim);
  EXPECT_EQ("Dim", dim->ShortName);
  EXPECT_EQ("Dimmed light", dim->Name);
  EXPECT_EQ(0u, dim->OrderIndex);
  ASSERT_EQ(3u, dim->Children.size());
  const ChildCreation& label = dim->Children[1];
  EXPECT_STREQ("Text", label.Type.Name);
  EXPECT_TRUE(GuidEquals(kTextLinkGuid, label.Type.TypeGuid));
  EXPECT_TRUE(GuidEquals(kAnyTypeLinkGuid, label.Type.BaseGuid));
  EXPECT_STREQ("Label", label.LinkName);
  EXPECT_EQ(-1, label.Index);
  EXPECT_EQ(2, label.LinkParam);
  // Indexed links get their position only when the mode becomes current.
  EXPECT_EQ(0, dim->Children[2].Index);
  EXPECT_EQ(3, dim->Children[2].LinkParam);

  const ModeDescription* off = channel.GetModeDescription(2);
  ASSERT_NE(nullptr, off);
  EXPECT_EQ(1u, off->OrderIndex);
  ASSERT_EQ(1u, off->Children.size());
  EXPECT_STREQ("Matrix", off->Children[0].Type.Name);
}

TEST_F(ModeRegistry, UnregisteredIdsAnswerDefaultsAndLookupsReport) {
  LightChannel channel;
  channel.BuildModesList(false);

  EXPECT_EQ(nullptr, channel.GetModeDescription(7));
  EXPECT_FALSE(channel.IsModeValid(7));
  EXPECT_EQ(0u, channel.GetIndexFromMode(7));
  EXPECT_EQ(kNoMode, channel.GetModeFromIndex(3));
  EXPECT_EQ((Texts{kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[7]",
                   kMultiMode + "GetModeFromIndex().index<_modeOrder.size()"}),
            Shown());
}

TEST_F(ModeRegistry, BuildsOnceUnlessForcedAndKeepsFirstRegistrations) {
  LightChannel channel;
  EXPECT_EQ(0u, channel.GetModeCount());  // queries never build
  channel.BuildModesList(false);
  channel.BuildModesList(false);
  EXPECT_EQ(1, LightChannel::initializeCount);

  channel.BuildModesList(true);
  EXPECT_EQ(2, LightChannel::initializeCount);
  EXPECT_EQ(3u, channel.GetModeCount());
  EXPECT_EQ((std::vector<unsigned int>{5, 2, 9}), LightChannel::_modeOrder);
  EXPECT_EQ((Texts{kMultiMode + "AddMode().ModeAlreadyExists.Mode[5]",
                   kMultiMode + "AddMode().ModeAlreadyExists.Mode[2]",
                   kMultiMode + "AddMode().ModeAlreadyExists.Mode[9]"}),
            Shown());
}

TEST_F(ModeRegistry, FirstRegistrationSetsOnlyTheBuilderToModeZero) {
  LightChannel other;
  LightChannel builder;
  builder.BuildModesList(false);

  // The number 0, not the first registered id 5; no links are declared.
  EXPECT_EQ(0u, builder.GetCurrentMode());
  EXPECT_EQ(0, builder.GetChildCount());
  EXPECT_EQ(kNoMode, other.GetCurrentMode());
}

TEST_F(ModeRegistry, NamesOfAnEmptyRegistryAreReported) {
  LightChannel channel;
  Texts names;
  channel.GetModeNames(names);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ((Texts{kMultiMode + "GetModeNames()._modes.size()>0"}), Shown());
}

TEST_F(ModeRegistry, ClearModesResetsOnlyTheCallingInstance) {
  LightChannel cleared;
  LightChannel other;
  cleared.SetCurrentMode(9);
  other.SetCurrentMode(5);

  cleared.ClearModes();
  EXPECT_EQ(0u, cleared.GetModeCount());
  EXPECT_EQ(kNoMode, cleared.GetCurrentMode());
  EXPECT_EQ(0, cleared.GetChildCount());
  EXPECT_EQ(5u, other.GetCurrentMode());
  EXPECT_EQ(3, other.GetChildCount());

  other.SetCurrentMode(2);  // builds again
  EXPECT_EQ(2, LightChannel::initializeCount);
  EXPECT_EQ(1, other.GetChildCount());
}

class ModeSetUp : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    ScriptedChannel::script = nullptr;
  }
  void TearDown() override { ScriptedChannel::script = nullptr; }
};

TEST_F(ModeSetUp, ScratchListsReachTheModeIdOnlyWhileModesInitialize) {
  std::size_t during = 0;
  ScriptedChannel::script = [&during](ScriptedChannel& c) {
    c.InitMode(1000);
    during = ScriptedChannel::_tempLinks.size();
    c.AddMode(1000, "K", "Kilo");
  };
  ScriptedChannel channel;
  channel.BuildModesList(false);
  EXPECT_EQ(1001u, during);
  EXPECT_TRUE(ScriptedChannel::_tempLinks.empty());
  EXPECT_TRUE(channel.IsModeValid(1000));
}

TEST_F(ModeSetUp, LinksAreNamedByTheirIndexInTheirModeAndLateOnesDropped) {
  ScriptedChannel::script = [](ScriptedChannel& c) {
    c.InitMode(3);
    c.CreateValueLink("a", 1, false);
    c.CreateStringLink("b");
    c.AddMode(3, "T", "Three");
    c.CreateStringLink("late");  // after its mode was copied: belongs to no mode
    c.InitMode(1);
    c.CreateValueLink("c", 1, false);
    c.AddMode(1, "O", "One");
  };
  ScriptedChannel channel;
  channel.BuildModesList(false);

  using Named = std::vector<std::pair<unsigned int, std::string>>;
  EXPECT_EQ((Named{{0, "a"}, {1, "b"}, {2, "late"}, {0, "c"}}), channel.namedLinks);
  EXPECT_EQ(2u, channel.GetModeDescription(3)->Children.size());
  EXPECT_EQ(1u, channel.GetModeDescription(1)->Children.size());
  EXPECT_TRUE(ScriptedChannel::_tempLinks.empty());
}

TEST_F(ModeSetUp, LinkBeforeAnyInitModeIsRefusedAndTheBuildAbandoned) {
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

TEST_F(ModeSetUp, LinksAndKnownModesOutsideTheBuildAreRefused) {
  ScriptedChannel::script = [](ScriptedChannel& c) {
    c.InitMode(1);
    c.AddMode(1, "O", "One");
  };
  ScriptedChannel channel;
  channel.SetCurrentMode(1);

  EXPECT_THROW(channel.CreateValueLink("x", 1, false), std::out_of_range);
  EXPECT_EQ((Texts{kMultiMode + "CreateLink()._tempLinks.size() > _initMode"}), Shown());
  EXPECT_TRUE(channel.namedLinks.empty());
  EXPECT_TRUE(ScriptedChannel::_tempLinks.empty());

  EXPECT_THROW(channel.AddMode(1, "O", "One"), std::out_of_range);
  EXPECT_EQ(1u, channel.GetModeCount());
}

TEST_F(ModeSetUp, MissingTextsAreReportedAndRegisteredEmpty) {
  ScriptedChannel::script = [](ScriptedChannel& c) {
    c.InitMode(4);
    c.CreateLink(kValueLinkGuid, nullptr, nullptr, 1, false);
    c.AddMode(4, "", "");
    c.AddMode(6, "S", "Six");  // without InitMode
  };
  ScriptedChannel channel;
  channel.BuildModesList(false);

  EXPECT_EQ(
      (Texts{kMultiMode + "CreateLink().TypeName", kMultiMode + "CreateLink().Name",
             kMultiMode + "AddMode().shortName.size()>0", kMultiMode + "AddMode().name.size()>0"}),
      Shown());
  const ModeDescription* four = channel.GetModeDescription(4);
  ASSERT_NE(nullptr, four);
  EXPECT_EQ("", four->Name);
  EXPECT_EQ("", four->ShortName);
  ASSERT_EQ(1u, four->Children.size());
  EXPECT_STREQ("", four->Children[0].Type.Name);
  EXPECT_STREQ("", four->Children[0].LinkName);
  EXPECT_EQ("", channel.namedLinks.at(0).second);
  EXPECT_TRUE(channel.GetModeDescription(6)->Children.empty());
}

}  // namespace
