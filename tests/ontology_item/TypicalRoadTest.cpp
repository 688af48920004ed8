// One typical road through the module loaded by path, as a host and its
// editor use it: make channels, choose a class, link children, build an item,
// save, and load into a new channel.
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "host/sdk/ModuleLoader.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"

namespace {

std::string ModulePath() {
  const char* folder = std::getenv("QAX_BIN_DIR");
  return std::string(folder != nullptr ? folder : ".") + "/QAXOntologyItem.so";
}

TEST(TypicalRoad, FromClassChoiceToAReloadedChannel) {
  qax_test::TestModel model;
  std::string error;
  std::unique_ptr<ChannelModule> module = ChannelModule::Open(ModulePath(), &error);
  ASSERT_NE(nullptr, module) << error;

  std::unique_ptr<A3d_Channel> made = module->NewChannel();
  auto* channel = dynamic_cast<Aco_QAXOntologyItem*>(made.get());
  ASSERT_NE(nullptr, channel);
  EXPECT_STREQ("QAXOntologyItem", channel->GetChannelType().Name);

  // The editor chooses a class and the channel takes it.
  Aco_QAXOntologyItem::SelectedLibrary = channel->GetLibraries().at(0);
  Aco_QAXOntologyItem::SelectedClass = model.parent();
  channel->PrepareLinks(false);
  channel->SetClassHandle(model.parent()->GetInfo().handle);
  ASSERT_EQ(4, channel->GetChildCount());

  // The user links children.
  Aco_StringChannel name;
  name.SetString("Ada");
  Aco_FloatChannel count;
  count.SetFloat(36.0f);
  channel->LinkChild(0, &name);
  channel->LinkChild(2, &count);

  // Another module asks for the item.
  QAX::Onto::OntologyItem* item = channel->GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  std::string value;
  ASSERT_TRUE(item->GetAttributeString("r_text", value));
  EXPECT_EQ("Ada", value);
  ASSERT_TRUE(item->GetAttributeString("p_int", value));
  EXPECT_EQ("36", value);

  // The group is saved and loaded into a new channel.
  A3dFileSaver saver;
  ASSERT_TRUE(channel->SaveChannel(saver));
  std::unique_ptr<A3d_Channel> reloaded = module->NewChannel();
  A3d_ChannelGroup group("Scene");
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(reloaded->LoadChannel(loader, &group));
  auto* copy = dynamic_cast<Aco_QAXOntologyItem*>(reloaded.get());
  ASSERT_NE(nullptr, copy);
  EXPECT_EQ(model.parent()->GetInfo().handle, copy->GetClassHandle());
  EXPECT_EQ(channel->GetLinkDescriptions(), copy->GetLinkDescriptions());
  EXPECT_EQ(4, copy->GetChildCount());
  EXPECT_EQ(&group, copy->GetChannelGroup());

  A3d_List dependencies;
  reloaded->DoDependencyInit(&dependencies);
  EXPECT_EQ(8u, dependencies.Entries().size());
}

}  // namespace
