// Declaring child links from the class chosen in the editor.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"

namespace {

using Link = Aco_QAXOntologyItem::LinkDescription;

class AttributeLinks : public qax_test::ItemTest {
 protected:
  Aco_QAXOntologyItem channel_;
};

TEST_F(AttributeLinks, DeclaresOneLinkPerAttributeParentsFirstTypedByKind) {
  Select(model_.child());
  channel_.PrepareLinks(false);
  const std::string text = "{6E6FB247-4627-4FBE-8973-48344F23881E}";
  const std::string value = "{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}";
  const std::string item = "{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}";
  const std::string any = "{11111111-1111-1111-1111-111111111111}";
  struct Expected {
    Link link;
    std::string guid;
  };
  const Expected expected[] = {
      {{"Text", "lib.r_text"}, text},
      {{"Value", "lib.r_bool"}, value},
      {{"Value", "lib.p_int"}, value},
      {{"Value", "lib.p_real"}, value},
      {{"Text", "lib.c_date"}, text},
      {{"QAXOntologyItem", "lib.c_address [TODO.TODO]"}, item},
      {{"", ""}, any},  // kind 6: no gap, every default
      {{"Text", "lib.c_text"}, text},
  };
  ASSERT_EQ(8, channel_.GetChildCount());
  ASSERT_EQ(8u, channel_.GetLinkDescriptions().size());
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].link, channel_.GetLinkDescriptions()[i]);
    const ChildCreation* record = channel_.GetChildCreation(i);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(expected[i].link.first, record->Type.Name);
    EXPECT_EQ(expected[i].link.second, record->LinkName);
    EXPECT_EQ(expected[i].guid, GuidToString(record->Type.TypeGuid));
    EXPECT_EQ(any, GuidToString(record->Type.BaseGuid));
    EXPECT_EQ(i == 6 ? -1 : i, record->Index);
    EXPECT_EQ(1, record->LinkParam);
  }
  EXPECT_TRUE(Shown().empty());

  // The last preparation's records are kept, each with the index of its own
  // class.
  ASSERT_EQ(8u, Aco_QAXOntologyItem::SelectedClassLinks.size());
  EXPECT_EQ(0, Aco_QAXOntologyItem::SelectedClassLinks[2].Index);
  EXPECT_STREQ("lib.p_real", Aco_QAXOntologyItem::SelectedClassLinks[3].LinkName);
}

TEST_F(AttributeLinks, PreparesOnlyForAnotherCompleteSelectionUnlessForced) {
  channel_.SetClassHandle(model_.child()->GetInfo().handle);
  Select(model_.child());
  channel_.PrepareLinks(false);
  EXPECT_EQ(0, channel_.GetChildCount());
  channel_.PrepareLinks(true);
  EXPECT_EQ(8, channel_.GetChildCount());
  EXPECT_EQ(model_.child()->GetInfo().handle, channel_.GetClassHandle());

  // A handle the model does not know is still only compared as text.
  channel_.SetClassHandle("urn:nowhere");
  Select(model_.root());
  channel_.PrepareLinks(false);
  EXPECT_EQ(2, channel_.GetChildCount());
  EXPECT_EQ("urn:nowhere", channel_.GetClassHandle());

  Aco_QAXOntologyItem::SelectedLibrary = nullptr;  // a class alone is no selection
  Aco_QAXOntologyItem::SelectedClass = model_.child();
  channel_.PrepareLinks(false);
  EXPECT_EQ(2, channel_.GetChildCount());
  channel_.PrepareLinks(true);
  EXPECT_EQ(0, channel_.GetChildCount());
  EXPECT_TRUE(channel_.GetLinkDescriptions().empty());
  EXPECT_TRUE(Aco_QAXOntologyItem::SelectedClassLinks.empty());
}

TEST_F(AttributeLinks, PreparationReplacesLinksAsAWholeAndLinkedChildrenGo) {
  Select(model_.child());
  channel_.PrepareLinks(false);
  Aco_StringChannel text;
  channel_.LinkChild(0, &text);
  Select(model_.address());
  channel_.PrepareLinks(false);
  EXPECT_EQ(2, channel_.GetChildCount());
  EXPECT_EQ(nullptr, channel_.GetChild(0));
  const std::vector<Link> expected = {{"Text", "lib.street"}, {"Value", "lib.number"}};
  EXPECT_EQ(expected, channel_.GetLinkDescriptions());
}

TEST_F(AttributeLinks, OverLongNamesAreCutToTheirFields) {
  QAX::Ontology::MetaClass* wide = model_.AddClass("Wide", nullptr);
  qax_test::AddAttribute(wide, std::string(200, 'n'), 0);
  qax_test::AddAttribute(wide, std::string(200, 'c'), 5);
  Select(wide);
  channel_.PrepareLinks(false);
  ASSERT_EQ(2, channel_.GetChildCount());
  const std::string first = "lib." + std::string(200, 'n');
  EXPECT_EQ(first.substr(0, 99), channel_.GetChildCreation(0)->LinkName);
  EXPECT_EQ(99u, channel_.GetLinkDescriptions()[1].second.size());
}

TEST_F(AttributeLinks, NewChannelsClearTheSelectionAndCopiesDoNot) {
  Select(model_.child());
  Aco_QAXOntologyItem copy(channel_);
  EXPECT_EQ(model_.child(), Aco_QAXOntologyItem::SelectedClass);
  Aco_QAXOntologyItem fresh;
  EXPECT_EQ(nullptr, Aco_QAXOntologyItem::SelectedClass);
  EXPECT_EQ(nullptr, Aco_QAXOntologyItem::SelectedLibrary);
}

TEST_F(AttributeLinks, ResolvesItsClassAndListsLibrariesThroughTheLoadedModel) {
  channel_.SetClassHandle("urn:lib:Parent");
  EXPECT_EQ(model_.parent(), channel_.GetCurrentMetaClass());
  ASSERT_EQ(1u, channel_.GetLibraries().size());
  EXPECT_EQ("lib", channel_.GetLibraries()[0]->GetName());
  channel_.Reset();
  EXPECT_EQ(nullptr, channel_.GetCurrentMetaClass());

  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
  channel_.SetClassHandle("urn:lib:Parent");
  EXPECT_EQ(nullptr, channel_.GetCurrentMetaClass());
  EXPECT_TRUE(channel_.GetLibraries().empty());
}

}  // namespace
