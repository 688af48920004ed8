// Every class of real vocabularies through the channel: prepare its links,
// link a child of the right type to each, build the item, save the channel and
// load it into a new one.
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

namespace {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::MetaClassLibrary;
using QAX::Ontology::Info::MetaAttrInfo;

std::string VocabularyDir() {
  if (const char* dir = std::getenv("QAX_VOCABULARY_DIR")) return dir;
  return QAX_VOCABULARY_DIR;
}

// The attributes of `metaClass` and its parents, parents first: the order of
// the channel's links.
std::vector<const MetaAttrInfo*> AttributeWalk(const MetaClass* metaClass) {
  std::vector<const MetaClass*> chain;
  for (const MetaClass* c = metaClass; c != nullptr; c = c->GetParent()) chain.push_back(c);
  std::vector<const MetaAttrInfo*> walk;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const MetaAttr* attribute : (*it)->GetAttributes()) walk.push_back(&attribute->GetInfo());
  }
  return walk;
}

class VocabularySweep : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  void TearDown() override {
    QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
  }
};

TEST_P(VocabularySweep, EveryClassPreparesBuildsSavesAndLoadsBack) {
  const std::string path = VocabularyDir() + "/" + GetParam();
  ASSERT_TRUE(std::ifstream(path).good())
      << path << " is missing: run scripts/fetch-vocabularies.sh from the repository root "
      << "(it needs npm), or point QAX_VOCABULARY_DIR at the vocabularies";
  QAX::Ontology::LoadResult loaded = QAX::Ontology::OntologyModel::LoadFile(path);
  ASSERT_NE(nullptr, loaded.model) << loaded.error;
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(loaded.model.get());

  // Children of each type, reused from class to class.
  std::vector<std::unique_ptr<Aco_StringChannel>> texts;
  std::vector<std::unique_ptr<Aco_FloatChannel>> numbers;
  Aco_QAXOntologyItem nested;  // an item channel of the first class
  std::size_t classes = 0;
  for (const MetaClassLibrary* library : loaded.model->GetLibraries()) {
    for (const MetaClass* metaClass : library->GetClasses()) {
      if (nested.GetClassHandle().empty()) nested.SetClassHandle(metaClass->GetInfo().handle);
      SCOPED_TRACE(metaClass->GetInfo().handle);
      ++classes;
      Aco_QAXOntologyItem channel;
      Aco_QAXOntologyItem::SelectedLibrary = library;
      Aco_QAXOntologyItem::SelectedClass = metaClass;
      channel.PrepareLinks(false);
      channel.SetClassHandle(metaClass->GetInfo().handle);

      const std::vector<const MetaAttrInfo*> walk = AttributeWalk(metaClass);
      ASSERT_EQ(static_cast<int>(walk.size()), channel.GetChildCount());
      ASSERT_EQ(walk.size(), channel.GetLinkDescriptions().size());
      std::set<std::string> expectedNames;
      for (std::size_t i = 0; i < walk.size(); ++i) {
        const MetaAttrInfo& info = *walk[i];
        while (texts.size() <= i) texts.push_back(std::make_unique<Aco_StringChannel>());
        while (numbers.size() <= i) numbers.push_back(std::make_unique<Aco_FloatChannel>());
        A3d_Channel* child = nullptr;
        if (info.kind == 0 || info.kind == 4) {
          texts[i]->SetString(("text " + std::to_string(i)).c_str());
          child = texts[i].get();
        } else if (info.kind >= 1 && info.kind <= 3) {
          numbers[i]->SetFloat(static_cast<float>(i) + 0.5f);
          child = numbers[i].get();
        } else if (info.kind == 5) {
          child = &nested;
        }
        if (child == nullptr) continue;  // a kind the service cannot map takes no value
        channel.LinkChild(static_cast<int>(i), child);
        expectedNames.insert(info.name);
      }

      QAX::Onto::OntologyItem* item = channel.GetOntologyItem(true);
      ASSERT_NE(nullptr, item);
      const std::vector<std::string> names = item->GetAttributeNames();
      EXPECT_EQ(expectedNames, std::set<std::string>(names.begin(), names.end()));

      A3dFileSaver saver;
      ASSERT_TRUE(channel.SaveChannel(saver));
      Aco_QAXOntologyItem reloaded;
      A3dFileLoader loader(saver.Data());
      ASSERT_TRUE(reloaded.LoadChannel(loader, nullptr));
      EXPECT_TRUE(loader.AtEnd());
      EXPECT_EQ(channel.GetClassHandle(), reloaded.GetClassHandle());
      EXPECT_EQ(channel.GetLinkDescriptions(), reloaded.GetLinkDescriptions());
      ASSERT_EQ(channel.GetChildCount(), reloaded.GetChildCount());
      for (int i = 0; i < channel.GetChildCount(); ++i) {
        EXPECT_TRUE(GuidEquals(channel.GetChildCreation(i)->Type.TypeGuid,
                               reloaded.GetChildCreation(i)->Type.TypeGuid))
            << i;
      }
    }
  }
  EXPECT_TRUE(globalEngine->ShowDebugMessage.Shown().empty());
  EXPECT_GT(classes, 0u);
}

INSTANTIATE_TEST_SUITE_P(RealVocabularies, VocabularySweep,
                         ::testing::Values("schema.nq", "foaf.nq", "prov.nq", "dbo.nq"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
