// The multi-mode channel: the mode registry, switching
// modes, link names per mode, the instance count, the module's own exported
// instantiation, the "MODE" and "UACN" records, automatic names and prefixed
// messages.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/HighPoly.h"
#include "multimode/MultiModeChannel.h"
#include "multimode/MultiModeChannelDefinitions.h"
#include "ontology_item/ItemModeChannel.h"
#include "tests/support/Records.h"

namespace {

using Bytes = std::vector<unsigned char>;
using qaxoi::test::Records;
using qaxoi::test::U32;
using Texts = std::vector<std::string>;
const std::string kMultiMode =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::";
const Texts& Shown() { return globalEngine->ShowDebugMessage.Shown(); }

// A lamp with three modes, each class its own registry, registered out of id
// order: 5 "Dim" (value, unindexed text, vector), 2 "Off" (matrix) and 9
// "Full" (value, any type, matrix, text). Logs the virtual calls of a switch.
class LightChannel : public MultiModeChannel<Aco_FloatChannel, LightChannel> {
 public:
  using MultiModeChannel::_currentMode, MultiModeChannel::_loadedMode;
  using MultiModeChannel::_modeOrder, MultiModeChannel::_modes, MultiModeChannel::_refCount;
  using MultiModeChannel::CreateLink, MultiModeChannel::GetPrefixedMessage;

  void InitializeModes() override {
    ++initializeCount;
    InitMode(5);
    CreateValueLink("Brightness", 1, false);
    CreateStringLink("Label", 2, true);
    CreateVectorLink("Direction", 3, false);
    AddMode(5, "Dim", "Dimmed light");
    modeAfterFirst = GetCurrentMode();
    InitMode(2);
    CreateMatrixLink("Transform", 1, false);
    AddMode(2, "Off", "Switched off");
    InitMode(9);
    tempListsAfterLast = _tempLinks.size();
    CreateValueLink("Brightness", 1, false);
    CreateGenericLink("Target", 1, false);
    CreateMatrixLink("Transform", 1, false);
    CreateStringLink("Label", 1, false);
    AddMode(9, "Full", "Full power");
  }
  void ModeIsSet() override { calls.push_back("ModeIsSet"); }
  void SetAutoChannelName() override {
    calls.push_back("SetAutoChannelName");
    MultiModeChannel::SetAutoChannelName();
  }

  static inline int initializeCount = 0;
  static inline unsigned int modeAfterFirst = 0;
  static inline std::size_t tempListsAfterLast = 0;
  Texts calls;
};

class MultiMode : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    LightChannel::initializeCount = 0;
  }
};

TEST_F(MultiMode, KeepsRegistrationOrderApartFromIdOrderAndTheFirstDescriptions) {
  LightChannel other;
  LightChannel channel;
  channel.BuildModesList(false);
  channel.BuildModesList(false);
  EXPECT_EQ(1, LightChannel::initializeCount);
  EXPECT_EQ((std::vector<unsigned int>{3, 9, 2, 1, 0}),
            (std::vector<unsigned int>{channel.GetModeCount(), channel.GetModeFromIndex(2),
                                       channel.GetIndexFromMode(9), channel.IsModeValid(9),
                                       channel.IsModeValid(7)}));
  Texts names{"kept"};
  channel.GetModeNames(names);
  EXPECT_EQ((Texts{"kept", "Dimmed light", "Switched off", "Full power"}), names);
  EXPECT_EQ("Mode:", channel.GetModeDescription());  // the editor's label for them
  const ModeDescription* dim = channel.GetModeDescription(5);
  ASSERT_EQ(3u, dim->Children.size());
  EXPECT_STREQ("Label", dim->Children[1].LinkName);
  // The first registration set the builder's mode to the number 0, not to
  // the first id 5, and declared no links; other instances keep theirs.
  EXPECT_EQ((std::vector<unsigned int>{0, 0}),
            (std::vector<unsigned int>{LightChannel::modeAfterFirst, channel.GetCurrentMode()}));
  EXPECT_EQ(0, channel.GetChildCount());
  EXPECT_EQ(0xFFFFFFFFu, other.GetCurrentMode());
  EXPECT_TRUE(Shown().empty());

  channel.BuildModesList(true);  // registers every id again: reported, nothing changes
  EXPECT_EQ((std::vector<unsigned int>{5, 2, 9}), LightChannel::_modeOrder);
  EXPECT_EQ(kMultiMode + "AddMode().ModeAlreadyExists.Mode[5]", Shown().at(0));
  EXPECT_EQ(0xFFFFFFFFu, channel.GetModeFromIndex(3));
  EXPECT_EQ(kMultiMode + "GetModeFromIndex().index<_modeOrder.size()", Shown().back());
}

TEST_F(MultiMode, SwitchDeclaresTheModeLinksAtTheirPositionsThenNotifiesAndNames) {
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

  channel.calls.clear();
  channel.SetCurrentMode(7);  // reported with the channel's identity; nothing changes
  EXPECT_EQ(5u, channel.GetCurrentMode());
  EXPECT_EQ(3, channel.GetChildCount());
  EXPECT_TRUE(channel.calls.empty());

  Aco_FloatChannel child;
  ASSERT_TRUE(channel.LinkChild(0, &child));
  channel.SetUseAutoChannelName(false);
  channel.SetCurrentModeFromIndex(1);  // mode 2: one link replaces three
  EXPECT_EQ(1, channel.GetChildCount());
  EXPECT_EQ(nullptr, channel.GetChild(0));
  EXPECT_STREQ("Lamp_Dim", channel.GetChannelName());
  EXPECT_EQ(
      (Texts{kMultiMode + "SetCurrentModeFromIndex().orderIndex < _modeOrder.size()",
             "Lamp_Dim.CGR[].Channel[Lamp_Dim]." + kMultiMode + "SetCurrentMode().InvalidMode[7]"}),
      Shown());
}

TEST_F(MultiMode, CopiesAreCountedServeTheirOwnChildrenAndTheLastEmptiesTheRegistry) {
  A3d_ChannelGroup scene("Scene1");
  auto source = std::make_unique<LightChannel>();
  source->SetChannelGroup(&scene);
  source->SetCurrentMode(9);
  Aco_FloatChannel first, second;
  first.SetChannelName("first");
  second.SetChannelName("second");
  source->LinkChild(0, &first);
  auto copy = std::make_unique<LightChannel>(*source);
  {
    LightChannel assigned;
    assigned = *source;
    EXPECT_EQ(3u, LightChannel::_refCount);
    assigned.LinkChild(0, &second);
    EXPECT_STREQ("second", assigned.CE_GetLinkedChildName(0));
    EXPECT_STREQ("first", source->CE_GetLinkedChildName(0));
  }
  EXPECT_STREQ("Scene1", copy->CE_GetOwnCGRName());
  source.reset();
  EXPECT_EQ(3u, copy->GetModeCount());
  EXPECT_EQ(9u, copy->GetCurrentMode());
  copy.reset();
  EXPECT_EQ(0u, LightChannel::_refCount);
  EXPECT_TRUE(LightChannel::_modeOrder.empty());
  EXPECT_TRUE(Shown().empty());
}

// Misuse of the registry and of links is reported by the operation that met
// it, and leaves the registry consistent.
TEST_F(MultiMode, MisuseIsReportedByTheOperationThatMetIt) {
  {
    LightChannel channel;
    channel.BuildModesList(false);
    EXPECT_EQ(10u, LightChannel::tempListsAfterLast);  // scratch lists up to id 9
    // A fresh channel re-registering the modes keeps having no mode.
    LightChannel fresh;
    fresh.BuildModesList(true);
    EXPECT_EQ(0xFFFFFFFFu, fresh.GetCurrentMode());
    globalEngine->ShowDebugMessage.Clear();
    // The builder's mode is the number 0, which names no mode: the names are
    // the extension's, as the last mode built declared them.
    EXPECT_STREQ("Target", channel.GetChildLinkName(1));
    LightChannel idle;  // outside InitializeModes there are no scratch lists
    EXPECT_THROW(idle.CreateLink(_GUID{}, "T", "N", 1, false), std::out_of_range);
    A3d_ChannelGroup unnamed(nullptr);
    idle.SetChannelGroup(&unnamed);
    EXPECT_EQ("CGR[null].Channel[null].", idle.GetPrefixedMessage(nullptr));
    idle.SetChannelGroup(nullptr);
    fresh.SetCurrentMode(5);
    EXPECT_STREQ("", fresh.GetChildLinkName(7));  // past the mode's three links

    channel.AddMode(11, "", "");  // registered without InitMode, names empty
    ASSERT_NE(nullptr, channel.GetModeDescription(11));
    EXPECT_EQ(4u, channel.GetModeCount());
    channel.CreateLink(_GUID{}, nullptr, nullptr, 1, false);
    // An id in the order that the registry does not hold.
    LightChannel::_modeOrder.push_back(12);
    Texts names;
    channel.GetModeNames(names);
    EXPECT_EQ(4u, names.size());
    channel.SetCurrentModeFromIndex(4);
    LightChannel::_modeOrder.pop_back();
    channel.ClearModes();
    EXPECT_EQ(0u, channel.GetModeCount());
    EXPECT_TRUE(LightChannel::_modes.empty());
    channel.GetModeNames(names);
    // The three instances go, each meeting a count that is already 0.
    LightChannel::_refCount = 0;
  }
  EXPECT_EQ((Texts{kMultiMode + "GetChildLinkName().found != _modes.end()",
                   kMultiMode + "CreateLink()._tempLinks.size() > _initMode",
                   kMultiMode + "GetPrefixedMessage().message",
                   kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[4294967295]",
                   kMultiMode + "GetChildLinkName().link < desc.Children.size()",
                   kMultiMode + "AddMode().shortName.size()>0",
                   kMultiMode + "AddMode().name.size()>0", kMultiMode + "CreateLink().TypeName",
                   kMultiMode + "CreateLink().Name", kMultiMode + "GetModeNames().it!=_modes.end()",
                   kMultiMode + "SetCurrentModeFromIndex().it!=_modes.end()",
                   kMultiMode + "GetModeNames()._modes.size()>0",
                   kMultiMode + "~MultiModeChannel()._refCount>0",
                   kMultiMode + "~MultiModeChannel()._refCount>0",
                   kMultiMode + "~MultiModeChannel()._refCount>0"}),
            Shown());
  LightChannel::_refCount = 0;
  LightChannel().ClearModes();
}

// Derives from the exported instantiation, as the module's channel does; its
// registry is the module's, which registers no modes.
class ModuleModeChannel : public MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem> {
 public:
  void InitializeModes() override { ++initializeCount; }
  static inline int initializeCount = 0;
};

TEST_F(MultiMode, ModuleInstantiationBuildsNoModesOnceAndRefusesEverySwitch) {
  ModuleModeChannel channel;
  channel.SetCurrentMode(3);
  channel.SetCurrentMode(3);
  EXPECT_EQ(1, ModuleModeChannel::initializeCount);
  EXPECT_EQ(0xFFFFFFFFu, channel.GetCurrentMode());
  EXPECT_STREQ("", channel.GetChildLinkName(0));  // no mode: the extension's own name
  const std::string unset = kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[4294967295]";
  const std::string invalid =
      "CGR[].Channel[null]." + kMultiMode + "SetCurrentMode().InvalidMode[3]";
  EXPECT_EQ((Texts{unset, invalid, unset, invalid,
                   kMultiMode + "GetChildLinkName().found != _modes.end()"}),
            Shown());
}

TEST_F(MultiMode, SavesModeAndNamingFlagBehindTheHostRecord) {
  LightChannel channel, unset;
  channel.SetCurrentMode(9);
  unset.SetUseAutoChannelName(false);
  A3dFileSaver saver, unsetSaver, refusing;
  ASSERT_TRUE(channel.SaveChannel(saver));
  ASSERT_TRUE(unset.SaveChannel(unsetSaver));
  EXPECT_EQ(Records({{"CHNAME", qaxoi::test::Z("Full")}, {"MODE", U32(9)}, {"UACN", "\x01"}}),
            saver.Data());
  EXPECT_EQ(Records({{"CHNAME", ""}, {"MODE", U32(0xFFFFFFFFu)}, {"UACN", std::string(1, 0)}}),
            unsetSaver.Data());
  refusing.RefuseTag("CHNAME");
  EXPECT_FALSE(channel.SaveChannel(refusing));
  EXPECT_TRUE(refusing.Data().empty());
}

// Loading reads "MODE" and "UACN" when they have their sizes, skips them
// otherwise, leaves the records behind them and switches to the loaded mode
// unless told to wait; without the host's record it fails touching nothing.
TEST_F(MultiMode, LoadTakesWellSizedRecordsAndSwitchesUnlessToldToWait) {
  const Bytes full = Records({{"CHNAME", qaxoi::test::Z("K")},
                              {"MODE", U32(9)},
                              {"UACN", std::string(1, 0)},
                              {"CID", ""}});
  const unsigned int none = 0xFFFFFFFFu;
  const struct {
    Bytes bytes;
    bool autoSet, autoNameBefore, loads;
    unsigned int loadedMode, currentMode;
    bool autoName;
  } cases[] = {
      {full, true, true, true, 9, 9, false},  // "UACN" 0: the switch does not rename
      {full, false, true, true, 9, none, false},
      {Records({{"CHNAME", ""}, {"CID", ""}}), false, false, true, 0, none, false},
      {Records({{"CHNAME", ""},
                {"MODE", std::string("\x09\0", 2)},
                {"UACN", std::string("\x01\0", 2)},
                {"CID", ""}}),
       false, false, true, 0, none, false},
      {Records({{"CHNAME", ""}, {"UACN", "\x02"}, {"CID", ""}}), false, false, true, 0, none, true},
      {Records({{"MODE", U32(9)}}), false, false, false, 7, none, false},
  };
  for (const auto& c : cases) {
    LightChannel channel;
    channel.SetAutoSetModeOnLoad(c.autoSet);
    channel.SetUseAutoChannelName(c.autoNameBefore);
    channel._loadedMode = 7;
    A3dFileLoader loader(c.bytes);
    ASSERT_EQ(c.loads, channel.LoadChannel(loader, nullptr));
    EXPECT_EQ(c.loadedMode, channel._loadedMode);
    EXPECT_EQ(c.currentMode, channel.GetCurrentMode());
    EXPECT_EQ(c.autoName, channel.GetUseAutoChannelName());
    EXPECT_EQ(c.loads, loader.GetInfoIfTag("CID"));
  }
  EXPECT_TRUE(Shown().empty());
}

}  // namespace
