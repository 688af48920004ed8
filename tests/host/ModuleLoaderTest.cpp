// Loading a channel module by path, as the host engine does.
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"

namespace {

std::string BinPath(const std::string& file) {
  const char* folder = std::getenv("QAX_BIN_DIR");
  return std::string(folder != nullptr ? folder : ".") + "/" + file;
}

TEST(ModuleLoader, FindsTheEntryPointsAndGivesNewChannelsTheModulesType) {
  std::string error;
  std::unique_ptr<ChannelModule> module =
      ChannelModule::Open(BinPath("QAXOntologyItem.so"), &error);
  ASSERT_NE(nullptr, module) << error;
  const ChannelType* type = module->GetType();
  ASSERT_NE(nullptr, type);
  EXPECT_STREQ("QAXOntologyItem", type->Name);
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(type->TypeGuid));
  std::unique_ptr<A3d_Channel> channel = module->NewChannel();
  ASSERT_NE(nullptr, channel);
  EXPECT_STREQ("QAXOntologyItem", channel->GetChannelName());
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}",
            GuidToString(channel->GetChannelType().BaseGuid));
}

TEST(ModuleLoader, NamesTheFileAndTheMissingEntryPoint) {
  std::string error;
  EXPECT_EQ(nullptr, ChannelModule::Open(BinPath("NoSuchModule.so"), &error));
  EXPECT_NE(std::string::npos, error.find("NoSuchModule.so")) << error;
  // The host's own library loads fine but is no channel module.
  EXPECT_EQ(nullptr, ChannelModule::Open(BinPath("libHighPoly.so"), &error));
  EXPECT_NE(std::string::npos, error.find("'GetType'")) << error;
  EXPECT_NE(std::string::npos, error.find("libHighPoly.so")) << error;
}

}  // namespace
