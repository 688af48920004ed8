// Bounded resources: hostile files cost memory in proportion to their size,
// and deep or tangled graphs and hierarchies are cut or walked without
// recursion, whatever the build's stack frames.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "tests/hardening/ItemGraph.h"
#include "tests/support/AllocationFailure.h"

namespace {

using QAX::Ontology::OntologyModel;
using QAX::Ontology::Info::AttrKind;
using qaxoi::rdf::RdfSyntax;
using Code = qaxoi::Status::Code;

// Loads `text` and answers the failure ("" when it loaded), which must be a
// refusal for a bound: kResourceExhausted.
std::string LoadRefusal(const std::string& text, RdfSyntax syntax, const std::string& name) {
  qaxoi::rdf::LoadedModel loaded;
  const qaxoi::Status status = qaxoi::rdf::LoadModelText(text, syntax, name, "", &loaded);
  EXPECT_TRUE(status.ok() || status.code() == Code::kResourceExhausted) << status.message();
  return status.message();
}

using Links = std::vector<Aco_QAXOntologyItem::LinkDescription>;
using Texts = std::vector<std::string>;
using Records = std::vector<std::pair<std::string, std::string>>;

// The records of an item channel that counts `count` links and carries only
// the first type name, `typeName`.
Records Counting(unsigned count, std::string typeName) {
  std::string size(4, '\0');
  for (int i = 0; i < 4; ++i) size[i] = static_cast<char>((count >> (8 * i)) & 0xFF);
  return {{"CHNAME", ""}, {"CHILDSIZE", size}, {"CHILDNAMETYPE", std::move(typeName)}};
}

// A channel of the module's type that saves whatever records it is given.
struct ForgedItem : Aco_FloatChannel {
  explicit ForgedItem(Records records) : records(std::move(records)) { SetChannelType(*GetType()); }
  bool SaveChannel(A3dFileSaver& saver) override {
    for (const auto& [tag, data] : records) {
      saver.SaveTag(tag.c_str());
      saver.SaveBlockSize(static_cast<unsigned long>(data.size()));
      saver.SaveDataToFile(data.data(), static_cast<unsigned long>(data.size()));
    }
    return true;
  }
  Records records;
};

// What a group file may cost: for every 4-byte link entry the host keeps a
// 264-byte link record and the channel a description; beyond that, links
// that records count without carrying them, at most two channels' worth at
// the host's link limit (the group's allowance and the channel refused).
TEST(Bounds, GroupFilesCostASmallMultipleOfTheirSize) {
  ChannelTypeRegistry registry;
  registry.RegisterBuiltIns();
  registry.Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
  // A group of channels that each count links up to the limit.
  const auto group = [](std::size_t channels, const std::string& typeName) {
    std::vector<std::unique_ptr<ForgedItem>> owned;
    std::vector<A3d_Channel*> list;
    while (owned.size() < channels) {
      owned.push_back(
          std::make_unique<ForgedItem>(Counting(A3d_Channel::kMaxChildLinks, typeName)));
      list.push_back(owned.back().get());
    }
    std::vector<unsigned char> bytes;
    const qaxoi::Status saved = SaveGroup(nullptr, list, &bytes);
    EXPECT_TRUE(saved.ok()) << saved.message();
    return bytes;
  };
  const struct {
    const char* what;
    std::vector<unsigned char> file;
    bool loads;
  } cases[] = {
      {"one channel counting links", group(1, "Value"), true},
      {"a long type name repeated for every link", group(1, std::string(60000, 'n')), true},
      {"many channels counting links", group(2000, "Value"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = qaxoi::test::BytesInUse();
    qaxoi::test::ResetPeakBytes();
    std::unique_ptr<LoadedGroup> loaded;
    const qaxoi::Status status = LoadGroup(c.file.data(), c.file.size(), registry, &loaded);
    EXPECT_EQ(c.loads, status.ok()) << status.message();
    EXPECT_LE(qaxoi::test::PeakBytesInUse() - before,
              128 * c.file.size() + A3d_Channel::kMaxChildLinks * std::size_t{1024});
  }
}

// What loading a vocabulary may hold at its peak, beyond the document.
std::size_t VocabularyBound(std::size_t documentBytes) {
  constexpr std::size_t kBytesPerByte = 10;
  constexpr std::size_t kBase = std::size_t{256} << 10;
  return kBytesPerByte * documentBytes + kBase;
}

// `line(i)` for i = 0, 1, 2 ... after `head`, to at least `bytes` bytes.
template <typename Line>
std::string Repeated(std::string head, std::size_t bytes, Line line) {
  for (std::size_t i = 0; head.size() < bytes; ++i) head += line(std::to_string(i));
  return head;
}

// Every shape of vocabulary loads within 10 times its size, or is refused
// within that: dense declarations, long namespaces behind short prefixed
// names, anonymous nodes, unions, many domains, repeated comments.
TEST(Bounds, VocabulariesOfEveryShapeCostAtMostTenTimesTheirSize) {
  constexpr std::size_t kBytes = std::size_t{1} << 20;
  const std::string prefixes =
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n@prefix e: <http://e.org/> .\n";
  const std::string targets = prefixes + "e:K a owl:Class .\ne:p a owl:DatatypeProperty .\n";
  const struct {
    const char* what;
    const char* name;
    std::string text;
    bool loads;
  } cases[] = {
      {"one-line class declarations, N-Triples", "classes.nt",
       Repeated("", kBytes,
                [](const std::string& n) {
                  return "<http://e.org/C" + n +
                         "> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
                         "<http://www.w3.org/2002/07/owl#Class> .\n";
                }),
       true},
      {"one-line class declarations, prefixed", "classes.ttl",
       Repeated(prefixes, kBytes,
                [](const std::string& n) { return "e:C" + n + " a owl:Class .\n"; }),
       false},
      {"short names in a long namespace", "long.ttl",
       Repeated("@prefix owl: <http://www.w3.org/2002/07/owl#> .\n@prefix l: <http://e.org/" +
                    std::string(2000, 'n') + "/> .\n",
                kBytes, [](const std::string& n) { return "l:C" + n + " a owl:Class .\n"; }),
       false},
      {"anonymous ranges", "blank.ttl",
       Repeated(targets + "e:p rdfs:range []", kBytes, [](const std::string&) { return ", []"; }) +
           " .\n",
       false},
      {"a class and a domain per line", "domains.ttl",
       Repeated(targets, kBytes,
                [](const std::string& n) {
                  return "e:D" + n + " a owl:Class .\ne:p rdfs:domain e:D" + n + " .\n";
                }),
       false},
      {"unions in domains", "unions.ttl",
       Repeated(targets, kBytes,
                [](const std::string& n) {
                  return "e:q" + n + " a owl:ObjectProperty ; rdfs:domain [ owl:unionOf ( e:K e:U" +
                         n + " ) ] .\n";
                }),
       true},
      {"two-class loops of parents, N-Triples", "loops.nt",
       Repeated("", kBytes,
                [](const std::string& n) {
                  const std::string a = "<http://e.org/e/A" + n + ">";
                  const std::string b = "<http://e.org/e/B" + n + ">";
                  const std::string sub = " <http://www.w3.org/2000/01/rdf-schema#subClassOf> ";
                  const std::string type =
                      " <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
                      "<http://www.w3.org/2002/07/owl#Class> .\n";
                  return a + type + b + type + a + sub + b + " .\n" + b + sub + a + " .\n";
                }),
       true},
      {"a chain of parents, each named before it is declared, N-Triples", "chain.nt",
       Repeated("", kBytes,
                [](const std::string& n) {
                  const std::string c = "<http://e.org/e/C" + n + ">";
                  return c +
                         " <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
                         "<http://www.w3.org/2002/07/owl#Class> .\n" +
                         c +
                         " <http://www.w3.org/2000/01/rdf-schema#subClassOf> <http://e.org/e/C" +
                         std::to_string(std::stoul(n) + 1) + "> .\n";
                }),
       true},
      {"repeated comments", "comments.ttl",
       Repeated(targets + "e:K rdfs:comment \"first\"", kBytes,
                [](const std::string& n) { return ", \"c" + n + "\"@de"; }) +
           " .\n",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    qaxoi::test::ResetPeakBytes();
    const std::size_t before = qaxoi::test::BytesInUse();
    const std::string refusal = LoadRefusal(c.text, RdfSyntax::kDetect, c.name);
    EXPECT_LE(qaxoi::test::PeakBytesInUse() - before, VocabularyBound(c.text.size()));
    EXPECT_EQ(c.loads, refusal.empty());
    if (!c.loads) {
      EXPECT_EQ(std::string(c.name) + ": loading it needs more memory than 10 times the " +
                    "document's " + std::to_string(c.text.size()) +
                    " bytes; it declares too many IRIs, classes or attributes for its size",
                refusal);
    }
  }
}

// A chain of classes C0 (the root) ... C99999, with an attribute at each end,
// loads within 10 times the vocabulary's size. (Its namespace names its
// library "e": one named by its IRI, for want of a path, costs each class
// that IRI twice more, in its scope and its parent's, which a document this
// dense cannot pay.)
TEST(Bounds, AHundredThousandDeepHierarchyLoadsPreparesAndBuilds) {
  std::string text =
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n@prefix e: <http://e.org/e/> .\n"
      "e:first a owl:DatatypeProperty ; rdfs:domain e:C0 .\n"
      "e:last a owl:DatatypeProperty ; rdfs:domain e:C99999 .\ne:C0 a owl:Class .\n";
  for (int i = 1; i < 100000; ++i) {
    text += "e:C" + std::to_string(i) + " a owl:Class ; rdfs:subClassOf e:C" +
            std::to_string(i - 1) + " .\n";
  }
  qaxoi::test::ResetPeakBytes();
  const std::size_t before = qaxoi::test::BytesInUse();
  qaxoi::rdf::LoadedModel result;
  ASSERT_EQ("", LoadRefusal(text, RdfSyntax::kTurtle, "chain.ttl"));
  ASSERT_TRUE(qaxoi::rdf::LoadModelText(text, RdfSyntax::kTurtle, "chain.ttl", "", &result).ok());
  EXPECT_LE(qaxoi::test::PeakBytesInUse() - before, VocabularyBound(text.size()));
  auto& ambassador = QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance();
  ambassador.SetOntologyModel(result.model.get());
  Aco_QAXOntologyItem channel;
  const QAX::Ontology::MetaClass* last = result.model->GetMetaClass("http://e.org/e/C99999");
  ASSERT_NE(nullptr, last);
  qaxoi::module::ChooseClass(channel, *last, true, qaxoi::module::ChannelNaming::kKeepName);
  // The root's attribute comes first, however far up the root is.
  EXPECT_EQ((Links{{"Text", "e.first"}, {"Text", "e.last"}}), channel.GetLinkDescriptions());
  Aco_StringChannel first;
  first.SetString("root's");
  channel.LinkChild(0, &first);
  QAX::Onto::OntologyItem* item = channel.GetOntologyItem(true);
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
      {nested(blank, " ]", 129), tooDeep(35 + 128 * 19)},
      {nested("( ", " )", 129), tooDeep(35 + 128 * 2)},
      {nested(blank, " ]", 100000), tooDeep(35 + 128 * 19)},
      // Brackets in IRIs, strings and comments do not count.
      {"<http://e.org/s> <http://e.org/p> \"" + std::string(1000, '[') + "\" . # " +
           std::string(1000, '(') + "\n<http://e.org/[[[[> <http://e.org/p> '''((('''.\n",
       ""},
  };
  for (const auto& [text, error] : cases) {
    EXPECT_EQ(error, LoadRefusal(text, RdfSyntax::kTurtle, "deep.ttl")) << text.substr(0, 80);
  }
}

// What RDF/XML asks of the XML parser is bounded before the parser sees it:
// entity expansion (the billion laughs, one big entity used often), entities
// that hold markup or refer to each other in loops or too deeply, parameter
// entities, and element nesting (the parser takes time in the square of the
// depth). Markup in comments, CDATA and attribute values does not count.
TEST(Bounds, XmlEntitiesAndElementNestingAreBoundedBeforeParsing) {
  const std::string head =
      "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
      "xmlns:e=\"http://e.org/\">\n";
  const auto withEntities = [&](const std::string& declarations, const std::string& body) {
    return "<!DOCTYPE rdf:RDF [\n" + declarations + "]>\n" + head + body + "</rdf:RDF>\n";
  };
  const std::string use =
      "<rdf:Description rdf:about=\"http://e.org/a\"><e:p>&x9;</e:p></rdf:Description>\n";
  std::string laughs = "<!ENTITY x0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i) {
    laughs += "<!ENTITY x" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) laughs += "&x" + std::to_string(i - 1) + ";";
    laughs += "\">\n";
  }
  std::string chain = "<!ENTITY x0 \"a\">\n";
  for (int i = 1; i <= 33; ++i) {
    chain += "<!ENTITY x" + std::to_string(i) + " \"&x" + std::to_string(i - 1) + ";\">\n";
  }
  const auto nested = [&](int depth, const std::string& before) {
    std::string text = head + before;
    for (int i = 1; i < depth; ++i) text += "<e:p>";
    for (int i = 1; i < depth; ++i) text += "</e:p>";
    return text + "</rdf:RDF>\n";
  };
  const std::string beyond = "entity references stand for more than ";
  const struct {
    std::string text;
    std::string error;  // empty: loads
  } cases[] = {
      {withEntities(laughs, use), "b.rdf:14:50: " + beyond +
                                      "1055826 bytes of text (10 times "
                                      "the document's size plus 1048576)"},
      {withEntities(
           "<!ENTITY x9 \"" + std::string(100000, 'x') + "\">\n", std::string(120, 'y') +
                                                                      "<e:a e:b=\"" +
                                                                      [] {
                                                                        std::string refs;
                                                                        for (int i = 0; i < 30; ++i)
                                                                          refs += "&x9;";
                                                                        return refs;
                                                                      }() +
                                                                      "\"/>"),
       "b.rdf:5:211: " + beyond +
           "2052506 bytes of text (10 times the document's size plus 1048576)"},
      {withEntities(chain, "&x33;"),
       "b.rdf:3:14: entities refer to each other deeper than 32 levels"},
      {withEntities("<!ENTITY a \"&b;\">\n<!ENTITY b \"&a;\">\n", "&a;"),
       "b.rdf:2:13: entities refer to each other in a loop"},
      {withEntities("<!ENTITY % p \"x\">\n", ""), "b.rdf:2:10: parameter entities are not read"},
      {withEntities("<!ENTITY x \"&#x3C;e:a/>\">\n", ""),
       "b.rdf:2:1: the entity 'x' holds markup; entities may stand only for text"},
      {withEntities("<!ENTITY x \"text\">\n<!ATTLIST e:a e:b CDATA \"&x;\">\n", "&x;"), ""},
      {nested(256, "<!-- <e:p><e:p> --><e:q e:r=\"x>y\"/>"), ""},
      {nested(257, ""), "b.rdf:2:1276: elements nest deeper than 256 levels"},
  };
  for (const auto& c : cases) {
    qaxoi::rdf::LoadedModel loaded;
    EXPECT_EQ(c.error,
              qaxoi::rdf::LoadModelText(c.text, RdfSyntax::kRdfXml, "b.rdf", "", &loaded).message())
        << c.text.substr(0, 120);
  }
}

using Graphs = qaxoi::test::ItemTest;

TEST_F(Graphs, AClassWithMoreAttributesThanTheLinkLimitGetsLinksForTheFirst) {
  QAX::Ontology::MetaClass* wide = model_.AddClass("Wide", nullptr);
  for (int i = 0; i <= A3d_Channel::kMaxChildLinks; ++i)
    qaxoi::test::AddAttribute(wide, "a", AttrKind::kText);
  Aco_QAXOntologyItem channel;
  Prepare(channel, wide);
  EXPECT_EQ(std::size_t{A3d_Channel::kMaxChildLinks}, channel.GetLinkDescriptions().size());
  qaxoi::test::ExpectConsistent(channel);
  EXPECT_EQ((Texts{"Aco_QAXOntologyItem::PrepareLinks().TooManyLinks.Count[" +
                   std::to_string(A3d_Channel::kMaxChildLinks + 1) + "].Limit[" +
                   std::to_string(A3d_Channel::kMaxChildLinks) + "]"}),
            Shown());
}

}  // namespace
