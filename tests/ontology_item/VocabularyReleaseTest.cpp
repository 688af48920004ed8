// A group saved against one release of a vocabulary, loaded against the
// next: every value comes back on the attribute it was saved for, moves with
// it, migrates to what the vocabulary names in its place, or is reported and
// kept in the group; never lands on another attribute.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/files/InputFile.h"
#include "host/qax/rdf/Rdf.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/LoadedGroup.h"
#include "module/Module.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

namespace qaxoi::test {
namespace {

// Thing (label, inventory) <- Work (title, year) <- Painting (height, medium);
// Artist <- Thing.
constexpr const char* kRelease1 = R"(
@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .
@prefix owl:  <http://www.w3.org/2002/07/owl#> .
@prefix xsd:  <http://www.w3.org/2001/XMLSchema#> .
@prefix dct:  <http://purl.org/dc/terms/> .
@prefix m:    <http://example.org/museum#> .
m:Thing a owl:Class .
m:Work a owl:Class ; rdfs:subClassOf m:Thing .
m:Painting a owl:Class ; rdfs:subClassOf m:Work .
m:label a owl:DatatypeProperty ; rdfs:domain m:Thing ; rdfs:range xsd:string .
m:inventory a owl:DatatypeProperty ; rdfs:domain m:Thing ; rdfs:range xsd:integer .
m:title a owl:DatatypeProperty ; rdfs:domain m:Work ; rdfs:range xsd:string .
m:year a owl:DatatypeProperty ; rdfs:domain m:Work ; rdfs:range xsd:gYear .
m:height a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:decimal .
m:medium a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string .
)";

const std::string kMuseum = "http://example.org/museum#";

// The next release: release 1 with `from` replaced by `to` (each once, when
// given), then `added` appended.
struct Release {
  std::string from;
  std::string to;
  std::string added;
};

std::string Next(const Release& release) {
  std::string text = kRelease1;
  if (!release.from.empty()) {
    const std::size_t at = text.find(release.from);
    EXPECT_NE(at, std::string::npos) << release.from;
    if (at != std::string::npos) text.replace(at, release.from.size(), release.to);
  }
  return text + release.added;
}

// One saved value: the attribute it was saved on (local name), what it is,
// and where it must come back (local name; empty: on no attribute).
struct Value {
  const char* savedOn;
  const char* text;  // null for a number
  float number;
  LinkBindingOutcome outcome;
  const char* comesBackOn;
};

struct Row {
  const char* change;
  Release release;
  ClassBindingOutcome classOutcome;
  bool rebound;
  std::vector<Value> values;
  const char* note;  // a note the report gives, or ""
};

constexpr auto kSame = LinkBindingOutcome::kUnchanged;
constexpr auto kMoved = LinkBindingOutcome::kMoved;
constexpr auto kMigrated = LinkBindingOutcome::kMigrated;
constexpr auto kUnbound = LinkBindingOutcome::kUnbound;

// The values every row saves, on release 1's Painting: `medium` varies, the
// others come back on their attribute, those named in `moved` at another
// position.
std::vector<Value> Values(Value medium, const std::string& moved = "") {
  const auto o = [&moved](const char* name) {
    return moved.find(name) != std::string::npos ? kMoved : kSame;
  };
  return {{"label", "Sunflowers", 0, o("label"), "label"},
          {"inventory", nullptr, 1889, o("inventory"), "inventory"},
          {"title", "Sunflowers", 0, o("title"), "title"},
          {"year", "1888", 0, o("year"), "year"},
          {"height", nullptr, 92.5f, o("height"), "height"},
          medium};
}

class VocabularyRelease : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_.RegisterBuiltIns();
    registry_.Register(*GetType(), [] { return std::unique_ptr<A3d_Channel>(InitDLL()); });
    globalEngine->ShowDebugMessage.Clear();
  }
  void TearDown() override { Use(nullptr); }

  // Loads `text` as the ontology the module sees.
  void Use(const std::string* text) {
    QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
    model_.reset();
    if (text == nullptr) return;
    qaxoi::rdf::LoadedModel loaded;
    const qaxoi::Status status =
        qaxoi::rdf::LoadModelText(*text, qaxoi::rdf::RdfSyntax::kTurtle, "museum.ttl", "", &loaded);
    ASSERT_TRUE(status.ok()) << status.message();
    model_ = std::move(loaded.model);
    QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(model_.get());
  }

  // A group of one Painting channel with a child per value, saved.
  std::vector<unsigned char> SaveValues(const std::vector<Value>& values) {
    std::unique_ptr<A3d_Channel> made = registry_.NewChannel(GetType()->TypeGuid);
    auto* painting = static_cast<Aco_QAXOntologyItem*>(made.get());
    const QAX::Ontology::MetaClass* cls = model_->GetMetaClass(kMuseum + "Painting");
    EXPECT_NE(cls, nullptr);
    Aco_QAXOntologyItem::SelectedLibrary = cls->GetLibrary();
    Aco_QAXOntologyItem::SelectedClass = cls;
    painting->PrepareLinks(true);
    painting->SetClassHandle(cls->GetInfo().handle);
    std::vector<std::unique_ptr<A3d_Channel>> children;
    std::vector<A3d_Channel*> list{painting};
    for (const Value& value : values) {
      const int link = LinkEndingIn(*painting, value.savedOn);
      EXPECT_GE(link, 0) << value.savedOn;
      if (value.text != nullptr) {
        auto text = registry_.NewChannel(kTextLinkGuid);
        static_cast<Aco_StringChannel*>(text.get())->SetString(value.text);
        children.push_back(std::move(text));
      } else {
        auto number = registry_.NewChannel(kValueLinkGuid);
        static_cast<Aco_FloatChannel*>(number.get())->SetFloat(value.number);
        children.push_back(std::move(number));
      }
      painting->LinkChild(link, children.back().get());
      list.push_back(children.back().get());
    }
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(SaveGroup("g", list, &bytes).ok());
    return bytes;
  }

  std::unique_ptr<LoadedGroup> Load(const std::vector<unsigned char>& bytes) {
    std::unique_ptr<LoadedGroup> group;
    const qaxoi::Status status = LoadGroup(bytes.data(), bytes.size(), registry_, &group);
    EXPECT_TRUE(status.ok()) << status.message();
    return group;
  }

  static int LinkEndingIn(const Aco_QAXOntologyItem& channel, const std::string& local) {
    const auto& links = channel.GetLinkDescriptions();
    for (std::size_t i = 0; i < links.size(); ++i) {
      const std::string& name = links[i].second;
      if (name.size() > local.size() &&
          name.compare(name.size() - local.size() - 1, std::string::npos, "." + local) == 0)
        return static_cast<int>(i);
    }
    return -1;
  }

  // Saves each row's values against release 1, loads them against the
  // row's release and checks where they are, what was reported, and that
  // nothing was lost.
  void Check(const std::vector<Row>& rows);

  ChannelTypeRegistry registry_;
  std::unique_ptr<QAX::Ontology::OntologyModel> model_;
};

// The attribute value a built item holds, as text; "-" for none.
std::string AttributeText(QAX::Onto::OntologyItem* item, const std::string& name) {
  std::string text;
  if (item == nullptr || !item->GetAttributeString(name, text)) return "-";
  return text;
}

std::string ValueText(const Value& value) {
  if (value.text != nullptr) return value.text;
  return value.number == 1889 ? "1889" : "92.5";
}

TEST_F(VocabularyRelease, EveryValueComesBackOnItsAttributeOrIsReportedAndKept) {
  const Value medium{"medium", "oil", 0, kSame, "medium"};
  Check({
      {"the same release", {}, ClassBindingOutcome::kSame, false, Values(medium), ""},
      {"an attribute added to the grandparent, first in the walk",
       {"", "",
        "m:acquired a owl:DatatypeProperty ; rdfs:domain m:Thing ; rdfs:range xsd:date .\n"},
       ClassBindingOutcome::kSame,
       true,
       Values({"medium", "oil", 0, kMoved, "medium"}, "label inventory title year height"),
       ""},
      {"an attribute removed",
       {"m:medium a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string .", "",
        ""},
       ClassBindingOutcome::kSame,
       true,
       Values({"medium", "oil", 0, kUnbound, ""}),
       "the class has no attribute <http://example.org/museum#medium>"},
      {"an attribute moved to the parent",
       {"m:medium a owl:DatatypeProperty ; rdfs:domain m:Painting",
        "m:medium a owl:DatatypeProperty ; rdfs:domain m:Work", ""},
       ClassBindingOutcome::kSame,
       true,
       Values({"medium", "oil", 0, kMoved, "medium"}, "title year height"),
       ""},
      {"an attribute's range changed to another link type",
       {"rdfs:domain m:Painting ; rdfs:range xsd:string .",
        "rdfs:domain m:Painting ; rdfs:range xsd:integer .", ""},
       ClassBindingOutcome::kSame,
       true,
       Values({"medium", "oil", 0, kUnbound, ""}),
       "the attribute is now a Value link, saved as Text"},
      {"the class removed",
       {"m:Painting a owl:Class ; rdfs:subClassOf m:Work .", "", ""},
       ClassBindingOutcome::kGone,
       false,
       Values(medium),
       "the ontology has no class <http://example.org/museum#Painting>"},
  });
}

// What a vocabulary names in place of a class or an attribute: a
// replacement of a deprecated term, or an equivalent.
TEST_F(VocabularyRelease, ReplacementsAndEquivalentsMigrateOfTheSameLinkTypeOnly) {
  const Value medium{"medium", "oil", 0, kSame, "medium"};
  const std::string probe =
      std::string(kRelease1) + "m:medium owl:deprecated true ; dct:isReplacedBy m:label .\n";
  Use(&probe);
  if (model_->GetSuccessors(kMuseum + "medium").empty())
    GTEST_SKIP() << "this loader does not read replacements";
  Check({
      {"an attribute renamed, the old one deprecated with dcterms:isReplacedBy",
       {"m:medium a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string .",
        "m:technique a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string .\n"
        "m:medium a owl:DatatypeProperty ; owl:deprecated true ; dct:isReplacedBy m:technique .",
        ""},
       ClassBindingOutcome::kSame,
       true,
       Values({"medium", "oil", 0, kMigrated, "technique"}),
       "replaced by <http://example.org/museum#technique>"},
      {"an attribute made owl:equivalentProperty to a new one",
       {"m:medium a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string .",
        "m:support a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string ;\n"
        "  owl:equivalentProperty m:medium .",
        ""},
       ClassBindingOutcome::kSame,
       true,
       Values({"medium", "oil", 0, kMigrated, "support"}),
       "equivalent to <http://example.org/museum#support>"},
      {"a replacement of another link type is not taken",
       {"m:medium a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string .",
        "m:mediumCode a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:integer .\n"
        "m:medium owl:deprecated true ; dct:isReplacedBy m:mediumCode .",
        ""},
       ClassBindingOutcome::kSame,
       true,
       Values({"medium", "oil", 0, kUnbound, ""}),
       "not taken: a Value link, saved as Text"},
      {"the class deprecated with a replacement",
       {"m:Painting a owl:Class ; rdfs:subClassOf m:Work .",
        "m:Painting a owl:Class ; rdfs:subClassOf m:Work ; owl:deprecated true ;\n"
        "  dct:isReplacedBy m:Picture .\n"
        "m:Picture a owl:Class ; rdfs:subClassOf m:Work .\n"
        "m:height rdfs:domain m:Picture . m:medium rdfs:domain m:Picture .",
        ""},
       ClassBindingOutcome::kMigrated,
       false,
       Values(medium),
       "replaced by"},
  });
}

void VocabularyRelease::Check(const std::vector<Row>& rows) {
  const std::string release1 = kRelease1;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.change);
    Use(&release1);
    const std::vector<unsigned char> saved = SaveValues(row.values);

    const std::string next = Next(row.release);
    Use(&next);
    std::unique_ptr<LoadedGroup> group = Load(saved);
    ASSERT_TRUE(group);
    auto& painting = *static_cast<Aco_QAXOntologyItem*>(group->Channel(0));
    const LoadBinding& binding = painting.GetLoadBinding();
    EXPECT_EQ(binding.classOutcome, row.classOutcome);
    EXPECT_EQ(binding.rebound, row.rebound);
    std::string notes = binding.classNote;
    for (const SavedLinkBinding& link : binding.links) notes += "|" + link.note;
    EXPECT_NE(notes.find(row.note), std::string::npos) << notes;

    QAX::Onto::OntologyItem* item = painting.GetOntologyItem(true);
    EXPECT_EQ(item == nullptr, row.classOutcome == ClassBindingOutcome::kGone);
    for (std::size_t v = 0; v < row.values.size(); ++v) {
      const Value& value = row.values[v];
      SCOPED_TRACE(value.savedOn);
      // The child linked to the value's saved link, wherever it now binds.
      const SavedLinkBinding* link = nullptr;
      for (const SavedLinkBinding& l : binding.links) {
        if (painting.GetChild(l.slot) == group->Channel(v + 1)) link = &l;
      }
      if (row.classOutcome == ClassBindingOutcome::kGone) {
        EXPECT_EQ(link, nullptr);
        continue;
      }
      if (!binding.rebound) {
        // The links are the class's as saved: every value is unchanged.
        EXPECT_EQ(link, nullptr);
        EXPECT_EQ(value.outcome, kSame);
        EXPECT_EQ(AttributeText(item, value.comesBackOn), ValueText(value));
        continue;
      }
      ASSERT_NE(link, nullptr);
      EXPECT_EQ(link->outcome, value.outcome);
      const std::string now =
          link->walkPosition >= 0
              ? painting.GetLinkAttributeIris()[static_cast<std::size_t>(link->slot)]
              : std::string();
      if (*value.comesBackOn == '\0') {
        EXPECT_TRUE(now.empty());
        EXPECT_EQ(AttributeText(item, value.savedOn), "-");
      } else {
        EXPECT_EQ(now, kMuseum + value.comesBackOn);
        EXPECT_EQ(AttributeText(item, value.comesBackOn), ValueText(value));
      }
    }

    // Put in walk order, saved and loaded against the same release, the
    // group binds unchanged: it is as if saved against it from the start.
    if (row.classOutcome == ClassBindingOutcome::kSame) {
      painting.NormalizeLinks();
      std::vector<unsigned char> normalized;
      ASSERT_TRUE(SaveGroup("g", group->Channels(), &normalized).ok());
      std::unique_ptr<LoadedGroup> reloaded = Load(normalized);
      ASSERT_TRUE(reloaded);
      auto& again = *static_cast<Aco_QAXOntologyItem*>(reloaded->Channel(0));
      for (const SavedLinkBinding& link : again.GetLoadBinding().links) {
        EXPECT_TRUE(link.outcome == kSame || link.outcome == kUnbound) << link.slot;
      }
      QAX::Onto::OntologyItem* rebuilt = again.GetOntologyItem(true);
      for (const Value& value : row.values) {
        if (*value.comesBackOn != '\0') {
          EXPECT_EQ(AttributeText(rebuilt, value.comesBackOn), ValueText(value));
        }
      }
    }

    // Saved again and loaded against the first release, every value is on
    // the attribute it was first saved for: nothing was lost on the way.
    std::vector<unsigned char> again;
    ASSERT_TRUE(SaveGroup("g", group->Channels(), &again).ok());
    group.reset();
    Use(&release1);
    std::unique_ptr<LoadedGroup> back = Load(again);
    ASSERT_TRUE(back);
    auto& restored = *static_cast<Aco_QAXOntologyItem*>(back->Channel(0));
    if (row.classOutcome == ClassBindingOutcome::kMigrated) continue;  // saved as its replacement
    QAX::Onto::OntologyItem* first = restored.GetOntologyItem(true);
    for (const Value& value : row.values) {
      // A migrated value was saved as its replacement, which the first
      // release does not know: it is kept, on no attribute.
      const std::string expected = value.outcome == kMigrated ? "-" : ValueText(value);
      EXPECT_EQ(AttributeText(first, value.savedOn), expected) << "back: " << value.savedOn;
    }
  }
}

// A value link comes back as another value of its attribute: on the same
// release without rebinding, on another as kValue wherever the attribute now
// stands (also once it takes one value: nothing saved is dropped), and
// unbound with its attribute when that is gone.
TEST_F(VocabularyRelease, ValueLinksComeBackAsValuesOfTheirAttribute) {
  struct ValueRow {
    const char* change;
    Release release;
    bool rebound;
    LinkBindingOutcome valueOutcome;  // of the value link, when rebound
    const char* medium;               // the built item's medium, as ToText writes it
  };
  const ValueRow rows[] = {
      {"the same release", {}, false, kSame, "[\"oil\", \"tempera\"]"},
      {"an attribute added to the grandparent",
       {"", "",
        "m:acquired a owl:DatatypeProperty ; rdfs:domain m:Thing ; rdfs:range xsd:date .\n"},
       true,
       LinkBindingOutcome::kValue,
       "[\"oil\", \"tempera\"]"},
      {"the attribute made functional",
       {"", "",
        "m:acquired a owl:DatatypeProperty ; rdfs:domain m:Thing ; rdfs:range xsd:date .\n"
        "m:medium a owl:FunctionalProperty .\n"},
       true,
       LinkBindingOutcome::kValue,
       "[\"oil\", \"tempera\"]"},
      {"the attribute removed",
       {"m:medium a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string .", "",
        ""},
       true,
       kUnbound,
       nullptr},
  };
  const std::string release1 = kRelease1;
  for (const ValueRow& row : rows) {
    SCOPED_TRACE(row.change);
    Use(&release1);
    std::vector<unsigned char> saved = SaveValues({{"medium", "oil", 0, kSame, "medium"}});
    {
      // Destroyed after the group, whose channel links it.
      std::unique_ptr<A3d_Channel> tempera = registry_.NewChannel(kTextLinkGuid);
      static_cast<Aco_StringChannel*>(tempera.get())->SetString("tempera");
      std::unique_ptr<LoadedGroup> group = Load(saved);
      ASSERT_TRUE(group);
      auto& painting = *static_cast<Aco_QAXOntologyItem*>(group->Channel(0));
      const int medium = LinkEndingIn(painting, "medium");
      const int value = painting.AddValueLink(medium);
      ASSERT_EQ(value, 6);
      painting.LinkChild(value, tempera.get());
      std::vector<A3d_Channel*> channels = group->Channels();
      channels.push_back(tempera.get());
      ASSERT_TRUE(SaveGroup("g", channels, &saved).ok());
    }
    const std::string next = Next(row.release);
    Use(&next);
    std::unique_ptr<LoadedGroup> group = Load(saved);
    ASSERT_TRUE(group);
    auto& painting = *static_cast<Aco_QAXOntologyItem*>(group->Channel(0));
    const LoadBinding& binding = painting.GetLoadBinding();
    EXPECT_EQ(binding.rebound, row.rebound);
    const int medium = painting.GetChild(5) == group->Channel(1) ? 5 : -1;
    ASSERT_EQ(medium, 5);  // saved links keep their positions
    if (row.rebound) {
      const SavedLinkBinding& link = binding.links.at(6);
      EXPECT_EQ(link.outcome, row.valueOutcome);
      EXPECT_EQ(link.valueOf, row.valueOutcome == kUnbound ? -1 : 5);
    }
    const std::string text = painting.GetOntologyItem(true)->ToText();
    if (row.medium == nullptr) {
      EXPECT_EQ(text.find("medium"), std::string::npos) << text;
      continue;
    }
    EXPECT_NE(text.find(std::string("  medium = ") + row.medium + "\n"), std::string::npos) << text;
    EXPECT_EQ(painting.GetValueLinks(5), (std::vector<int>{5, 6}));
    if (!row.rebound) continue;
    // Put in walk order: the attribute's link at its walk position, the value
    // link right behind the walk's links; saved and loaded, nothing rebinds.
    painting.NormalizeLinks();
    EXPECT_EQ(binding.links.at(6).slot, 7);
    EXPECT_EQ(binding.links.at(6).valueOf, 6);
    EXPECT_EQ(painting.GetValueLinks(6), (std::vector<int>{6, 7}));
    std::vector<unsigned char> normalized;
    ASSERT_TRUE(SaveGroup("g", group->Channels(), &normalized).ok());
    std::unique_ptr<LoadedGroup> reloaded = Load(normalized);
    ASSERT_TRUE(reloaded);
    auto& again = *static_cast<Aco_QAXOntologyItem*>(reloaded->Channel(0));
    EXPECT_FALSE(again.GetLoadBinding().rebound);
    EXPECT_EQ(again.GetOntologyItem(true)->ToText(), text);
  }
}

// Groups saved before links carried their attributes' IRIs, by the module
// of that time, in both file versions: their links are named after the
// document's prefix (`m.title`), which no longer names the library. They
// bind by local name, also when a new attribute shifts every position.
TEST_F(VocabularyRelease, FilesOfEarlierVersionsBindByName) {
  const std::string vocabulary = QAX_TEST_DATA_DIR "/museum-r1.ttl";
  std::string read;
  ASSERT_TRUE(qaxoi::files::ReadInputFile(vocabulary, &read).ok());
  const std::string release1 = read;
  const std::string grown =
      release1 +
      "m:acquired a owl:DatatypeProperty ; rdfs:domain m:Thing ; rdfs:range xsd:date .\n";
  for (const std::string* text : {&release1, &grown}) {
    for (const char* file : {"/painting-v1.grp", "/painting-v2.grp"}) {
      SCOPED_TRACE(std::string(file) + (text == &grown ? " grown" : ""));
      Use(text);
      std::unique_ptr<LoadedGroup> group;
      const qaxoi::Status loaded =
          LoadGroupFromFile(std::string(QAX_TEST_DATA_DIR) + file, registry_, &group);
      ASSERT_TRUE(loaded.ok()) << loaded.message();
      auto& painting = *static_cast<Aco_QAXOntologyItem*>(group->Channel(0));
      const LoadBinding& binding = painting.GetLoadBinding();
      for (const SavedLinkBinding& link : binding.links) {
        const std::string& name =
            link.savedName.empty()
                ? painting.GetLinkDescriptions()[static_cast<std::size_t>(link.slot)].second
                : link.savedName;
        EXPECT_EQ(painting.GetLinkAttributeIris()[static_cast<std::size_t>(link.slot)],
                  kMuseum + name.substr(2, name.find(' ') - 2))
            << name;
      }
      QAX::Onto::OntologyItem* item = painting.GetOntologyItem(true);
      ASSERT_NE(item, nullptr);
      EXPECT_EQ(AttributeText(item, "title"), "Sunflowers");
      EXPECT_EQ(AttributeText(item, "inventory"), "1889");
      EXPECT_EQ(AttributeText(item, "medium"), "oil");
      QAX::Onto::OntologyItem* creator = nullptr;
      ASSERT_TRUE(item->GetAttributeInstance("creator", creator));
      EXPECT_EQ(AttributeText(creator, "name"), "Vincent");
    }
  }
}

}  // namespace
}  // namespace qaxoi::test
