// The ontology item channel as an object: construction, copies, the held
// item's ownership, and the class description.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"

namespace {

using QAX::Onto::OntologyItem;

class ChannelObject : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }

  // A channel of class Root holding an item whose r_text is `text`.
  void HoldItem(Aco_QAXOntologyItem& channel, const char* text) {
    OntologyItem item("lib::Root");
    item.SetAttribute("r_text", text);
    channel.SetOntologyItem(&item);
  }

  static std::string HeldText(Aco_QAXOntologyItem& channel) {
    std::string value;
    OntologyItem* item = channel.GetOntologyItem(false);
    return item != nullptr && item->GetAttributeString("r_text", value) ? value : "<none>";
  }

  qax_test::TestModel model_;
};

TEST_F(ChannelObject, StartsNamedWithoutClassLinksOrItem) {
  Aco_QAXOntologyItem channel;
  EXPECT_STREQ("QAXOntologyItem", channel.GetChannelName());
  EXPECT_EQ("", channel.GetClassHandle());
  EXPECT_TRUE(channel.GetLinkDescriptions().empty());
  EXPECT_EQ(0, channel.GetChildCount());
  EXPECT_EQ(nullptr, channel.GetOntologyItem(false));
  EXPECT_EQ("QAXOntologyItem_", channel.GetNamePrefix());
  EXPECT_EQ("Ontology:", channel.GetModeDescription());
  EXPECT_TRUE(channel.GetUseAutoChannelName());
  EXPECT_EQ(0u, channel.GetModeCount());
}

TEST_F(ChannelObject, ResetTakesTheClassAwayAndKeepsLinksAndItem) {
  Aco_QAXOntologyItem channel;
  Aco_QAXOntologyItem::SelectedLibrary = model_.library();
  Aco_QAXOntologyItem::SelectedClass = model_.root();
  channel.PrepareLinks(false);
  channel.SetClassHandle("urn:lib:Root");
  HoldItem(channel, "x");
  channel.Reset();
  EXPECT_EQ("", channel.GetClassHandle());
  EXPECT_EQ(2u, channel.GetLinkDescriptions().size());
  EXPECT_EQ(2, channel.GetChildCount());
  EXPECT_EQ("x", HeldText(channel));
}

TEST_F(ChannelObject, CopiesHoldTheirOwnItems) {
  Aco_QAXOntologyItem source;
  source.SetClassHandle("urn:lib:Root");
  HoldItem(source, "original");
  Aco_QAXOntologyItem copy(source);
  ASSERT_NE(nullptr, copy.GetOntologyItem(false));
  EXPECT_NE(source.GetOntologyItem(false), copy.GetOntologyItem(false));
  EXPECT_EQ("original", HeldText(copy));
  EXPECT_EQ("urn:lib:Root", copy.GetClassHandle());
  HoldItem(source, "changed");
  EXPECT_EQ("original", HeldText(copy));
}

TEST_F(ChannelObject, AssignmentReplacesTheItemAndSelfAssignmentKeepsAnEqualOne) {
  Aco_QAXOntologyItem target;
  HoldItem(target, "target");
  Aco_QAXOntologyItem empty;
  target = empty;
  EXPECT_EQ(nullptr, target.GetOntologyItem(false));

  HoldItem(target, "self");
  target.SetClassHandle("urn:lib:Root");
  Aco_QAXOntologyItem& alias = target;
  target = alias;
  EXPECT_EQ("self", HeldText(target));
  EXPECT_EQ("urn:lib:Root", target.GetClassHandle());

  Aco_QAXOntologyItem source;
  HoldItem(source, "source");
  target = source;
  EXPECT_EQ("source", HeldText(target));
  EXPECT_NE(source.GetOntologyItem(false), target.GetOntologyItem(false));
}

TEST_F(ChannelObject, SetOntologyItemClonesAndNullClears) {
  Aco_QAXOntologyItem channel;
  OntologyItem mine("lib::Root");
  channel.SetOntologyItem(&mine);
  EXPECT_NE(&mine, channel.GetOntologyItem(false));
  // Setting the held item itself keeps an equal one.
  HoldItem(channel, "held");
  channel.SetOntologyItem(channel.GetOntologyItem(false));
  EXPECT_EQ("held", HeldText(channel));
  channel.SetOntologyItem(nullptr);
  EXPECT_EQ(nullptr, channel.GetOntologyItem(false));
  HoldItem(channel, "again");
  channel.ClearOntologyItem();
  EXPECT_EQ(nullptr, channel.GetOntologyItem(false));
}

TEST_F(ChannelObject, DescribesAClassWithItsOwnAttributes) {
  Aco_QAXOntologyItem channel;
  EXPECT_EQ(
      "Class:\tlib.Parent\r\n"
      "Parent:\tlib.Root\r\n"
      "Abstract:\tno\r\n"
      "Doc:\tParent documentation\r\n"
      "\r\n"
      "-------- attributes --------\r\n"
      "\r\n"
      "p_int\tinteger\r\n"
      "p_real\tdouble\r\n",
      channel.GetClassDescription(model_.parent()));
}

TEST_F(ChannelObject, DescribesARootAbstractClassWithoutDocumentationOrAttributes) {
  QAX::Ontology::Info::MetaClassInfo info;
  info.name = "Thing";
  info.scopeName = "lib";
  info.handle = "urn:lib:Thing";
  info.isAbstract = true;
  const QAX::Ontology::MetaClass* thing =
      model_.model().AddClass(model_.model().AddLibrary("lib"), info, nullptr);
  Aco_QAXOntologyItem channel;
  EXPECT_EQ(
      "Class:\tlib.Thing\r\n"
      "Parent:\t.\r\n"
      "Abstract:\tyes\r\n"
      "Doc:\t\r\n"
      "\r\n"
      "-------- attributes --------\r\n"
      "\r\n",
      channel.GetClassDescription(thing));
  EXPECT_EQ("No class selected", channel.GetClassDescription(nullptr));
}

TEST_F(ChannelObject, ModesAreNeverRegisteredSoSwitchingReports) {
  Aco_QAXOntologyItem channel;
  channel.SetCurrentMode(3);
  EXPECT_EQ(0xFFFFFFFFu, channel.GetCurrentMode());
  ASSERT_EQ(2u, globalEngine->ShowDebugMessage.Shown().size());
  EXPECT_EQ(
      "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::"
      "GetModeDescription().ModeNotRecognized.Mode[4294967295]",
      globalEngine->ShowDebugMessage.Shown()[0]);
  EXPECT_EQ(
      "CGR[].Channel[QAXOntologyItem].MultiModeChannel<class Aco_FloatChannel,class "
      "Aco_QAXOntologyItem>::SetCurrentMode().InvalidMode[3]",
      globalEngine->ShowDebugMessage.Shown()[1]);
}

}  // namespace
