// Building ontology items from the values of the linked children, and writing
// item values back into them.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"

namespace {

using QAX::Onto::OntologyItem;

std::string Text(OntologyItem* item, const std::string& name) {
  std::string value;
  return item != nullptr && item->GetAttributeString(name, value) ? value : "<unset>";
}

class ItemBuilding : public qax_test::ItemTest {
 protected:
  Aco_StringChannel* NewText(const char* value) {
    texts_.push_back(std::make_unique<Aco_StringChannel>());
    texts_.back()->SetString(value);
    return texts_.back().get();
  }
  Aco_FloatChannel* NewFloat(float value) {
    floats_.push_back(std::make_unique<Aco_FloatChannel>());
    floats_.back()->SetFloat(value);
    return floats_.back().get();
  }

  std::vector<std::unique_ptr<Aco_StringChannel>> texts_;
  std::vector<std::unique_ptr<Aco_FloatChannel>> floats_;
};

TEST_F(ItemBuilding, SetsEachAttributeFromTheChildAtItsLinkPosition) {
  Aco_QAXOntologyItem address;
  Prepare(address, model_.address());
  address.LinkChild(0, NewText("Main Street"));
  address.LinkChild(1, NewFloat(12.9f));

  Aco_QAXOntologyItem channel;
  Prepare(channel, model_.child());
  channel.LinkChild(0, NewText("hello"));
  channel.LinkChild(1, NewFloat(0.25f));
  channel.LinkChild(2, NewFloat(-2.7f));
  channel.LinkChild(3, NewFloat(0.5f));
  channel.LinkChild(4, NewText("2024-01-31"));
  channel.LinkChild(5, &address);
  channel.LinkChild(7, NewText("last"));

  OntologyItem* item = channel.GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  EXPECT_EQ("lib::Child", item->GetFQName());
  EXPECT_EQ("urn:lib:Child", item->GetClassHandle());
  const std::vector<std::string> names = {"r_text", "r_bool",    "p_int", "p_real",
                                          "c_date", "c_address", "c_text"};
  EXPECT_EQ(names, item->GetAttributeNames());
  EXPECT_EQ("hello", Text(item, "r_text"));
  EXPECT_EQ("1", Text(item, "r_bool"));
  EXPECT_EQ("-2", Text(item, "p_int"));
  EXPECT_EQ("0.5", Text(item, "p_real"));
  EXPECT_EQ("2024-01-31", Text(item, "c_date"));
  EXPECT_EQ("last", Text(item, "c_text"));
  OntologyItem* nested = nullptr;
  ASSERT_TRUE(item->GetAttributeInstance("c_address", nested));
  EXPECT_EQ("Main Street", Text(nested, "street"));
  EXPECT_EQ("12", Text(nested, "number"));
  // The parent holds a clone: the nested channel keeps its own item.
  EXPECT_NE(address.GetOntologyItem(false), nested);
  EXPECT_EQ(item, channel.GetOntologyItem(false));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ItemBuilding, ChildrenThatGiveNoValueSetNothingAndKeepThePairing) {
  Aco_QAXOntologyItem channel;
  Prepare(channel, model_.parent());
  channel.LinkChild(0, NewFloat(1.0f));   // a float where text is expected
  channel.LinkChild(1, NewText("true"));  // text where a value is expected
  // nothing at 2
  channel.LinkChild(3, NewFloat(4.5f));
  OntologyItem* item = channel.GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  EXPECT_EQ(std::vector<std::string>{"p_real"}, item->GetAttributeNames());
  EXPECT_EQ("4.5", Text(item, "p_real"));

  // A null text sets nothing, an empty text sets the empty text.
  Aco_StringChannel* text = NewText(nullptr);
  channel.LinkChild(0, text);
  EXPECT_EQ("<unset>", Text(channel.GetOntologyItem(true), "r_text"));
  text->SetString("");
  EXPECT_EQ("", Text(channel.GetOntologyItem(true), "r_text"));
}

TEST_F(ItemBuilding, AClassThatDoesNotResolveKeepsTheItemHeldBeforeAlsoWhenNested) {
  Aco_QAXOntologyItem address;
  Prepare(address, model_.address());
  address.LinkChild(0, NewText("Old Road"));
  OntologyItem* before = address.GetOntologyItem(true);
  ASSERT_NE(nullptr, before);
  address.SetClassHandle("urn:gone");
  EXPECT_EQ(nullptr, address.GetOntologyItem(true));
  EXPECT_EQ(before, address.GetOntologyItem(false));
  EXPECT_EQ("Old Road", Text(address.GetOntologyItem(false), "street"));

  // As a nested channel it gives its old item.
  Aco_QAXOntologyItem channel;
  Prepare(channel, model_.child());
  channel.LinkChild(5, &address);
  OntologyItem* nested = nullptr;
  ASSERT_TRUE(channel.GetOntologyItem(true)->GetAttributeInstance("c_address", nested));
  EXPECT_EQ("Old Road", Text(nested, "street"));
}

TEST_F(ItemBuilding, AnAttributeNamedInClassAndParentIsSetTwiceParentFirst) {
  QAX::Ontology::MetaClass* sub = model_.AddClass("Sub", model_.root());
  qax_test::AddAttribute(sub, "r_text", 0);
  Aco_QAXOntologyItem channel;
  Prepare(channel, sub);
  ASSERT_EQ(3, channel.GetChildCount());
  channel.LinkChild(0, NewText("from parent"));
  channel.LinkChild(2, NewText("from class"));
  OntologyItem* item = channel.GetOntologyItem(true);
  EXPECT_EQ("from class", Text(item, "r_text"));
  EXPECT_EQ(std::vector<std::string>{"r_text"}, item->GetAttributeNames());
}

TEST_F(ItemBuilding, ACycleOfNestedChannelsEndsAndIsReportedOnce) {
  QAX::Ontology::MetaClass* node = model_.AddClass("Node", nullptr);
  qax_test::AddAttribute(node, "label", 0);
  qax_test::AddAttribute(node, "next", 5);
  Aco_QAXOntologyItem first;
  Aco_QAXOntologyItem second;
  Prepare(first, node);
  Prepare(second, node);
  first.LinkChild(0, NewText("first"));
  second.LinkChild(0, NewText("second"));
  first.LinkChild(1, &second);
  second.LinkChild(1, &first);

  OntologyItem* item = first.GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  EXPECT_EQ(
      std::vector<std::string>{
          "Aco_QAXOntologyItem::GetOntologyItem().NestedItemCycle.Channel[QAXOntologyItem]"},
      Shown());
  // The second channel took what the first held while it was rebuilding.
  OntologyItem* next = nullptr;
  ASSERT_TRUE(item->GetAttributeInstance("next", next));
  EXPECT_EQ("second", Text(next, "label"));
  // The channels can rebuild again.
  EXPECT_NE(nullptr, second.GetOntologyItem(true));
}

TEST_F(ItemBuilding, AChainDeeperThanTheLimitIsCutAndReported) {
  QAX::Ontology::MetaClass* node = model_.AddClass("Link", nullptr);
  qax_test::AddAttribute(node, "next", 5);
  const int length = Aco_QAXOntologyItem::kMaxNestingDepth + 10;
  std::vector<std::unique_ptr<Aco_QAXOntologyItem>> chain;
  for (int i = 0; i < length; ++i) {
    chain.push_back(std::make_unique<Aco_QAXOntologyItem>());
    Prepare(*chain.back(), node);
    if (i > 0) chain[i - 1]->LinkChild(0, chain.back().get());
  }
  ASSERT_NE(nullptr, chain[0]->GetOntologyItem(true));
  EXPECT_EQ(
      std::vector<std::string>{"Aco_QAXOntologyItem::GetOntologyItem().NestingTooDeep.Limit[256]"},
      Shown());
}

TEST_F(ItemBuilding, FillAttributesPairsTheClassesOwnAttributesWithLinksFromZero) {
  Aco_QAXOntologyItem channel;
  Prepare(channel, model_.child());
  Aco_StringChannel* date = NewText("old");
  Aco_QAXOntologyItem address;
  Aco_FloatChannel* wrongType = NewFloat(7.0f);
  Aco_StringChannel* text = NewText("old");
  channel.LinkChild(0, date);       // own attribute 0: c_date
  channel.LinkChild(1, &address);   // own attribute 1: c_address
  channel.LinkChild(2, wrongType);  // own attribute 2: c_odd, never written
  channel.LinkChild(3, text);       // own attribute 3: c_text

  OntologyItem item("lib::Child");
  item.SetAttribute("c_date", "1999-12-31");
  item.SetAttribute("c_text", "new");
  item.SetAttribute("r_text", "parent's, not written");
  auto* street = new OntologyItem("lib::Address");
  street->SetAttribute("street", "Elm");
  item.SetAttribute("c_address", street);

  channel.FillAttributes(&item);
  EXPECT_STREQ("1999-12-31", date->GetString());
  EXPECT_STREQ("new", text->GetString());
  EXPECT_EQ(7.0f, wrongType->GetFloat());
  ASSERT_NE(nullptr, address.GetOntologyItem(false));
  EXPECT_NE(street, address.GetOntologyItem(false));
  EXPECT_EQ("Elm", Text(address.GetOntologyItem(false), "street"));

  // An item of another class, or none, changes no child.
  OntologyItem other("lib::Root");
  other.SetAttribute("c_date", "newer");
  channel.FillAttributes(&other);
  channel.FillAttributes(nullptr);
  EXPECT_STREQ("1999-12-31", date->GetString());
}

}  // namespace
