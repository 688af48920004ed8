#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace Onto {
namespace {

using Names = std::vector<std::string>;

// Sets a model on the process's ambassador for the fixture's lifetime and
// restores whatever was set before.
class OntologyItemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = Util::SingletonObject<QAXAmbassador>::Instance().GetOntologyModel();
    Ontology::MetaClassLibrary* const lib = model_.AddLibrary("schema");
    person_ = model_.AddClass(
        lib, {"Person", "schema", "http://schema.org/Person", "", "", false, ""}, nullptr);
    Util::SingletonObject<QAXAmbassador>::Instance().SetOntologyModel(&model_);
  }
  void TearDown() override {
    Util::SingletonObject<QAXAmbassador>::Instance().SetOntologyModel(previous_);
  }

  Ontology::OntologyModel model_;
  const Ontology::MetaClass* person_ = nullptr;
  Ontology::OntologyModel* previous_ = nullptr;
};

TEST_F(OntologyItemTest, ClassHandleResolvesThroughTheCurrentModelOnly) {
  OntologyItem item(person_->GetFQName());
  EXPECT_EQ(item.GetClassHandle(), "http://schema.org/Person");
  EXPECT_TRUE(item.ConstructConcept());

  OntologyItem unknown("schema::Nobody");
  EXPECT_EQ(unknown.GetClassHandle(), "");
  EXPECT_FALSE(unknown.ConstructConcept());

  Util::SingletonObject<QAXAmbassador>::Instance().SetOntologyModel(nullptr);
  EXPECT_EQ(item.GetClassHandle(), "");
  EXPECT_EQ(item._GetOntology(), nullptr);
}

TEST_F(OntologyItemTest, SettingANameAgainReplacesTheValueInPlace) {
  OntologyItem item("schema::Person");
  item.SetAttribute("name", "Ada");
  item.SetAttribute("email", "ada@example.org");
  item.SetAttribute("name", "");
  item.SetAttribute("email", new OntologyItem("schema::ContactPoint"));
  EXPECT_EQ(item.GetAttributeNames(), (Names{"name", "email"}));

  // The empty text is a value.
  std::string text = "untouched";
  EXPECT_TRUE(item.GetAttributeString("name", text));
  EXPECT_EQ(text, "");
  // The text was replaced by an item: no text any more, and `text` untouched.
  text = "untouched";
  EXPECT_FALSE(item.GetAttributeString("email", text));
  EXPECT_FALSE(item.GetAttributeString("missing", text));
  EXPECT_EQ(text, "untouched");
  OntologyItem* nested = nullptr;
  EXPECT_FALSE(item.GetAttributeInstance("name", nested));
  EXPECT_FALSE(item.GetAttributeInstance("missing", nested));
  EXPECT_EQ(nested, nullptr);
  EXPECT_TRUE(item.GetAttributeInstance("email", nested));
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(nested->GetFQName(), "schema::ContactPoint");
}

TEST_F(OntologyItemTest, ManyAttributesKeepFirstSetOrder) {
  OntologyItem item("schema::Person");
  Names expected;
  for (int i = 0; i < 5000; ++i) {
    expected.push_back("a" + std::to_string(i));
    item.SetAttribute(expected.back(), std::to_string(i));
  }
  for (int i = 0; i < 5000; i += 2) item.SetAttribute(expected[i], "again");
  EXPECT_EQ(item.GetAttributeNames(), expected);
  std::string text;
  ASSERT_TRUE(item.GetAttributeString("a4998", text));
  EXPECT_EQ(text, "again");
  ASSERT_TRUE(item.GetAttributeString("a4999", text));
  EXPECT_EQ(text, "4999");
}

TEST_F(OntologyItemTest, NullSelfAndAlreadyHeldItemsChangeNothing) {
  OntologyItem item("schema::Person");
  item.SetAttribute("knows", static_cast<OntologyItem*>(nullptr));
  item.SetAttribute("knows", &item);
  EXPECT_TRUE(item.GetAttributeNames().empty());

  item.SetAttribute("knows", new OntologyItem("schema::Person"));
  OntologyItem* held = nullptr;
  ASSERT_TRUE(item.GetAttributeInstance("knows", held));
  item.SetAttribute("knows", held);  // must not free what it keeps
  OntologyItem* again = nullptr;
  ASSERT_TRUE(item.GetAttributeInstance("knows", again));
  EXPECT_EQ(again, held);
  EXPECT_EQ(again->GetFQName(), "schema::Person");
}

TEST_F(OntologyItemTest, CloneIsDeepAndIndependent) {
  std::unique_ptr<OntologyItem> original(new OntologyItem("schema::Person"));
  auto* address = new OntologyItem("schema::PostalAddress");
  address->SetAttribute("streetAddress", "1 Main St");
  original->SetAttribute("address", address);
  original->SetAttribute("name", "Ada");
  original->PutBaseTypeListAttribute("alternateName", {"A.", "Countess"});

  std::unique_ptr<OntologyItem> copy(original->Clone());
  original->SetAttribute("name", "Changed");
  address->SetAttribute("streetAddress", "2 Side St");
  const std::string copyText = copy->ToText();
  original.reset();  // the copy must not share anything with the original

  EXPECT_EQ(copyText, copy->ToText());
  EXPECT_EQ(copyText,
            "schema::Person\n"
            "  address = schema::PostalAddress\n"
            "    streetAddress = \"1 Main St\"\n"
            "  name = \"Ada\"\n"
            "  alternateName = [\"A.\", \"Countess\"]\n");
  OntologyItem* nested = nullptr;
  ASSERT_TRUE(copy->GetAttributeInstance("address", nested));
  EXPECT_NE(nested, address);
}

TEST_F(OntologyItemTest, ToTextEscapesTextsAndIndentsItemLists) {
  OntologyItem item("schema::Person");
  item.SetAttribute("quote", std::string("say \"hi\"\\\n\t\x01", 12));
  auto* first = new OntologyItem("schema::Person");
  first->SetAttribute("name", "Charles");
  item.PutComplexTypeListAttribute("knows", {first, nullptr, new OntologyItem("schema::Person")});
  item.PutBaseTypeListAttribute("tags", {});
  EXPECT_EQ(item.ToText(),
            "schema::Person\n"
            "  quote = \"say \\\"hi\\\"\\\\\\n\\t\\x01\"\n"
            "  knows = [\n"
            "    - schema::Person\n"
            "      name = \"Charles\"\n"
            "    - schema::Person\n"
            "  ]\n"
            "  tags = []\n");
}

TEST_F(OntologyItemTest, CruncherAndBaseOperationsShareTheSameValues) {
  OntologyItem item("schema::Thing");
  item.SetAttribute("old", "gone");
  IOntologyItemCruncher& cruncher = item;
  cruncher.DeclareConcept(person_->GetFQName());
  EXPECT_TRUE(item.GetAttributeNames().empty());
  cruncher.PutBaseTypeAttribute("name", "Ada");
  cruncher.PutComplexTypeAttribute("knows", new OntologyItem("schema::Person"));
  EXPECT_TRUE(cruncher.ConstructConcept());

  IOntologyItemBase& base = item;
  EXPECT_EQ(base._GetType(), "schema::Person");
  EXPECT_EQ(base._GetOntology(), &model_);
  std::string text;
  EXPECT_TRUE(base._Get("name", text));
  EXPECT_EQ(text, "Ada");
  EXPECT_FALSE(base._Get("knows", text));
  base._SetAttributeComplexTypeList("knows", {new OntologyItem("schema::Person")});
  base._SetAttributeBaseType("name", "Lovelace");
  EXPECT_EQ(item.GetAttributeNames(), (Names{"name", "knows"}));
  OntologyItem* nested = nullptr;
  EXPECT_FALSE(item.GetAttributeInstance("knows", nested));  // a list is not one instance
}

TEST_F(OntologyItemTest, DeletingThroughEitherInterfaceFreesNestedItems) {
  auto* item = new OntologyItem("schema::Person");
  item->SetAttribute("knows", new OntologyItem("schema::Person"));
  IOntologyItemBase* asBase = item;
  delete asBase;
  auto* other = new OntologyItem("schema::Person");
  other->PutComplexTypeListAttribute("knows", {new OntologyItem("schema::Person")});
  IOntologyItemCruncher* asCruncher = other;
  delete asCruncher;  // the leak checker of the sanitizer build verifies both
}

}  // namespace
}  // namespace Onto
}  // namespace QAX
