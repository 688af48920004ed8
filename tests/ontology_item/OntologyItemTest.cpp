// The ontology item channel: links from the selected class, items built from
// the children's values (nested ones within bounds), saving and loading and
// the automatic name. When preparing replaces the links, copies and items set
// from outside are left to the randomized test of tests/hardening.
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"
#include "tests/support/Records.h"

namespace {

using QAX::Onto::OntologyItem;
using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;
using QAX::Ontology::Info::KindValue;
using Link = Aco_QAXOntologyItem::LinkDescription;
using Texts = std::vector<std::string>;
const std::string kTextGuid = "{6E6FB247-4627-4FBE-8973-48344F23881E}";
const std::string kValueGuid = "{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}";
const std::string kItemGuid = "{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}";
const std::string kAnyGuid = "{11111111-1111-1111-1111-111111111111}";

using qaxoi::test::U32;
using qaxoi::test::Z;

// A channel's file: name, mode and naming flag records, then `records`.
std::vector<unsigned char> File(std::vector<qaxoi::test::Record> records) {
  records.insert(records.begin(),
                 {{"CHNAME", Z("QAXOntologyItem")}, {"MODE", U32(0xFFFFFFFFu)}, {"UACN", "\x01"}});
  return qaxoi::test::Records(records);
}

// Children of classes derived from the host's: told apart by their class tree.
struct Slider : Aco_FloatChannel {};
struct Caption : Aco_StringChannel {};

class OntologyItemChannel : public qaxoi::test::ItemTest {
 protected:
  Aco_StringChannel* NewText(const char* value) {
    texts_.emplace_back().SetString(value);
    return &texts_.back();
  }
  Aco_FloatChannel* NewFloat(float value) {
    floats_.emplace_back().SetFloat(value);
    return &floats_.back();
  }
  static std::vector<unsigned char> Save(Aco_QAXOntologyItem& channel) {
    A3dFileSaver saver;
    EXPECT_TRUE(channel.SaveChannel(saver));
    return saver.Data();
  }
  static bool Load(Aco_QAXOntologyItem& channel, const std::vector<unsigned char>& bytes) {
    A3dFileLoader loader(bytes);
    return channel.LoadChannel(loader, nullptr) && loader.AtEnd();
  }

  std::deque<Aco_StringChannel> texts_;
  std::deque<Aco_FloatChannel> floats_;
  Aco_QAXOntologyItem channel_;
};

TEST_F(OntologyItemChannel, DeclaresOneLinkPerAttributeParentsFirstTypedByKind) {
  Select(model_.child);
  channel_.PrepareLinks(false);
  const std::pair<Link, std::string> expected[] = {
      {{"Text", "lib.r_text"}, kTextGuid},
      {{"Value", "lib.r_bool"}, kValueGuid},
      {{"Value", "lib.p_int"}, kValueGuid},
      {{"Value", "lib.p_real"}, kValueGuid},
      {{"Text", "lib.c_date"}, kTextGuid},
      {{"QAXOntologyItem", "lib.c_address [TODO.TODO]"}, kItemGuid},
      {{"", ""}, kAnyGuid},  // unmapped: no gap, every default
      {{"Text", "lib.c_text"}, kTextGuid},
  };
  ASSERT_EQ(8, channel_.GetChildCount());
  for (int i = 0; i < 8; ++i) {
    const ChildCreation* record = channel_.GetChildCreation(i);
    EXPECT_EQ(expected[i].first, Link(record->Type.Name, record->LinkName)) << i;
    EXPECT_EQ(expected[i].second, GuidToString(record->Type.TypeGuid)) << i;
    EXPECT_EQ(kAnyGuid, GuidToString(record->Type.BaseGuid));
    EXPECT_EQ(i == 6 ? -1 : i, record->Index);
  }

  // Over-long names are cut to the link record's field.
  QAX::Ontology::MetaClass* wide = model_.AddClass("Wide", nullptr);
  qaxoi::test::AddAttribute(wide, std::string(200, 'n'), AttrKind::kComplex);
  Select(wide);
  channel_.PrepareLinks(false);
  EXPECT_EQ(("lib." + std::string(95, 'n')), channel_.GetChildCreation(0)->LinkName);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(model_.library, channel_.GetLibraries().at(0));  // the loaded model's

  // A kind of no name links as an unmapped one does.
  QAX::Ontology::MetaClass* odd = model_.AddClass("Odd", nullptr);
  for (const AttrKind unknown : {AttrKindOf(-1), AttrKindOf(7)}) {
    qaxoi::test::AddAttribute(odd, "u", unknown);
  }
  Select(odd);
  channel_.PrepareLinks(false);
  ASSERT_EQ((std::vector<Link>{{"", ""}, {"", ""}}), channel_.GetLinkDescriptions());
  for (int i = 0; i < 2; ++i) EXPECT_EQ(-1, channel_.GetChildCreation(i)->Index) << i;
  Aco_QAXOntologyItem::SelectedLibrary = nullptr;  // a class alone is no selection
  channel_.PrepareLinks(true);
  EXPECT_EQ(0, channel_.GetChildCount());
}

TEST_F(OntologyItemChannel, SetsEachAttributeFromTheChildAtItsLinkPosition) {
  Aco_QAXOntologyItem address;
  Prepare(address, model_.address);
  address.LinkChild(0, NewText("Main Street"));
  address.LinkChild(1, NewFloat(12.9f));
  Prepare(channel_, model_.child);
  channel_.LinkChild(0, NewText("hello"));
  channel_.LinkChild(1, NewFloat(0.25f));
  channel_.LinkChild(2, NewFloat(-2.7f));
  Slider slider;  // derived children take their base's branch
  slider.SetFloat(0.5f);
  Caption caption;
  caption.SetString("last");
  channel_.LinkChild(3, &slider);
  channel_.LinkChild(4, NewText("2024-01-31"));
  channel_.LinkChild(5, &address);
  channel_.LinkChild(7, &caption);

  OntologyItem* item = channel_.GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  EXPECT_EQ(
      "lib::Child\n  r_text = \"hello\"\n  r_bool = \"1\"\n  p_int = \"-2\"\n  p_real = \"0.5\"\n"
      "  c_date = \"2024-01-31\"\n  c_address = lib::Address\n    street = \"Main Street\"\n"
      "    number = \"12\"\n  c_text = \"last\"\n",
      item->ToText());
  OntologyItem* nested = nullptr;
  ASSERT_TRUE(item->GetAttributeInstance("c_address", nested));
  EXPECT_NE(address.GetOntologyItem(false), nested);  // a clone
  EXPECT_TRUE(Shown().empty());
}

TEST_F(OntologyItemChannel, ACycleOfNestedChannelsEndsAndIsReportedOnce) {
  QAX::Ontology::MetaClass* node = model_.AddClass("Node", nullptr);
  qaxoi::test::AddAttribute(node, "label", AttrKind::kText);
  qaxoi::test::AddAttribute(node, "next", AttrKind::kComplex);
  Aco_QAXOntologyItem second;
  Prepare(channel_, node);
  Prepare(second, node);
  channel_.LinkChild(0, NewText("first"));
  second.LinkChild(0, NewText("second"));
  channel_.LinkChild(1, &second);
  second.LinkChild(1, &channel_);
  OntologyItem* item = channel_.GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  EXPECT_EQ(
      Texts{"Aco_QAXOntologyItem::GetOntologyItem().NestedItemCycle.Channel[QAXOntologyItem]"},
      Shown());
  // The second's item, built within the first's rebuild, stops at the cycle.
  EXPECT_EQ("lib::Node\n  label = \"first\"\n  next = lib::Node\n    label = \"second\"\n",
            item->ToText());
  EXPECT_NE(nullptr, second.GetOntologyItem(true));
}

TEST_F(OntologyItemChannel, AChainDeeperThanTheLimitIsCutAndReported) {
  QAX::Ontology::MetaClass* node = model_.AddClass("Link", nullptr);
  qaxoi::test::AddAttribute(node, "next", AttrKind::kComplex);
  std::vector<std::unique_ptr<Aco_QAXOntologyItem>> chain;
  for (int i = 0; i < Aco_QAXOntologyItem::kMaxNestingDepth + 10; ++i) {
    chain.push_back(std::make_unique<Aco_QAXOntologyItem>());
    Prepare(*chain.back(), node);
    if (i > 0) chain[i - 1]->LinkChild(0, chain.back().get());
  }
  ASSERT_NE(nullptr, chain[0]->GetOntologyItem(true));
  EXPECT_EQ(Texts{"Aco_QAXOntologyItem::GetOntologyItem().NestingTooDeep.Limit[256]"}, Shown());
}

// FillAttributes pairs the class's own attributes, not the inherited ones,
// with the links from 0, and writes only texts and nested items.
TEST_F(OntologyItemChannel, FillAttributesPairsTheClassesOwnAttributesWithLinksFromZero) {
  Prepare(channel_, model_.child);
  Aco_QAXOntologyItem address;
  Aco_StringChannel* date = NewText("old");
  Aco_FloatChannel* odd = NewFloat(7.0f);
  channel_.LinkChild(0, date);
  channel_.LinkChild(1, &address);
  channel_.LinkChild(2, odd);
  OntologyItem item("lib::Child");
  item.SetAttribute("c_date", "1999-12-31");
  item.SetAttribute("c_address", new OntologyItem("lib::Address"));
  item.SetAttribute("c_odd", "ignored");
  OntologyItem other("lib::Address");  // another class's item, like none, writes nothing
  other.SetAttribute("c_date", "2000-01-01");
  channel_.FillAttributes(&other);
  channel_.FillAttributes(nullptr);
  EXPECT_STREQ("old", date->GetString());
  channel_.FillAttributes(&item);
  EXPECT_STREQ("1999-12-31", date->GetString());
  EXPECT_EQ(7.0f, odd->GetFloat());
  EXPECT_EQ("lib::Address", address.GetOntologyItem(false)->GetFQName());
}

TEST_F(OntologyItemChannel, WritesItsRecordsBehindTheMultiModeRecordsAndLoadsThemBack) {
  Prepare(channel_, model_.parent);
  EXPECT_EQ(File({{"CID", "urn:lib:Parent"},
                  {"CHILDSIZE", U32(4)},
                  {"CHILDNAMETYPE", Z("Text")},
                  {"CHILDNAME", Z("lib.r_text")},
                  {"CHILDNAMETYPE", Z("Value")},
                  {"CHILDNAME", Z("lib.r_bool")},
                  {"CHILDNAMETYPE", Z("Value")},
                  {"CHILDNAME", Z("lib.p_int")},
                  {"CHILDNAMETYPE", Z("Value")},
                  {"CHILDNAME", Z("lib.p_real")}}),
            Save(channel_));
  Aco_QAXOntologyItem empty;  // without class and links only a zero count follows
  EXPECT_EQ(File({{"CHILDSIZE", U32(0)}}), Save(empty));
  A3dFileSaver refusing;  // a refused base record ends the save
  refusing.RefuseTag("CHNAME");
  EXPECT_FALSE(channel_.SaveChannel(refusing));
  EXPECT_TRUE(refusing.Data().empty());

  Prepare(channel_, model_.child);
  Aco_QAXOntologyItem loaded;
  ASSERT_TRUE(Load(loaded, Save(channel_)));
  EXPECT_EQ("urn:lib:Child", loaded.GetClassHandle());
  EXPECT_EQ(channel_.GetLinkDescriptions(), loaded.GetLinkDescriptions());
  ASSERT_EQ(8, loaded.GetChildCount());
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(i, loaded.GetChildCreation(i)->Index);  // also for the link of unknown kind
    EXPECT_TRUE(GuidEquals(channel_.GetChildCreation(i)->Type.TypeGuid,
                           loaded.GetChildCreation(i)->Type.TypeGuid))
        << i;
  }
  EXPECT_NE(nullptr, loaded.GetOntologyItem(true));

  // A missing pair of records repeats the previous one, cut to a link record's fields.
  const std::string type = "T" + std::string(90, 't'), name = "N" + std::string(110, 'n');
  ASSERT_TRUE(Load(loaded, File({{"CHILDSIZE", U32(2)},
                                 {"CHILDNAMETYPE", Z(type.c_str())},
                                 {"CHILDNAME", Z(name.c_str())}})));
  EXPECT_EQ((std::vector<Link>{{type, name}, {type.substr(0, 79), name.substr(0, 99)}}),
            loaded.GetLinkDescriptions());
}

// Value links: one more link per further value, behind the last link, with
// the attribute link's description; built into list values, written back by
// FillAttributes, saved in the same records and loaded back as value links.
TEST_F(OntologyItemChannel, FindsALinkByItsAttributesIriOrQualifiedName) {
  model_.model->SetNamespace("lib", "http://example.org/lib#");
  Prepare(channel_, model_.child);
  EXPECT_EQ(8, channel_.AddValueLink(7));  // a second value of c_text
  const std::pair<const char*, int> cases[] = {
      {"lib.r_text", 0},
      {"lib.c_text", 7},     // the attribute's own link, not its value link
      {"lib.c_address", 5},  // a nested item link, found without its name's suffix
      {"http://example.org/lib#p_real", 3},
      {"http://example.org/lib#c_address", 5},
      {"lib.c_address [TODO.TODO]", -1},  // a link name is no attribute name
      {"c_text", -1},
      {"lib.nothing", -1},
      {"", -1},  // the unmapped attribute's link has an empty name
  };
  for (const auto& [attribute, link] : cases) {
    EXPECT_EQ(link, channel_.LinkOfAttribute(attribute)) << attribute;
  }
  EXPECT_EQ(-1, Aco_QAXOntologyItem().LinkOfAttribute("lib.r_text"));
}

TEST_F(OntologyItemChannel, ValueLinksGiveAnAttributeSeveralValues) {
  Prepare(channel_, model_.child);
  EXPECT_EQ(8, channel_.AddValueLink(7));  // c_text
  EXPECT_EQ(9, channel_.AddValueLink(5));  // c_address
  EXPECT_EQ(10, channel_.AddValueLink(7));
  EXPECT_EQ((Link{"Text", "lib.c_text"}), channel_.GetLinkDescriptions()[8]);
  EXPECT_EQ((Link{"QAXOntologyItem", "lib.c_address [TODO.TODO]"}),
            channel_.GetLinkDescriptions()[9]);
  EXPECT_EQ(9, channel_.GetChildCreation(9)->Index);
  EXPECT_EQ(kItemGuid, GuidToString(channel_.GetChildCreation(9)->Type.TypeGuid));
  EXPECT_EQ((std::vector<int>{7, 8, 10}), channel_.GetValueLinks(10));
  EXPECT_EQ((std::vector<int>{5, 9}), channel_.GetValueLinks(5));
  EXPECT_EQ((std::vector<int>{0}), channel_.GetValueLinks(0));
  EXPECT_TRUE(channel_.GetValueLinks(11).empty());
  EXPECT_TRUE(Shown().empty());

  // Refused: a value link, a link out of range, a single-valued attribute, no class.
  QAX::Ontology::MetaClass* pizza = model_.AddClass("Pizza", nullptr);
  pizza->AddAttribute({"spiciness", "lib", KindValue(AttrKind::kText), "string"},
                      QAX::Ontology::AttrCardinality{0, 1});
  Aco_QAXOntologyItem single;
  Prepare(single, pizza);
  Aco_QAXOntologyItem none;
  EXPECT_EQ(-1, channel_.AddValueLink(8));
  EXPECT_EQ(-1, channel_.AddValueLink(11));
  EXPECT_EQ(-1, single.AddValueLink(0));
  EXPECT_EQ(-1, none.AddValueLink(0));
  EXPECT_EQ((Texts{"Aco_QAXOntologyItem::AddValueLink().NotAnAttributeLink.Link[8]",
                   "Aco_QAXOntologyItem::AddValueLink().NotAnAttributeLink.Link[11]",
                   "Aco_QAXOntologyItem::AddValueLink().SingleValued.Attribute[spiciness].Max[1]",
                   "Aco_QAXOntologyItem::AddValueLink().NoClass.Handle[]"}),
            Shown());
  EXPECT_EQ(1, single.GetChildCount());

  // Several values make a list, in link order; one value is set as always.
  Aco_QAXOntologyItem first, second;
  Prepare(first, model_.address);
  Prepare(second, model_.address);
  first.LinkChild(0, NewText("Main Street"));
  second.LinkChild(0, NewText("Side Road"));
  channel_.LinkChild(7, NewText("a"));
  channel_.LinkChild(8, NewText("b"));
  channel_.LinkChild(10, NewText("c"));
  channel_.LinkChild(5, &first);
  channel_.LinkChild(9, &second);
  channel_.LinkChild(0, NewText("root"));
  const std::string built =
      "lib::Child\n  r_text = \"root\"\n  c_address = [\n    - lib::Address\n"
      "      street = \"Main Street\"\n    - lib::Address\n      street = \"Side Road\"\n  ]\n"
      "  c_text = [\"a\", \"b\", \"c\"]\n";
  ASSERT_NE(nullptr, channel_.GetOntologyItem(true));
  EXPECT_EQ(built, channel_.GetOntologyItem(false)->ToText());
  channel_.LinkChild(7, nullptr);
  channel_.LinkChild(10, nullptr);
  EXPECT_EQ(
      "lib::Child\n  r_text = \"root\"\n  c_address = [\n    - lib::Address\n"
      "      street = \"Main Street\"\n    - lib::Address\n      street = \"Side Road\"\n"
      "  ]\n  c_text = \"b\"\n",
      channel_.GetOntologyItem(true)->ToText());
  channel_.LinkChild(7, NewText("a"));
  channel_.LinkChild(10, NewText("c"));

  // Saved in the usual records, one pair per link; loaded back as value links.
  std::vector<qaxoi::test::Record> records{{"CID", "urn:lib:Child"}, {"CHILDSIZE", U32(11)}};
  for (const Link& link : channel_.GetLinkDescriptions()) {
    records.push_back({"CHILDNAMETYPE", Z(link.first.c_str())});
    records.push_back({"CHILDNAME", Z(link.second.c_str())});
  }
  const std::vector<unsigned char> bytes = Save(channel_);
  EXPECT_EQ(File(records), bytes);
  Aco_QAXOntologyItem loaded;
  ASSERT_TRUE(Load(loaded, bytes));
  EXPECT_EQ(channel_.GetLinkDescriptions(), loaded.GetLinkDescriptions());
  EXPECT_FALSE(loaded.GetLoadBinding().rebound);
  EXPECT_EQ((std::vector<int>{7, 8, 10}), loaded.GetValueLinks(7));
  EXPECT_EQ((std::vector<int>{5, 9}), loaded.GetValueLinks(9));
  for (int i = 0; i < 11; ++i) loaded.LinkChild(i, channel_.GetChild(i));
  ASSERT_NE(nullptr, loaded.GetOntologyItem(true));
  EXPECT_EQ(built, loaded.GetOntologyItem(false)->ToText());

  // FillAttributes writes element 0 of a list where it writes a single value
  // (own attribute n to link n: link 3, no text, for c_text) and element k
  // into the attribute's k-th link.
  OntologyItem item("lib::Child");
  item.PutBaseTypeListAttribute("c_text", {"x", "y", "z", "beyond"});
  item.PutComplexTypeListAttribute(
      "c_address", {new OntologyItem("lib::Address"), new OntologyItem("lib::Root")});
  channel_.FillAttributes(&item);
  const auto textAt = [this](int link) {
    return std::string(static_cast<Aco_StringChannel*>(channel_.GetChild(link))->GetString());
  };
  EXPECT_EQ((Texts{"a", "y", "z"}), (Texts{textAt(7), textAt(8), textAt(10)}));
  EXPECT_EQ("lib::Address", first.GetOntologyItem(false)->GetFQName());
  EXPECT_EQ("lib::Root", second.GetOntologyItem(false)->GetFQName());

  // A new preparation drops the value links.
  Prepare(channel_, model_.child);
  EXPECT_EQ(8, channel_.GetChildCount());
  EXPECT_EQ((std::vector<int>{7}), channel_.GetValueLinks(7));
}

TEST_F(OntologyItemChannel, OverLongHandlesAreCutToTheLongestThatLoads) {
  for (std::size_t length : {std::size_t{255}, std::size_t{256}, std::size_t{1000}}) {
    Aco_QAXOntologyItem source;
    source.SetClassHandle(std::string(length, 'h'));
    ASSERT_TRUE(Load(channel_, Save(source)));
    EXPECT_EQ(std::string(255, 'h'), channel_.GetClassHandle()) << length;
  }
}

TEST_F(OntologyItemChannel, LoadingWithoutTheBaseRecordIsRefusedKeepingTheLinks) {
  Prepare(channel_, model_.child);
  A3dFileLoader empty(nullptr, 0);
  EXPECT_FALSE(channel_.LoadChannel(empty, nullptr));
  EXPECT_EQ(8, channel_.GetChildCount());
}

TEST_F(OntologyItemChannel, StartsWithNoSelectionAndDescribesClassesForTheEditor) {
  Select(model_.child);
  Aco_QAXOntologyItem fresh;  // a new channel clears the editor's selection
  EXPECT_EQ(nullptr, Aco_QAXOntologyItem::SelectedLibrary);
  EXPECT_EQ(nullptr, Aco_QAXOntologyItem::SelectedClass);
  EXPECT_EQ("Ontology:", fresh.GetModeDescription());
  EXPECT_EQ("QAXOntologyItem_", fresh.GetNamePrefix());
  EXPECT_EQ("No class selected", fresh.GetClassDescription(nullptr));
  QAX::Ontology::Info::MetaClassInfo info;
  info.name = "Shape";
  info.scopeName = "lib";
  info.handle = "Shape";
  info.isAbstract = true;
  const auto* shape = model_.model->AddClass(model_.library, info, nullptr);
  EXPECT_EQ(
      "Class:\tlib.Shape\r\nParent:\t.\r\nAbstract:\tyes\r\nDoc:\t\r\n\r\n"
      "-------- attributes --------\r\n\r\n",
      fresh.GetClassDescription(shape));
  // Preparing links takes the name of the group the channel is in then.
  A3d_ChannelGroup group("Scene");
  fresh.SetChannelGroup(&group);
  Select(model_.address);
  fresh.PrepareLinks(true);
  EXPECT_STREQ("Scene", fresh.CE_GetOwnCGRName());
  fresh.SetChannelGroup(nullptr);
}

TEST_F(OntologyItemChannel, NamesItselfAfterItsClass) {
  channel_.SetAutoChannelName();
  EXPECT_STREQ("OItem:unknown", channel_.GetChannelName());
  channel_.SetClassHandle("Person");
  channel_.SetAutoChannelName();
  EXPECT_STREQ("OItem:Person", channel_.GetChannelName());
}

}  // namespace
