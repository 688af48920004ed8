// The module as the engine meets it: opened by path from a program that does
// not link it, used only through its two entry points and the host's channel
// interface, then unloaded; its static state comes up at every load and goes
// away at every unload.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"
#include "tests/support/BinFiles.h"
#include "tests/support/Records.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using qaxoi::test::U32;
using qaxoi::test::Z;

using qaxoi::test::BinPath;

#if defined(_WIN32)
bool IsLoaded(const std::string& path) { return GetModuleHandleA(path.c_str()) != nullptr; }
#else
bool IsLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}
#endif

// A saved item channel of class urn:lib:Thing with a text and a value link.
std::vector<unsigned char> SavedItem(unsigned int childCount) {
  return qaxoi::test::Records({{"CHNAME", Z("Item")},
                               {"MODE", U32(0xFFFFFFFFu)},
                               {"UACN", "\x01"},
                               {"CID", "urn:lib:Thing"},
                               {"CHILDSIZE", U32(childCount)},
                               {"CHILDNAMETYPE", Z("Text")},
                               {"CHILDNAME", Z("lib.name")},
                               {"CHILDNAMETYPE", Z("Value")},
                               {"CHILDNAME", Z("lib.legs")}});
}

TEST(ModuleLoader, EachLoadServesTypeChannelsRecordsAndMessagesAndEachUnloadLetsGo) {
  const std::string path = BinPath(qaxoi::test::kModuleFile);
  ASSERT_FALSE(IsLoaded(path));
  for (int load = 0; load < 3; ++load) {
    SCOPED_TRACE(load);
    std::unique_ptr<ChannelModule> module;
    const qaxoi::Status opened = ChannelModule::Open(path, &module);
    ASSERT_TRUE(opened.ok()) << opened.message();
    const ChannelType* type = module->GetType();
    EXPECT_STREQ("QAXOntologyItem", type->Name);
    EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(type->TypeGuid));
    EXPECT_EQ(7, type->TypeFlags);
    {
      std::unique_ptr<A3d_Channel> channel = module->NewChannel();
      ASSERT_NE(nullptr, channel);
      EXPECT_STREQ("QAXOntologyItem", channel->GetChannelName());

      A3dFileLoader loader(SavedItem(2));
      ASSERT_TRUE(channel->LoadChannel(loader, nullptr));
      A3dFileSaver saver;
      ASSERT_TRUE(channel->SaveChannel(saver));
      EXPECT_EQ(SavedItem(2), saver.Data());
      A3d_List dependencies;
      channel->DoDependencyInit(&dependencies);
      ASSERT_EQ(8u, dependencies.Entries().size());
      EXPECT_EQ("CoreQAX.dll QAX.dll",
                dependencies.Entries()[1].dllName + " " + dependencies.Entries()[2].dllName);

      // The module's messages reach the engine through its static buffers.
      globalEngine->ShowDebugMessage.Clear();
      A3dFileLoader oversized(SavedItem(4000000000u));
      EXPECT_TRUE(channel->LoadChannel(oversized, nullptr));
      EXPECT_EQ(std::vector<std::string>{"Aco_QAXOntologyItem::LoadChannel().ChildSizeTooLarge."
                                         "Count[4000000000]"},
                globalEngine->ShowDebugMessage.Shown());
    }
    module.reset();
    EXPECT_FALSE(IsLoaded(path));
  }
}

}  // namespace
