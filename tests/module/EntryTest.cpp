// The module's entry points: the type descriptor GetType hands to the host,
// and the channels InitDLL makes.
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"
#include "module/Module.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#if !defined(_WIN32)
#include "tests/support/AllocationFailure.h"
#endif

namespace {

TEST(Entry, GetTypeRestoresItsOneDescriptorAndLeavesTheHostFieldsAlone) {
  // The GUID in platform byte order, as the type and as the base.
  const unsigned char guid[16] = {0x34, 0xDE, 0x9B, 0x6B, 0xC5, 0x8A, 0xDF, 0x11,
                                  0x94, 0xAA, 0x11, 0xF5, 0xDE, 0xD7, 0x20, 0x85};
  ChannelType* type = GetType();
  std::memset(static_cast<void*>(type), 'x', sizeof(*type));  // what a careless host may do
  ASSERT_EQ(type, GetType());
  unsigned char name[80] = "QAXOntologyItem";  // zero-filled
  EXPECT_EQ(0, std::memcmp(type->Name, name, sizeof(name)));
  EXPECT_EQ(0, std::memcmp(&type->TypeGuid, guid, 16));
  EXPECT_EQ(0, std::memcmp(&type->BaseGuid, guid, 16));
  EXPECT_EQ(7, type->TypeFlags);
  EXPECT_EQ(0, type->TypeExtra);
  for (auto field : {type->HostField0, type->HostField1, type->HostField2}) {
    EXPECT_EQ(0x78787878, field);
  }
}

// What an engine does with InitDLL's channels: one is given a class and
// children and builds its item, is saved, and loads back into another.
TEST(Entry, InitDllChannelsPrepareBuildSaveLoadAndDeclareTheirDependencies) {
  QAX::Ontology::OntologyModel model;
  QAX::Ontology::MetaClassLibrary* zoo = model.AddLibrary("zoo");
  QAX::Ontology::MetaClass* penguin =
      model.AddClass(zoo, {"Penguin", "zoo", "urn:zoo:Penguin", "", "", false, ""}, nullptr);
  penguin->AddAttribute({"name", "zoo", 0, "string"});
  penguin->AddAttribute({"legs", "zoo", 2, "integer"});
  auto& ambassador = QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance();
  ambassador.SetOntologyModel(&model);
  std::unique_ptr<A3d_Channel> made(InitDLL()), other(InitDLL());
  auto* channel = dynamic_cast<Aco_QAXOntologyItem*>(made.get());
  auto* loaded = dynamic_cast<Aco_QAXOntologyItem*>(other.get());
  ASSERT_TRUE(channel != nullptr && loaded != nullptr);
  Aco_QAXOntologyItem::SelectedLibrary = zoo;
  Aco_QAXOntologyItem::SelectedClass = penguin;
  channel->PrepareLinks(true);
  channel->SetClassHandle("urn:zoo:Penguin");
  Aco_StringChannel name;
  name.SetString("Pingu");
  Aco_FloatChannel legs;
  legs.SetFloat(2.0f);
  ASSERT_TRUE(channel->LinkChild(0, &name) && channel->LinkChild(1, &legs));
  ASSERT_NE(nullptr, channel->GetOntologyItem(true));
  EXPECT_EQ("zoo::Penguin\n  name = \"Pingu\"\n  legs = \"2\"\n",
            channel->GetOntologyItem(false)->ToText());

  A3dFileSaver saver;
  ASSERT_TRUE(channel->SaveChannel(saver));
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(loaded->LoadChannel(loader, nullptr));
  EXPECT_EQ(channel->GetLinkDescriptions(), loaded->GetLinkDescriptions());
  EXPECT_EQ("urn:zoo:Penguin", loaded->GetClassHandle());
  A3d_List dependencies;
  loaded->DoDependencyInit(&dependencies);
  EXPECT_EQ(8u, dependencies.Entries().size());
  ambassador.SetOntologyModel(nullptr);
}

// Only where the test program's operator new is the module's too: a DLL
// calls the runtime's own.
#if !defined(_WIN32)
TEST(Entry, InitDllMakesANamedChannelOrNullWhenMemoryRunsOutAndNeverLeaks) {
  // Fails each allocation of making a channel in turn: every attempt ends
  // with a channel or null, never an exception (the sanitizer sees leaks).
  for (std::size_t n = 1;; ++n) {
    A3d_Channel* channel = nullptr;
    bool failed = false;
    {
      qax_test::ScopedAllocationFailure failNth(n);
      EXPECT_NO_THROW(channel = InitDLL());
      failed = qax_test::AllocationFailureHappened();
    }
    std::unique_ptr<A3d_Channel> owned(channel);
    if (!failed) {
      ASSERT_NE(nullptr, channel);
      EXPECT_STREQ("QAXOntologyItem", channel->GetChannelName());
      break;
    }
    EXPECT_EQ(nullptr, channel) << "allocation " << n;
  }
}

#endif

}  // namespace
