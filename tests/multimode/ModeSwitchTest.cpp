// Switching modes, link names per mode, and the instance count.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/multimode/TestModeChannels.h"

namespace {

using Texts = std::vector<std::string>;
constexpr unsigned int kNoMode = 0xFFFFFFFFu;

class ModeSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    LightChannel::initializeCount = 0;
  }
};

TEST_F(ModeSwitch, DeclaresTheModeLinksAtTheirPositions) {
  LightChannel channel;
  channel.SetNamePrefix("Lamp_");
  channel.SetCurrentMode(5);

  ASSERT_EQ(3, channel.GetChildCount());
  EXPECT_EQ(0, channel.GetChildCreation(0)->Index);
  EXPECT_EQ(-1, channel.GetChildCreation(1)->Index);
  EXPECT_EQ(2, channel.GetChildCreation(2)->Index);
  EXPECT_STREQ("Brightness", channel.GetChildCreation(0)->LinkName);
  EXPECT_STREQ("Label", channel.GetChildCreation(1)->LinkName);
  EXPECT_STREQ("Direction", channel.GetChildCreation(2)->LinkName);
  EXPECT_EQ(5u, channel.GetCurrentMode());
  EXPECT_EQ((Texts{"ModeIsSet", "SetAutoChannelName"}), channel.calls);
  EXPECT_STREQ("Lamp_Dim", channel.GetChannelName());
  // The registry keeps its own records.
  EXPECT_EQ(0, channel.GetModeDescription(5)->Children[2].Index);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ModeSwitch, ReplacesTheLinksAndRepeatsForTheSameMode) {
  LightChannel channel;
  channel.SetCurrentMode(9);
  EXPECT_EQ(4, channel.GetChildCount());
  Aco_FloatChannel child;
  ASSERT_TRUE(channel.LinkChild(0, &child));

  channel.SetCurrentMode(9);
  EXPECT_EQ(4, channel.GetChildCount());
  EXPECT_EQ(nullptr, channel.GetChild(0));
  EXPECT_EQ(4u, channel.calls.size());

  channel.SetCurrentMode(2);
  ASSERT_EQ(1, channel.GetChildCount());
  EXPECT_STREQ("Transform", channel.GetChildCreation(0)->LinkName);
  EXPECT_EQ(1, LightChannel::initializeCount);
}

TEST_F(ModeSwitch, InvalidModeIsReportedWithTheChannelIdentityAndChangesNothing) {
  A3d_ChannelGroup scene("Scene1");
  LightChannel channel;
  channel.SetChannelGroup(&scene);
  channel.SetNamePrefix("Light_");
  channel.SetCurrentMode(5);
  channel.calls.clear();

  channel.SetCurrentMode(7);
  EXPECT_EQ((Texts{"Light_Dim.CGR[Scene1].Channel[Light_Dim]." + kMultiMode +
                   "SetCurrentMode().InvalidMode[7]"}),
            Shown());
  EXPECT_EQ(5u, channel.GetCurrentMode());
  EXPECT_EQ(3, channel.GetChildCount());
  EXPECT_STREQ("Light_Dim", channel.GetChannelName());
  EXPECT_TRUE(channel.calls.empty());
}

TEST_F(ModeSwitch, InvalidModeFromAnUnregisteredModeReportsTheLookupFirst) {
  LightChannel channel;  // its build sets it to mode 0, which is not registered
  channel.SetCurrentMode(7);
  EXPECT_EQ((Texts{kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[0]",
                   "CGR[].Channel[null]." + kMultiMode + "SetCurrentMode().InvalidMode[7]"}),
            Shown());
}

TEST_F(ModeSwitch, LeavesTheNameAloneWithoutAutomaticNames) {
  LightChannel channel;
  channel.SetChannelName("Kept");
  channel.SetUseAutoChannelName(false);
  channel.SetCurrentMode(9);
  EXPECT_STREQ("Kept", channel.GetChannelName());
  EXPECT_EQ((Texts{"ModeIsSet"}), channel.calls);
}

TEST_F(ModeSwitch, ByIndexFollowsRegistrationOrderAndDoesNotBuild) {
  LightChannel channel;
  channel.SetCurrentModeFromIndex(0);
  EXPECT_EQ(0, LightChannel::initializeCount);
  EXPECT_EQ(kNoMode, channel.GetCurrentMode());

  channel.BuildModesList(false);
  channel.SetCurrentModeFromIndex(1);
  EXPECT_EQ(2u, channel.GetCurrentMode());
  channel.SetCurrentModeFromIndex(3);
  EXPECT_EQ(2u, channel.GetCurrentMode());
  const std::string pastEnd =
      kMultiMode + "SetCurrentModeFromIndex().orderIndex < _modeOrder.size()";
  EXPECT_EQ((Texts{pastEnd, pastEnd}), Shown());
}

TEST_F(ModeSwitch, LinkNamesComeFromTheCurrentModeElseFromTheExtension) {
  LightChannel channel;
  // Builds; the build leaves mode 0 current, which is not registered. The
  // extension recorded the names of the last mode declared, mode 9.
  EXPECT_STREQ("Brightness", channel.GetChildLinkName(0));
  EXPECT_EQ(1, LightChannel::initializeCount);

  channel.SetCurrentMode(5);
  EXPECT_STREQ("Label", channel.GetChildLinkName(1));
  EXPECT_STREQ("Target", channel.ExtensionLinkName(1));
  EXPECT_STREQ("", channel.GetChildLinkName(5));  // past mode 5's links
  EXPECT_EQ((Texts{kMultiMode + "GetChildLinkName().found != _modes.end()",
                   kMultiMode + "GetChildLinkName().link < desc.Children.size()"}),
            Shown());
}

class InstanceCount : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    LightChannel::initializeCount = 0;
  }
};

TEST_F(InstanceCount, CountsCopiesAndTheLastInstanceEmptiesTheRegistry) {
  auto first = std::make_unique<LightChannel>();
  first->SetCurrentMode(5);
  auto copy = std::make_unique<LightChannel>(*first);
  EXPECT_EQ(2u, LightChannel::_refCount);
  {
    LightChannel assigned;
    assigned = *first;
    EXPECT_EQ(3u, LightChannel::_refCount);
    EXPECT_EQ(5u, assigned.GetCurrentMode());
  }
  first.reset();
  EXPECT_EQ(3u, copy->GetModeCount());
  EXPECT_EQ(5u, copy->GetCurrentMode());

  copy.reset();
  EXPECT_EQ(0u, LightChannel::_refCount);
  EXPECT_TRUE(LightChannel::_modeOrder.empty());
  EXPECT_TRUE(Shown().empty());

  LightChannel later;
  later.SetCurrentMode(9);
  EXPECT_EQ(2, LightChannel::initializeCount);
  EXPECT_EQ(3u, later.GetModeCount());
}

TEST_F(InstanceCount, CopiesServeTheirOwnChildren) {
  A3d_ChannelGroup scene("Scene1");
  LightChannel source;
  source.SetChannelGroup(&scene);
  source.SetNamePrefix("S_");
  source.SetCurrentMode(9);
  Aco_FloatChannel first;
  first.SetChannelName("first");
  source.LinkChild(0, &first);
  Aco_FloatChannel second;
  second.SetChannelName("second");

  LightChannel copy(source);
  copy.LinkChild(0, &second);
  copy.SetChannelName("copy");
  EXPECT_STREQ("second", copy.CE_GetLinkedChildName(0));
  EXPECT_STREQ("first", source.CE_GetLinkedChildName(0));
  EXPECT_STREQ("copy", copy.CE_GetOwnName());
  EXPECT_STREQ("Scene1", copy.CE_GetOwnCGRName());
  EXPECT_EQ("S_", copy.GetNamePrefix());

  LightChannel assigned;
  assigned = source;
  assigned.LinkChild(0, &second);
  EXPECT_STREQ("second", assigned.CE_GetLinkedChildName(0));
  EXPECT_STREQ("first", source.CE_GetLinkedChildName(0));
  EXPECT_EQ(9u, assigned.GetCurrentMode());
}

TEST_F(InstanceCount, DestroyingWithACountOfZeroIsReportedAndDoesNotWrap) {
  {
    LightChannel channel;
    channel.SetCurrentMode(5);
    LightChannel::_refCount = 0;
  }
  EXPECT_EQ((Texts{kMultiMode + "~MultiModeChannel()._refCount>0"}), Shown());
  EXPECT_EQ(0u, LightChannel::_refCount);
  { LightChannel last; }  // empties the registry for the tests that follow
  EXPECT_TRUE(LightChannel::_modeOrder.empty());
}

}  // namespace
