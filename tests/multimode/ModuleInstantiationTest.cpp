// The module's own instantiation, used from outside the module: its registry
// lives in the module and holds no modes.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/multimode/TestModeChannels.h"

namespace {

using Texts = std::vector<std::string>;

// Derives from the exported instantiation, as the module's channel does.
class ModuleModeChannel : public MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem> {
 public:
  void InitializeModes() override { ++initializeCount; }
  static inline int initializeCount = 0;
};

class ModuleInstantiation : public ::testing::Test {
 protected:
  void SetUp() override {
    globalEngine->ShowDebugMessage.Clear();
    ModuleModeChannel::initializeCount = 0;
  }
};

TEST_F(ModuleInstantiation, BuildsAnEmptyRegistryOnceAndRefusesEverySwitch) {
  ModuleModeChannel channel;
  channel.SetCurrentMode(3);
  channel.SetCurrentMode(3);
  EXPECT_EQ(1, ModuleModeChannel::initializeCount);
  EXPECT_EQ(0u, channel.GetModeCount());
  EXPECT_EQ(0xFFFFFFFFu, channel.GetCurrentMode());
  EXPECT_EQ(0, channel.GetChildCount());
  const std::string unset = kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[4294967295]";
  const std::string invalid =
      "CGR[].Channel[null]." + kMultiMode + "SetCurrentMode().InvalidMode[3]";
  EXPECT_EQ((Texts{unset, invalid, unset, invalid}), Shown());
}

TEST_F(ModuleInstantiation, LinkNamesFallBackToTheExtension) {
  ModuleModeChannel channel;
  EXPECT_STREQ("", channel.GetChildLinkName(2));
  EXPECT_EQ((Texts{kMultiMode + "GetChildLinkName().found != _modes.end()"}), Shown());
}

}  // namespace
