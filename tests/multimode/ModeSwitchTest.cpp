// Switching modes, link names per mode, the instance count, and the module's
// own exported instantiation.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/multimode/TestModeChannels.h"

namespace {

using Texts = std::vector<std::string>;

class ModeSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    LightChannel::initializeCount = 0;
  }
};

TEST_F(ModeSwitch, DeclaresTheModeLinksAtTheirPositionsThenNotifiesAndNames) {
  LightChannel channel;
  channel.SetNamePrefix("Lamp_");
  channel.SetCurrentModeFromIndex(0);  // does not build: nothing to switch to
  EXPECT_EQ(0, LightChannel::initializeCount);

  channel.SetCurrentMode(5);
  ASSERT_EQ(3, channel.GetChildCount());
  EXPECT_EQ(0, channel.GetChildCreation(0)->Index);
  EXPECT_EQ(-1, channel.GetChildCreation(1)->Index);
  EXPECT_EQ(2, channel.GetChildCreation(2)->Index);
  EXPECT_STREQ("Direction", channel.GetChildCreation(2)->LinkName);
  EXPECT_EQ((Texts{"ModeIsSet", "SetAutoChannelName"}), channel.calls);
  EXPECT_STREQ("Lamp_Dim", channel.GetChannelName());
  EXPECT_EQ(0, channel.GetModeDescription(5)->Children[2].Index);  // registry untouched

  Aco_FloatChannel child;
  ASSERT_TRUE(channel.LinkChild(0, &child));
  channel.SetUseAutoChannelName(false);
  channel.SetCurrentModeFromIndex(1);  // mode 2: one link replaces three
  EXPECT_EQ(1, channel.GetChildCount());
  EXPECT_EQ(nullptr, channel.GetChild(0));
  EXPECT_STREQ("Lamp_Dim", channel.GetChannelName());
  EXPECT_EQ((Texts{kMultiMode + "SetCurrentModeFromIndex().orderIndex < _modeOrder.size()"}),
            Shown());
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
  EXPECT_TRUE(channel.calls.empty());
}

TEST_F(ModeSwitch, LinkNamesComeFromTheCurrentModeElseFromTheExtension) {
  LightChannel channel;
  // Builds, leaving the unregistered mode 0 current; the extension holds the
  // names of the last mode declared, mode 9.
  EXPECT_STREQ("Brightness", channel.GetChildLinkName(0));
  channel.SetCurrentMode(5);
  EXPECT_STREQ("Label", channel.GetChildLinkName(1));
  EXPECT_STREQ("Target", channel.ExtensionLinkName(1));
  EXPECT_STREQ("", channel.GetChildLinkName(5));
  EXPECT_EQ((Texts{kMultiMode + "GetChildLinkName().found != _modes.end()",
                   kMultiMode + "GetChildLinkName().link < desc.Children.size()"}),
            Shown());
}

TEST_F(ModeSwitch, CopiesAreCountedAndTheLastInstanceEmptiesTheRegistry) {
  A3d_ChannelGroup scene("Scene1");
  auto source = std::make_unique<LightChannel>();
  source->SetChannelGroup(&scene);
  source->SetCurrentMode(9);
  Aco_FloatChannel first;
  first.SetChannelName("first");
  source->LinkChild(0, &first);
  Aco_FloatChannel second;
  second.SetChannelName("second");

  auto copy = std::make_unique<LightChannel>(*source);
  {
    LightChannel assigned;
    assigned = *source;
    EXPECT_EQ(3u, LightChannel::_refCount);
    assigned.LinkChild(0, &second);  // each serves its own children
    EXPECT_STREQ("second", assigned.CE_GetLinkedChildName(0));
    EXPECT_STREQ("first", source->CE_GetLinkedChildName(0));
  }
  copy->LinkChild(0, &second);
  EXPECT_STREQ("second", copy->CE_GetLinkedChildName(0));
  EXPECT_STREQ("Scene1", copy->CE_GetOwnCGRName());

  source.reset();
  EXPECT_EQ(3u, copy->GetModeCount());
  EXPECT_EQ(9u, copy->GetCurrentMode());
  copy.reset();
  EXPECT_EQ(0u, LightChannel::_refCount);
  EXPECT_TRUE(LightChannel::_modeOrder.empty());
  EXPECT_TRUE(Shown().empty());

  LightChannel later;
  later.SetCurrentMode(9);
  EXPECT_EQ(2, LightChannel::initializeCount);
}

// Derives from the exported instantiation, as the module's channel does; its
// registry is the module's.
class ModuleModeChannel : public MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem> {
 public:
  void InitializeModes() override { ++initializeCount; }
  static inline int initializeCount = 0;
};

TEST_F(ModeSwitch, ModuleInstantiationBuildsNoModesOnceAndRefusesEverySwitch) {
  ModuleModeChannel channel;
  channel.SetCurrentMode(3);
  channel.SetCurrentMode(3);
  EXPECT_EQ(1, ModuleModeChannel::initializeCount);
  EXPECT_EQ(0xFFFFFFFFu, channel.GetCurrentMode());
  const std::string unset = kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[4294967295]";
  const std::string invalid =
      "CGR[].Channel[null]." + kMultiMode + "SetCurrentMode().InvalidMode[3]";
  EXPECT_EQ((Texts{unset, invalid, unset, invalid}), Shown());

  Texts names;
  channel.GetModeNames(names);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(kMultiMode + "GetModeNames()._modes.size()>0", Shown().back());
}

}  // namespace
