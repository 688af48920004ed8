// The ontology item channel as an object: construction, copies, the held
// item's ownership, and the class description.
#include <string>

#include <gtest/gtest.h>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"

namespace {

using QAX::Onto::OntologyItem;

class ChannelObject : public qax_test::ItemTest {
 protected:
  // Gives `channel` an item of class Root whose r_text is `text`.
  static void HoldItem(Aco_QAXOntologyItem& channel, const char* text) {
    OntologyItem item("lib::Root");
    item.SetAttribute("r_text", text);
    channel.SetOntologyItem(&item);
  }

  static std::string HeldText(Aco_QAXOntologyItem& channel) {
    std::string value;
    OntologyItem* item = channel.GetOntologyItem(false);
    return item != nullptr && item->GetAttributeString("r_text", value) ? value : "<none>";
  }
};

TEST_F(ChannelObject, StartsNamedWithoutClassLinksOrItem) {
  Aco_QAXOntologyItem channel;
  EXPECT_STREQ("QAXOntologyItem", channel.GetChannelName());
  EXPECT_EQ("", channel.GetClassHandle());
  EXPECT_EQ(0, channel.GetChildCount());
  EXPECT_EQ(nullptr, channel.GetOntologyItem(false));
  EXPECT_EQ("QAXOntologyItem_", channel.GetNamePrefix());
  EXPECT_EQ("Ontology:", channel.GetModeDescription());
}

TEST_F(ChannelObject, ResetTakesTheClassAwayAndKeepsLinksAndItem) {
  Aco_QAXOntologyItem channel;
  Prepare(channel, model_.root());
  HoldItem(channel, "x");
  channel.Reset();
  EXPECT_EQ("", channel.GetClassHandle());
  EXPECT_EQ(2u, channel.GetLinkDescriptions().size());
  EXPECT_EQ(2, channel.GetChildCount());
  EXPECT_EQ("x", HeldText(channel));
}

TEST_F(ChannelObject, CopiesAndAssignmentsHoldTheirOwnItems) {
  Aco_QAXOntologyItem source;
  source.SetClassHandle("urn:lib:Root");
  HoldItem(source, "original");
  Aco_QAXOntologyItem copy(source);
  EXPECT_NE(source.GetOntologyItem(false), copy.GetOntologyItem(false));
  EXPECT_EQ("urn:lib:Root", copy.GetClassHandle());
  HoldItem(source, "changed");
  EXPECT_EQ("original", HeldText(copy));

  copy = source;
  EXPECT_EQ("changed", HeldText(copy));
  EXPECT_NE(source.GetOntologyItem(false), copy.GetOntologyItem(false));
  Aco_QAXOntologyItem& alias = copy;
  copy = alias;  // self-assignment keeps an equal item
  EXPECT_EQ("changed", HeldText(copy));
  EXPECT_EQ("urn:lib:Root", copy.GetClassHandle());
  copy = Aco_QAXOntologyItem();
  EXPECT_EQ(nullptr, copy.GetOntologyItem(false));
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

  // A root abstract class without documentation or attributes.
  QAX::Ontology::Info::MetaClassInfo info;
  info.name = "Thing";
  info.scopeName = "lib";
  info.handle = "urn:lib:Thing";
  info.isAbstract = true;
  const QAX::Ontology::MetaClass* thing =
      model_.model().AddClass(model_.model().AddLibrary("lib"), info, nullptr);
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
  EXPECT_EQ(std::vector<std::string>(
                {"MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::"
                 "GetModeDescription().ModeNotRecognized.Mode[4294967295]",
                 "CGR[].Channel[QAXOntologyItem].MultiModeChannel<class Aco_FloatChannel,class "
                 "Aco_QAXOntologyItem>::SetCurrentMode().InvalidMode[3]"}),
            Shown());
}

}  // namespace
