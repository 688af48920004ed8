// Loading a channel module by path, as the host engine does, and its
// channels in group files.
#include <cstdlib>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"

namespace {

std::string BinPath(const std::string& file) { return std::getenv("QAX_BIN_DIR") + ("/" + file); }

TEST(ModuleLoader, NamesTheFileAndTheMissingEntryPoint) {
  std::string error;
  EXPECT_EQ(nullptr, ChannelModule::Open(BinPath("NoSuchModule.so"), &error));
  EXPECT_EQ(0u, error.find("cannot load channel module '" + BinPath("NoSuchModule.so"))) << error;
  // The host's own library loads fine but is no channel module.
  EXPECT_EQ(nullptr, ChannelModule::Open(BinPath("libHighPoly.so"), &error));
  EXPECT_NE(std::string::npos, error.find("libHighPoly.so' does not export 'GetType'")) << error;
}

TEST(ModuleLoader, ModuleChannelsGetTheModulesTypeAndRoundTripInAGroupFile) {
  std::string error;
  std::unique_ptr<ChannelModule> module =
      ChannelModule::Open(BinPath("QAXOntologyItem.so"), &error);
  ASSERT_NE(nullptr, module) << error;
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(module->GetType()->TypeGuid));
  ChannelTypeRegistry registry;  // destroyed, with its channels, before the module
  registry.RegisterBuiltIns();
  ASSERT_TRUE(registry.RegisterModule(*module));
  std::unique_ptr<A3d_Channel> item = module->NewChannel();
  ASSERT_NE(nullptr, item);
  EXPECT_STREQ("QAXOntologyItem", item->GetChannelName());
  item->SetChannelName("Item");
  Aco_FloatChannel value;
  value.SetFloat(4.25f);
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(SaveGroup("Items", {item.get(), &value}, &bytes, &error)) << error;
  GroupFileError loadError;
  std::unique_ptr<LoadedGroup> loaded = LoadGroup(bytes.data(), bytes.size(), registry, &loadError);
  ASSERT_NE(nullptr, loaded) << loadError.Message();
  EXPECT_STREQ("QAXOntologyItem", loaded->Channel(0)->GetChannelType().Name);
  EXPECT_STREQ("Item", loaded->Channel(0)->GetChannelName());
  EXPECT_EQ(4.25f, dynamic_cast<Aco_FloatChannel&>(*loaded->Channel(1)).GetFloat());
}

}  // namespace
