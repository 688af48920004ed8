// Group files holding a channel of a loaded channel module.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"

namespace {

std::string ModulePath() {
  const char* folder = std::getenv("QAX_BIN_DIR");
  return std::string(folder != nullptr ? folder : ".") + "/QAXOntologyItem.so";
}

class GroupFileModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module_ = ChannelModule::Open(ModulePath(), &error);
    ASSERT_NE(nullptr, module_) << error;
    registry_.RegisterBuiltIns();
    ASSERT_TRUE(registry_.RegisterModule(*module_));
  }

  // Declared first: every channel below is destroyed before the module.
  std::unique_ptr<ChannelModule> module_;
  ChannelTypeRegistry registry_;
};

TEST_F(GroupFileModuleTest, ModuleChannelRoundTripsWithAHostChannel) {
  std::unique_ptr<A3d_Channel> item = registry_.NewChannel(module_->GetType()->TypeGuid);
  ASSERT_NE(nullptr, item);
  item->SetChannelName("Item");
  Aco_FloatChannel value;
  value.SetFloat(4.25f);
  std::vector<unsigned char> bytes;
  std::string error;
  ASSERT_TRUE(SaveGroup("Items", {item.get(), &value}, &bytes, &error)) << error;

  GroupFileError loadError;
  std::unique_ptr<LoadedGroup> loaded =
      LoadGroup(bytes.data(), bytes.size(), registry_, &loadError);
  ASSERT_NE(nullptr, loaded) << loadError.Message();
  ASSERT_EQ(2u, loaded->ChannelCount());
  A3d_Channel* item2 = loaded->Channel(0);
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}",
            GuidToString(item2->GetChannelType().TypeGuid));
  EXPECT_STREQ("QAXOntologyItem", item2->GetChannelType().Name);
  EXPECT_STREQ("Item", item2->GetChannelName());
  auto* value2 = dynamic_cast<Aco_FloatChannel*>(loaded->Channel(1));
  ASSERT_NE(nullptr, value2);
  EXPECT_EQ(4.25f, value2->GetFloat());
}

}  // namespace
