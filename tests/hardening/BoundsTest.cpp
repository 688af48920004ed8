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
#include "module/Module.h"
#include "tests/hardening/ItemGraph.h"
#include "tests/support/AllocationFailure.h"

namespace {

using QAX::Onto::OntologyItem;
using QAX::Ontology::LoadResult;
using QAX::Ontology::OntologyModel;
using QAX::Ontology::RdfSyntax;

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

std::string U32(unsigned int value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// A group file of `channels` item channels that each count `count` links and
// carry only the first type name record, `typeName`.
std::vector<unsigned char> CountingGroup(int channels, unsigned int count,
                                         const std::string& typeName) {
  std::vector<std::unique_ptr<ForgedItem>> owned;
  std::vector<A3d_Channel*> list;
  for (int i = 0; i < channels; ++i) {
    owned.push_back(std::make_unique<ForgedItem>(std::vector<std::pair<std::string, std::string>>{
        {"CHNAME", ""}, {"CHILDSIZE", U32(count)}, {"CHILDNAMETYPE", typeName}}));
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
  const std::string longName(60000, 'n');
  const struct {
    const char* what;
    std::vector<unsigned char> file;
    bool loads;
  } cases[] = {
      {"one channel counting links up to the limit",
       CountingGroup(1, A3d_Channel::kMaxChildLinks, "Value"), true},
      {"a long type name repeated for every counted link",
       CountingGroup(1, A3d_Channel::kMaxChildLinks, longName), true},
      {"many channels counting links up to the limit",
       CountingGroup(2000, A3d_Channel::kMaxChildLinks, "Value"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = qax_test::BytesInUse();
    qax_test::ResetPeakBytes();
    GroupFileError error;
    const bool loaded = LoadGroup(c.file.data(), c.file.size(), registry, &error) != nullptr;
    EXPECT_EQ(c.loads, loaded) << error.Message();
    EXPECT_LE(qax_test::PeakBytesInUse() - before,
              kBytesPerGroupFileByte * c.file.size() + kTwoChannelsOfLinks);
  }
}

// A Turtle vocabulary of a chain of `length` classes, C0 the root, each with
// an attribute only at both ends.
std::string ChainVocabulary(int length) {
  std::string text =
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix e: <http://e.org/> .\n"
      "e:first a owl:DatatypeProperty ; rdfs:domain e:C0 .\n";
  text += "e:last a owl:DatatypeProperty ; rdfs:domain e:C" + std::to_string(length - 1) + " .\n";
  text += "e:C0 a owl:Class .\n";
  for (int i = 1; i < length; ++i) {
    text += "e:C" + std::to_string(i) + " a owl:Class ; rdfs:subClassOf e:C" +
            std::to_string(i - 1) + " .\n";
  }
  return text;
}

TEST(Bounds, AHundredThousandDeepHierarchyLoadsPreparesAndBuilds) {
  const int length = 100000;
  const std::string text = ChainVocabulary(length);
  qax_test::ResetPeakBytes();
  const std::size_t before = qax_test::BytesInUse();
  LoadResult result = OntologyModel::LoadText(text, RdfSyntax::kTurtle, "chain.ttl");
  ASSERT_NE(nullptr, result.model) << result.error;
  EXPECT_LE(qax_test::PeakBytesInUse() - before, kBytesPerVocabularyByte * text.size());
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(result.model.get());
  const std::string leaf = "http://e.org/C" + std::to_string(length - 1);

  Aco_QAXOntologyItem channel;
  Aco_QAXOntologyItem::SelectedLibrary = result.model->GetLibraries().front();
  Aco_QAXOntologyItem::SelectedClass = result.model->GetMetaClass(leaf);
  channel.PrepareLinks(true);
  channel.SetClassHandle(leaf);
  // The root's attribute comes first, however far up the root is.
  const std::vector<Aco_QAXOntologyItem::LinkDescription> links = {{"Text", "e.first"},
                                                                   {"Text", "e.last"}};
  EXPECT_EQ(links, channel.GetLinkDescriptions());
  Aco_StringChannel first;
  first.SetString("root's");
  channel.LinkChild(0, &first);
  OntologyItem* item = channel.GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  std::string value;
  EXPECT_TRUE(item->GetAttributeString("first", value));
  EXPECT_EQ("root's", value);
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
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
  const struct {
    std::string text;
    std::string error;  // empty: loads
  } cases[] = {
      {nested(blank, " ]", 128), ""},
      {nested("( ", " )", 128), ""},
      {nested(blank, " ]", 129), "deep.ttl:1:" + std::to_string(35 + 128 * 19) +
                                     ": blank nodes and collections nest deeper than 128 levels"},
      {nested("( ", " )", 129), "deep.ttl:1:" + std::to_string(35 + 128 * 2) +
                                    ": blank nodes and collections nest deeper than 128 levels"},
      {nested(blank, " ]", 100000),
       "deep.ttl:1:" + std::to_string(35 + 128 * 19) +
           ": blank nodes and collections nest deeper than 128 levels"},
      // Brackets in IRIs, strings and comments do not count.
      {"<http://e.org/s> <http://e.org/p> \"" + std::string(1000, '[') + "\" . # " +
           std::string(1000, '(') + "\n<http://e.org/[[[[> <http://e.org/p> '''((('''.\n",
       ""},
  };
  for (const auto& c : cases) {
    const LoadResult result = OntologyModel::LoadText(c.text, RdfSyntax::kTurtle, "deep.ttl");
    EXPECT_EQ(c.error, result.error) << c.text.substr(0, 80);
  }
}

TEST(Bounds, LoadedNamesAreCutToWhatALinkRecordHolds) {
  ForgedItem forged({{"CHNAME", ""},
                     {"CHILDSIZE", U32(2)},
                     {"CHILDNAMETYPE", std::string(200, 't') + '\0'},
                     {"CHILDNAME", std::string(300, 'n') + '\0'}});
  A3dFileSaver saver;
  forged.SaveChannel(saver);
  Aco_QAXOntologyItem channel;
  A3dFileLoader loader(saver.Data().data(), saver.Data().size());
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  const Aco_QAXOntologyItem::LinkDescription cut(std::string(79, 't'), std::string(99, 'n'));
  EXPECT_EQ(std::vector<Aco_QAXOntologyItem::LinkDescription>(2, cut),
            channel.GetLinkDescriptions());
  qax_test::ExpectConsistent(channel);
}

class Graphs : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
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
  const std::string limit = std::to_string(A3d_Channel::kMaxChildLinks);
  const std::vector<std::string> expected = {
      "Aco_QAXOntologyItem::PrepareLinks().TooManyLinks.Count[" +
      std::to_string(A3d_Channel::kMaxChildLinks + 1) + "].Limit[" + limit + "]"};
  EXPECT_EQ(expected, globalEngine->ShowDebugMessage.Shown());
}

TEST_F(Graphs, ChannelsReachedAlongExponentiallyManyPathsCostABoundedRebuild) {
  // Forty channels, each linked twice to the next: 2^40 paths to the last.
  QAX::Ontology::MetaClass* pair = model_.AddClass("Pair", nullptr);
  qax_test::AddAttribute(pair, "left", 5);
  qax_test::AddAttribute(pair, "right", 5);
  std::vector<std::unique_ptr<Aco_QAXOntologyItem>> chain(40);
  for (auto& channel : chain) {
    channel = std::make_unique<Aco_QAXOntologyItem>();
    qax_test::PrepareFor(*channel, model_, pair);
  }
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    chain[i]->LinkChild(0, chain[i + 1].get());
    chain[i]->LinkChild(1, chain[i + 1].get());
  }
  ASSERT_NE(nullptr, chain[0]->GetOntologyItem(true));
  const std::vector<std::string> expected = {
      "Aco_QAXOntologyItem::GetOntologyItem().TooManyNestedItems.Limit[4096]"};
  EXPECT_EQ(expected, globalEngine->ShowDebugMessage.Shown());
}

TEST_F(Graphs, ACycleTakesNoPartItemOfTheChannelBeingRebuilt) {
  // Two channels linked to each other twice: each copy of a part-built item
  // would double the item.
  QAX::Ontology::MetaClass* pair = model_.AddClass("Pair", nullptr);
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h"}) {
    qax_test::AddAttribute(pair, name, 5);
  }
  Aco_QAXOntologyItem first;
  Aco_QAXOntologyItem second;
  qax_test::PrepareFor(first, model_, pair);
  qax_test::PrepareFor(second, model_, pair);
  for (int i = 0; i < 8; ++i) {
    first.LinkChild(i, &second);
    second.LinkChild(i, &first);
  }
  OntologyItem* item = first.GetOntologyItem(true);
  ASSERT_NE(nullptr, item);
  // Eight copies of the second's item, which holds nothing of the first.
  const std::string text = item->ToText();
  EXPECT_EQ(9, std::count(text.begin(), text.end(), '\n'));
}

}  // namespace
