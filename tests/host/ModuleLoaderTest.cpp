// Loading a channel module by path, as the host engine does. Its channels in
// group files are tested with the group files.
#include <cstdlib>

#include <gtest/gtest.h>

#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"

namespace {

TEST(ModuleLoader, ErrorsNameTheFileOrTheMissingEntryPointAndAModuleAnswersItsType) {
  const std::string bin = std::getenv("QAX_BIN_DIR") + std::string("/");
  std::string error;
  EXPECT_EQ(nullptr, ChannelModule::Open(bin + "NoSuchModule.so", &error));
  EXPECT_EQ(0u, error.find("cannot load channel module '" + bin + "NoSuchModule.so")) << error;
  // The host's own library loads fine but is no channel module.
  EXPECT_EQ(nullptr, ChannelModule::Open(bin + "libHighPoly.so", &error));
  EXPECT_NE(std::string::npos, error.find("libHighPoly.so' does not export 'GetType'")) << error;
  std::unique_ptr<ChannelModule> module = ChannelModule::Open(bin + "QAXOntologyItem.so", &error);
  ASSERT_NE(nullptr, module) << error;
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(module->GetType()->TypeGuid));
}

}  // namespace
