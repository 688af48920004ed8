// Bounded resources: hostile files cost memory in proportion to their size,
// and deep or tangled graphs and hierarchies are cut or walked without
// recursion, whatever the build's stack frames.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "tests/hardening/ItemGraph.h"
#include "tests/support/AllocationFailure.h"

namespace {

using QAX::Onto::OntologyItem;
using QAX::Ontology::OntologyModel;
using QAX::Ontology::RdfSyntax;
using Links = std::vector<Aco_QAXOntologyItem::LinkDescription>;

// What a group file may cost: for every 4-byte link entry the host keeps a
// 264-byte link record and the channel a description; beyond that, links
// that records count without carrying them, at most two channels' worth at
// the host's link limit (the group's allowance and the channel refused).
constexpr std::size_t kBytesPerGroupFileByte = 128;
constexpr std::size_t kTwoChannelsOfLinks = A3d_Channel::kMaxChildLinks * std::size_t{1024};
// What a vocabulary may cost: its model and statements.
constexpr std::size_t kBytesPerVocabularyByte = 64;

// A channel of the module's type that saves whatever records it is given.
class ForgedItem : public Aco_FloatChannel {
 public:
  explicit ForgedItem(std::vector<std::pair<std::string, std::string>> records)
      : records_(std::move(records)) {
    SetChannelType(*GetType());
  }
  bool SaveChannel(A3dFileSaver& saver) override {
    for (const auto& [tag, data] : records_) {
      saver.SaveTag(tag.c_str());
      saver.SaveBlockSize(static_cast<unsigned long>(data.size()));
      saver.SaveDataToFile(data.data(), static_cast<unsigned long>(data.size()));
    }
    return true;
  }

 private:
  std::vector<std::pair<std::string, std::string>> records_;
};

// The records of an item channel that counts `count` links and carries only
// the first type name, `typeName` (and `name`, when given).
std::vector<std::pair<std::string, std::string>> Counting(unsigned count, std::string typeName,
                                                          std::string name = "") {
  std::string size(4, '\0');
  for (int i = 0; i < 4; ++i) size[i] = static_cast<char>((count >> (8 * i)) & 0xFF);
  std::vector<std::pair<std::string, std::string>> records = {
      {"CHNAME", ""}, {"CHILDSIZE", size}, {"CHILDNAMETYPE", std::move(typeName)}};
  if (!name.empty()) records.emplace_back("CHILDNAME", std::move(name));
  return records;
}

// A group file of `channels` channels that each count links up to the limit.
std::vector<unsigned char> CountingGroup(int channels, const std::string& typeName) {
  std::vector<std::unique_ptr<ForgedItem>> owned;
  std::vector<A3d_Channel*> list;
  for (int i = 0; i < channels; ++i) {
    owned.push_back(std::make_unique<ForgedItem>(Counting(A3d_Channel::kMaxChildLinks, typeName)));
    list.push_back(owned.back().get());
  }
  std::vector<unsigned char> bytes;
  std::string error;
  EXPECT_TRUE(SaveGroup(nullptr, list, &bytes, &error)) << error;
  return bytes;
}

TEST(Bounds, GroupFilesCostASmallMultipleOfTheirSize) {
  ChannelTypeRegistry registry;
  registry.RegisterBuiltIns();
  registry.Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
  const struct {
    const char* what;
    std::vector<unsigned char> file;
    bool loads;
  } cases[] = {
      {"one channel counting links", CountingGroup(1, "Value"), true},
      {"a long type name repeated for every link", CountingGroup(1, std::string(60000, 'n')), true},
      {"many channels counting links", CountingGroup(2000, "Value"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = qax_test::BytesInUse();
    qax_test::ResetPeakBytes();
    GroupFileError error;
    EXPECT_EQ(c.loads, LoadGroup(c.file.data(), c.file.size(), registry, &error) != nullptr)
        << error.Message();
    EXPECT_LE(qax_test::PeakBytesInUse() - before,
              kBytesPerGroupFileByte * c.file.size() + kTwoChannelsOfLinks);
  }
}

// A chain of classes C0 (the root) ... C99999, with an attribute at each end.
TEST(Bounds, AHundredThousandDeepHierarchyLoadsPreparesAndBuilds) {
  const int length = 100000;
  const std::string leaf = "C" + std::to_string(length - 1);
  std::string text =
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n@prefix e: <http://e.org/> .\n"
      "e:first a owl:DatatypeProperty ; rdfs:domain e:C0 .\n"
      "e:last a owl:DatatypeProperty ; rdfs:domain e:" +
      leaf + " .\ne:C0 a owl:Class .\n";
  for (int i = 1; i < length; ++i) {
    text += "e:C" + std::to_string(i) + " a owl:Class ; rdfs:subClassOf e:C" +
            std::to_string(i - 1) + " .\n";
  }
  qax_test::ResetPeakBytes();
  const std::size_t before = qax_test::BytesInUse();
  const auto result = OntologyModel::LoadText(text, RdfSyntax::kTurtle, "chain.ttl");
  ASSERT_NE(nullptr, result.model) << result.error;
  EXPECT_LE(qax_test::PeakBytesInUse() - before, kBytesPerVocabularyByte * text.size());
  auto& ambassador = QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance();
  ambassador.SetOntologyModel(result.model.get());

  Aco_QAXOntologyItem channel;
  Aco_QAXOntologyItem::SelectedLibrary = result.model->GetLibraries().front();
  Aco_QAXOntologyItem::SelectedClass = result.model->GetMetaClass("http://e.org/" + leaf);
  channel.PrepareLinks(true);
  channel.SetClassHandle("http://e.org/" + leaf);
  // The root's attribute comes first, however far up the root is.
  EXPECT_EQ((Links{{"Text", "e.first"}, {"Text", "e.last"}}), channel.GetLinkDescriptions());
  Aco_StringChannel first;
  first.SetString("root's");
  channel.LinkChild(0, &first);
  OntologyItem* item = channel.GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  std::string value;
  EXPECT_TRUE(item->GetAttributeString("first", value));
  EXPECT_EQ("root's", value);
  ambassador.SetOntologyModel(nullptr);
}

TEST(Bounds, BlankNodesAndCollectionsNestAtMost128Levels) {
  const auto nested = [](const std::string& open, const std::string& close, int depth) {
    std::string text = "<http://e.org/s> <http://e.org/p> ";
    for (int i = 0; i < depth; ++i) text += open;
    text += "<http://e.org/o>";
    for (int i = 0; i < depth; ++i) text += close;
    return text + " .\n";
  };
  const std::string blank = "[ <http://e.org/p> ";
  const auto tooDeep = [](int column) {
    return "deep.ttl:1:" + std::to_string(column) +
           ": blank nodes and collections nest deeper than 128 levels";
  };
  const std::pair<std::string, std::string> cases[] = {
      {nested(blank, " ]", 128), ""},
      {nested("( ", " )", 128), ""},
      {nested(blank, " ]", 129), tooDeep(35 + 128 * 19)},
      {nested("( ", " )", 129), tooDeep(35 + 128 * 2)},
      {nested(blank, " ]", 100000), tooDeep(35 + 128 * 19)},
      // Brackets in IRIs, strings and comments do not count.
      {"<http://e.org/s> <http://e.org/p> \"" + std::string(1000, '[') + "\" . # " +
           std::string(1000, '(') + "\n<http://e.org/[[[[> <http://e.org/p> '''((('''.\n",
       ""},
  };
  for (const auto& [text, error] : cases) {
    EXPECT_EQ(error, OntologyModel::LoadText(text, RdfSyntax::kTurtle, "deep.ttl").error)
        << text.substr(0, 80);
  }
}

// Names read from a file are kept whole, so a save after a load writes the
// bytes it read; only a name repeated for a missing record is cut, to what a
// link record holds, so that repeats cost little.
TEST(Bounds, LoadedNamesStayWholeAndOnlyRepeatsAreCut) {
  const std::string type(100, 't');
  const std::string name(150, 'n');
  A3dFileSaver forged;
  ForgedItem(Counting(2, type + '\0', name + '\0')).SaveChannel(forged);
  Aco_QAXOntologyItem channel;
  A3dFileLoader loader(forged.Data().data(), forged.Data().size());
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  EXPECT_EQ((std::vector<Aco_QAXOntologyItem::LinkDescription>{
                {type, name}, {type.substr(0, 79), name.substr(0, 99)}}),
            channel.GetLinkDescriptions());
  EXPECT_EQ(type.substr(0, 79), channel.GetChildCreation(0)->Type.Name);
  EXPECT_EQ(name.substr(0, 99), channel.GetChildCreation(0)->LinkName);
  qax_test::ExpectConsistent(channel);

  // A file with every record present loads and saves to the same bytes.
  const std::vector<unsigned char> saved = qax_test::SavedRecords(channel);
  Aco_QAXOntologyItem again;
  A3dFileLoader reload(saved.data(), saved.size());
  ASSERT_TRUE(again.LoadChannel(reload, nullptr));
  EXPECT_EQ(saved, qax_test::SavedRecords(again));
  EXPECT_EQ(channel.GetLinkDescriptions(), again.GetLinkDescriptions());
}

class Graphs : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  // `count` channels of a class with `links` item attributes, each channel
  // linked at every attribute to the next (the last to the first when
  // `cycle`); answers what the first one's rebuild shows.
  std::vector<std::string> Rebuild(int count, int links, bool cycle, std::string* text) {
    QAX::Ontology::MetaClass* linked = model_.AddClass("Linked", nullptr);
    for (int i = 0; i < links; ++i) qax_test::AddAttribute(linked, "a" + std::to_string(i), 5);
    std::vector<std::unique_ptr<Aco_QAXOntologyItem>> chain(count);
    for (auto& channel : chain) {
      channel = std::make_unique<Aco_QAXOntologyItem>();
      qax_test::PrepareFor(*channel, model_, linked);
    }
    for (int i = 0; i + (cycle ? 0 : 1) < count; ++i) {
      for (int j = 0; j < links; ++j) chain[i]->LinkChild(j, chain[(i + 1) % count].get());
    }
    OntologyItem* item = chain[0]->GetOntologyItem(true);
    EXPECT_NE(nullptr, item);
    if (item != nullptr) *text = item->ToText();
    return globalEngine->ShowDebugMessage.Shown();
  }
  qax_test::TestModel model_;
};

TEST_F(Graphs, AClassWithMoreAttributesThanTheLinkLimitGetsLinksForTheFirst) {
  QAX::Ontology::MetaClass* wide = model_.AddClass("Wide", nullptr);
  for (int i = 0; i <= A3d_Channel::kMaxChildLinks; ++i) qax_test::AddAttribute(wide, "a", 0);
  Aco_QAXOntologyItem channel;
  qax_test::PrepareFor(channel, model_, wide);
  EXPECT_EQ(static_cast<std::size_t>(A3d_Channel::kMaxChildLinks),
            channel.GetLinkDescriptions().size());
  qax_test::ExpectConsistent(channel);
  EXPECT_EQ((std::vector<std::string>{"Aco_QAXOntologyItem::PrepareLinks().TooManyLinks.Count[" +
                                      std::to_string(A3d_Channel::kMaxChildLinks + 1) + "].Limit[" +
                                      std::to_string(A3d_Channel::kMaxChildLinks) + "]"}),
            globalEngine->ShowDebugMessage.Shown());
}

TEST_F(Graphs, ChannelsReachedAlongExponentiallyManyPathsCostABoundedRebuild) {
  // Forty channels, each linked twice to the next: 2^40 paths to the last.
  std::string text;
  EXPECT_EQ((std::vector<std::string>{
                "Aco_QAXOntologyItem::GetOntologyItem().TooManyNestedItems.Limit[4096]"}),
            Rebuild(40, 2, false, &text));
}

TEST_F(Graphs, ACycleTakesNoPartItemOfTheChannelBeingRebuilt) {
  // Two channels linked to each other eight times: each copy of a part-built
  // item would double the item. Eight copies of the second's item, which
  // holds nothing of the first.
  std::string text;
  Rebuild(2, 8, true, &text);
  EXPECT_EQ(9, std::count(text.begin(), text.end(), '\n'));
}

}  // namespace
