// Every class of every vocabulary of the @zazuko/rdf-vocabularies package
// (fetched by scripts/fetch-vocabularies.sh) through the channel: the
// vocabulary loads, each class prepares its links, takes a child of the right
// type on each, builds its item, writes it as Turtle and N-Triples that read
// back the same, saves the channel and loads it back into a new one.
#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassSelection.h"
#include "tests/support/ParsedRdf.h"

namespace {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::MetaClassLibrary;
using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;
using QAX::Ontology::Info::MetaAttrInfo;
using qaxoi::rdf::RdfSyntax;

// Classes and their own attributes; of the links of all classes' channels,
// those whose values are references, and those of them with allowed values.
struct Counts {
  std::size_t classes = 0, attributes = 0, links = 0, references = 0, enumerated = 0;
  bool operator==(const Counts& other) const {
    return classes == other.classes && attributes == other.attributes && links == other.links &&
           references == other.references && enumerated == other.enumerated;
  }
};

std::ostream& operator<<(std::ostream& out, const Counts& counts) {
  return out << counts.classes << " classes, " << counts.attributes << " attributes, "
             << counts.links << " links, " << counts.references << " references, " << counts.enumerated << " enumerated";
}

std::vector<std::string> Vocabularies(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > 3 && name.compare(name.size() - 3, 3, ".nq") == 0) names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Sweeps one loaded model, adding to `counts`.
void Sweep(const QAX::Ontology::OntologyModel& model, Counts& counts) {
  std::deque<Aco_StringChannel> texts;
  std::deque<Aco_FloatChannel> numbers;
  Aco_QAXOntologyItem nested;  // an item channel of the first class
  for (const MetaClassLibrary* library : model.GetLibraries()) {
    for (const MetaClass* metaClass : library->GetClasses()) {
      SCOPED_TRACE(metaClass->GetInfo().handle);
      if (nested.GetClassHandle().empty()) nested.SetClassHandle(metaClass->GetInfo().handle);
      ++counts.classes;
      counts.attributes += metaClass->GetDeclaredAttributes().size();
      Aco_QAXOntologyItem channel;
      qaxoi::module::ChooseClass(channel, *metaClass, false,
                                 qaxoi::module::ChannelNaming::kKeepName);

      // The attributes of the class and its parents, parents first.
      std::vector<const MetaAttr*> walk;
      for (const MetaClass* c = metaClass; c != nullptr; c = c->GetParent()) {
        std::vector<const MetaAttr*> own(c->GetAttributes().begin(), c->GetAttributes().end());
        walk.insert(walk.begin(), own.begin(), own.end());
      }
      ASSERT_EQ(static_cast<int>(walk.size()), channel.GetChildCount());
      counts.links += walk.size();
      // Every superclass's attributes, each property once.
      std::set<std::string> properties;
      for (const MetaAttr* attribute : walk) {
        const MetaAttrInfo& info = attribute->GetInfo();
        EXPECT_TRUE(properties.insert(info.scopeName + "." + info.name).second) << info.name;
      }
      std::set<std::string> expectedNames;
      for (std::size_t i = 0; i < walk.size(); ++i) {
        A3d_Channel* child = nullptr;
        const QAX::Ontology::AttrValueType& valueType = walk[i]->GetValueType();
        if (valueType.IsReference()) {
          ++counts.references;
          if (!valueType.individuals.empty()) ++counts.enumerated;
        }
        switch (AttrKindOf(walk[i]->GetInfo().kind)) {
          case AttrKind::kText:
          case AttrKind::kTemporal:
            child = &texts.emplace_back();
            // A reference takes its last allowed value, or an IRI of its own.
            texts.back().SetString(!valueType.IsReference() ? ("text " + std::to_string(i)).c_str()
                                   : valueType.individuals.empty()
                                       ? ("urn:x:" + std::to_string(i)).c_str()
                                       : valueType.individuals.back().iri.c_str());
            break;
          case AttrKind::kBoolean:
          case AttrKind::kInteger:
          case AttrKind::kReal:
            child = &numbers.emplace_back();
            numbers.back().SetFloat(static_cast<float>(i) + 0.5f);
            break;
          case AttrKind::kComplex:
            child = &nested;
            break;
          default:
            ADD_FAILURE() << walk[i]->GetInfo().name << " has kind " << walk[i]->GetInfo().kind
                          << ", which takes no value";
            continue;
        }
        channel.LinkChild(static_cast<int>(i), child);
        expectedNames.insert(walk[i]->GetInfo().name);
      }

      QAX::Onto::OntologyItem* item = channel.GetOntologyItem(true);
      ASSERT_NE(nullptr, item);
      const std::vector<std::string> names = item->GetAttributeNames();
      EXPECT_EQ(expectedNames, std::set<std::string>(names.begin(), names.end()));
      // Written as RDF, the item reads back the same from both syntaxes.
      qaxoi::rdf::WrittenItems turtle;
      qaxoi::rdf::WrittenItems ntriples;
      const qaxoi::Status written =
          qaxoi::rdf::WriteItems({{item, ""}}, model, RdfSyntax::kTurtle, &turtle);
      ASSERT_TRUE(written.ok()) << written.message();
      ASSERT_TRUE(
          qaxoi::rdf::WriteItems({{item, ""}}, model, RdfSyntax::kNTriples, &ntriples).ok());
      const std::vector<std::string> statements = qaxoi::test::ParsedStatements(turtle.text);
      ASSERT_FALSE(statements.empty());
      EXPECT_EQ(0u, statements[0].find("_:1 ")) << statements[0] << "\n" << turtle.text;
      EXPECT_EQ(statements, qaxoi::test::ParsedStatements(ntriples.text, true));

      A3dFileSaver saver;
      ASSERT_TRUE(channel.SaveChannel(saver));
      Aco_QAXOntologyItem reloaded;
      A3dFileLoader loader(saver.Data());
      ASSERT_TRUE(reloaded.LoadChannel(loader, nullptr));
      EXPECT_TRUE(loader.AtEnd());
      // A class the vocabulary replaces (schema:supersededBy,
      // dcterms:isReplacedBy) by a class of the model loads back as that
      // class; any other as itself, with the same links.
      std::string replacement;
      for (const QAX::Ontology::TermSuccessor& successor :
           model.GetSuccessors(metaClass->GetInfo().handle)) {
        if (successor.how == QAX::Ontology::TermSuccession::kReplacedBy &&
            model.GetMetaClass(successor.iri) != nullptr) {
          replacement = successor.iri;
          break;
        }
      }
      if (replacement.empty()) {
        EXPECT_EQ(channel.GetClassHandle(), reloaded.GetClassHandle());
        EXPECT_EQ(channel.GetLinkDescriptions(), reloaded.GetLinkDescriptions());
      } else {
        EXPECT_EQ(replacement, reloaded.GetClassHandle());
      }
      texts.clear();
      numbers.clear();
    }
  }
}

TEST(VocabularySweep, EveryClassOfEveryVocabularyPreparesBuildsSavesAndLoadsBack) {
  const char* env = std::getenv("QAX_VOCABULARY_DIR");
  const std::string folder = env != nullptr ? env : QAX_VOCABULARY_DIR;
  const std::vector<std::string> files = Vocabularies(folder);
  ASSERT_GE(files.size(), 84u)
      << folder << " lacks vocabularies: run scripts/fetch-vocabularies.sh from the repository "
      << "root (it needs npm), or point QAX_VOCABULARY_DIR at them";
  // Counts that pin the mapping of well-known vocabularies: classes, their
  // own attributes, the links of all their channels, and of those the
  // references and the references with allowed values.
  const std::map<std::string, Counts> pinned = {
      {"schema.nq", {893, 2100, 57148, 9351, 669}},
      {"foaf.nq", {13, 44, 116, 21, 0}},
      {"prov.nq", {51, 70, 464, 19, 0}},
      {"dbo.nq", {760, 2387, 107793, 11705, 0}},
      {"gr.nq", {37, 181, 411, 0, 0}},
      {"acl.nq", {8, 9, 9, 6, 0}},
  };
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    qaxoi::rdf::LoadedModel loaded;
    const qaxoi::Status status =
        qaxoi::rdf::LoadModelFile(folder + "/" + file, RdfSyntax::kDetect, &loaded);
    ASSERT_TRUE(status.ok()) << status.message();
    QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(loaded.model.get());
    Counts counts;
    Sweep(*loaded.model, counts);
    QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
    const auto known = pinned.find(file);
    if (known != pinned.end()) {
      EXPECT_EQ(known->second, counts);
    }
  }
  EXPECT_EQ(std::vector<std::string>{}, globalEngine->ShowDebugMessage.Shown());
}

}  // namespace
