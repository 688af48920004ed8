// Loads real vocabularies of the @zazuko/rdf-vocabularies data package,
// which scripts/fetch-vocabularies.sh puts into .cache/vocabularies.
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace Ontology {
namespace {

using Info::AttrKind::kComplex;
using Info::AttrKind::kInteger;
using Info::AttrKind::kReal;
using Info::AttrKind::kTemporal;
using Info::AttrKind::kText;
using Info::AttrKind::kUnmapped;

std::string VocabularyDir() {
  if (const char* dir = std::getenv("QAX_VOCABULARY_DIR")) return dir;
  return QAX_VOCABULARY_DIR;
}

class RealVocabularyTest : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { loaded_.clear(); }

  // The model of `file` (e.g. "schema.nq"), loaded once per test program;
  // null, with a failure that says how to fetch the data, when it is missing.
  static const LoadResult* Vocabulary(const std::string& file) {
    auto found = loaded_.find(file);
    if (found != loaded_.end()) return found->second.get();
    const std::string path = VocabularyDir() + "/" + file;
    if (!std::ifstream(path).good()) {
      ADD_FAILURE() << path << " is missing: run scripts/fetch-vocabularies.sh from the "
                    << "repository root (it needs npm), or point QAX_VOCABULARY_DIR at the "
                    << "ontologies folder of @zazuko/rdf-vocabularies 2023.1.19";
      return nullptr;
    }
    auto result = std::make_unique<LoadResult>(OntologyModel::LoadFile(path));
    EXPECT_EQ(result->error, "");
    if (result->model == nullptr) return nullptr;
    return loaded_.emplace(file, std::move(result)).first->second.get();
  }

  // Handles from a class up to its root, the class first.
  static std::vector<std::string> Chain(const MetaClass* cls) {
    std::vector<std::string> chain;
    for (; cls != nullptr; cls = cls->GetParent()) chain.push_back(cls->GetInfo().handle);
    return chain;
  }

  // The attribute called `name` among the class's own; null when none.
  static const Info::MetaAttrInfo* Attribute(const MetaClass* cls, const std::string& name) {
    for (const MetaAttr* attribute : cls->GetAttributes()) {
      if (attribute->GetInfo().name == name) return &attribute->GetInfo();
    }
    return nullptr;
  }

  static std::size_t AttributeCount(const OntologyModel& model) {
    std::size_t count = 0;
    for (const MetaClassLibrary* library : model.GetLibraries()) {
      for (const MetaClass* cls : library->GetClasses()) count += cls->GetAttributes().size();
    }
    return count;
  }

  static std::map<std::string, std::unique_ptr<LoadResult>> loaded_;
};

std::map<std::string, std::unique_ptr<LoadResult>> RealVocabularyTest::loaded_;

TEST_F(RealVocabularyTest, EveryClassIsConsistentInEveryVocabulary) {
  for (const char* file : {"schema.nq", "foaf.nq", "prov.nq", "dbo.nq"}) {
    SCOPED_TRACE(file);
    const LoadResult* const result = Vocabulary(file);
    ASSERT_TRUE(result != nullptr && result->model != nullptr);
    EXPECT_TRUE(result->warnings.empty());
    const OntologyModel& model = *result->model;
    std::size_t classes = 0;
    for (const MetaClassLibrary* library : model.GetLibraries()) {
      for (const MetaClass* cls : library->GetClasses()) {
        ++classes;
        const Info::MetaClassInfo& info = cls->GetInfo();
        ASSERT_EQ(model.GetMetaClass(info.handle), cls);
        ASSERT_EQ(model.GetMetaClassByFQName(cls->GetFQName()), cls);
        EXPECT_EQ(info.scopeName, library->GetName());
        EXPECT_EQ(info.handle.substr(info.handle.size() - info.name.size()), info.name);
        const MetaClass* const parent = cls->GetParent();
        EXPECT_EQ(info.parentName, parent ? parent->GetInfo().name : "");
        EXPECT_EQ(info.parentScopeName, parent ? parent->GetInfo().scopeName : "");
        ASSERT_LE(Chain(cls).size(), model.GetClassCount());
        for (const MetaAttr* attribute : cls->GetAttributes()) {
          EXPECT_GE(attribute->GetInfo().kind, kText);
          EXPECT_LE(attribute->GetInfo().kind, kUnmapped);
        }
      }
    }
    EXPECT_EQ(classes, model.GetClassCount());
  }
}

TEST_F(RealVocabularyTest, SchemaOrg) {
  const LoadResult* const result = Vocabulary("schema.nq");
  ASSERT_TRUE(result != nullptr && result->model != nullptr);
  const OntologyModel& model = *result->model;
  EXPECT_EQ(model.GetClassCount(), 893u);
  EXPECT_EQ(AttributeCount(model), 2150u);
  ASSERT_EQ(model.GetLibraries().size(), 1u);
  EXPECT_EQ(model.GetLibraries()[0]->GetName(), "schema");

  const MetaClass* const address = model.GetMetaClass("http://schema.org/PostalAddress");
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(Chain(address), (std::vector<std::string>{
                                "http://schema.org/PostalAddress", "http://schema.org/ContactPoint",
                                "http://schema.org/StructuredValue", "http://schema.org/Intangible",
                                "http://schema.org/Thing"}));
  EXPECT_EQ(address->GetInfo().doc, "The mailing address.");

  const MetaClass* const person = model.GetMetaClass("http://schema.org/Person");
  ASSERT_NE(person, nullptr);
  EXPECT_EQ(person->GetFQName(), "schema::Person");
  EXPECT_EQ(person->GetInfo().parentName, "Thing");
  ASSERT_NE(Attribute(person, "address"), nullptr);  // PostalAddress or Text
  EXPECT_EQ(Attribute(person, "address")->kind, kText);
  EXPECT_EQ(Attribute(person, "address")->typeName, "Text");
  ASSERT_NE(Attribute(person, "birthDate"), nullptr);
  EXPECT_EQ(Attribute(person, "birthDate")->kind, kTemporal);
  ASSERT_NE(Attribute(person, "children"), nullptr);
  EXPECT_EQ(Attribute(person, "children")->kind, kComplex);
  EXPECT_EQ(Attribute(person, "children")->typeName, "Person");
  // Inherited attributes stay with the class that declares them.
  EXPECT_EQ(Attribute(person, "name"), nullptr);
  const MetaClass* const thing = model.GetMetaClass("http://schema.org/Thing");
  ASSERT_NE(Attribute(thing, "name"), nullptr);
  EXPECT_EQ(Attribute(thing, "name")->scopeName, "schema");
}

TEST_F(RealVocabularyTest, Foaf) {
  const LoadResult* const result = Vocabulary("foaf.nq");
  ASSERT_TRUE(result != nullptr && result->model != nullptr);
  const OntologyModel& model = *result->model;
  EXPECT_EQ(model.GetClassCount(), 13u);
  EXPECT_EQ(AttributeCount(model), 44u);
  const MetaClass* const person = model.GetMetaClass("http://xmlns.com/foaf/0.1/Person");
  ASSERT_NE(person, nullptr);
  EXPECT_EQ(Chain(person), (std::vector<std::string>{"http://xmlns.com/foaf/0.1/Person",
                                                     "http://xmlns.com/foaf/0.1/Agent"}));
  EXPECT_EQ(person->GetInfo().doc,
            "A person. Also a subclass of <http://www.w3.org/2000/10/swap/pim/contact#Person>, "
            "geo.SpatialThing.");
  ASSERT_NE(Attribute(person, "knows"), nullptr);
  EXPECT_EQ(Attribute(person, "knows")->kind, kComplex);
  ASSERT_NE(Attribute(person, "familyName"), nullptr);
  EXPECT_EQ(Attribute(person, "familyName")->kind, kText);
  EXPECT_EQ(Attribute(person, "familyName")->typeName, "Literal");
  // owl:Thing is no class of FOAF's model: the service cannot map it.
  ASSERT_NE(Attribute(person, "currentProject"), nullptr);
  EXPECT_EQ(Attribute(person, "currentProject")->kind, kUnmapped);
}

TEST_F(RealVocabularyTest, Prov) {
  const LoadResult* const result = Vocabulary("prov.nq");
  ASSERT_TRUE(result != nullptr && result->model != nullptr);
  const OntologyModel& model = *result->model;
  EXPECT_EQ(model.GetClassCount(), 51u);
  EXPECT_EQ(AttributeCount(model), 59u);
  EXPECT_NE(model.GetLibrary("prov"), nullptr);
  const MetaClass* const person = model.GetMetaClass("http://www.w3.org/ns/prov#Person");
  ASSERT_NE(person, nullptr);
  EXPECT_EQ(Chain(person), (std::vector<std::string>{"http://www.w3.org/ns/prov#Person",
                                                     "http://www.w3.org/ns/prov#Agent"}));
  const MetaClass* const activity = model.GetMetaClass("http://www.w3.org/ns/prov#Activity");
  ASSERT_NE(activity, nullptr);
  ASSERT_NE(Attribute(activity, "startedAtTime"), nullptr);
  EXPECT_EQ(Attribute(activity, "startedAtTime")->kind, kTemporal);
  EXPECT_EQ(Attribute(activity, "startedAtTime")->typeName, "dateTime");
  ASSERT_NE(Attribute(activity, "used"), nullptr);
  EXPECT_EQ(Attribute(activity, "used")->kind, kComplex);
  EXPECT_EQ(Attribute(activity, "used")->typeName, "Entity");
}

TEST_F(RealVocabularyTest, DbpediaOntology) {
  const LoadResult* const result = Vocabulary("dbo.nq");
  ASSERT_TRUE(result != nullptr && result->model != nullptr);
  const OntologyModel& model = *result->model;
  EXPECT_EQ(model.GetClassCount(), 760u);
  EXPECT_EQ(AttributeCount(model), 2387u);
  const MetaClass* const band = model.GetMetaClass("http://dbpedia.org/ontology/Band");
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(Chain(band),
            (std::vector<std::string>{
                "http://dbpedia.org/ontology/Band", "http://dbpedia.org/ontology/Group",
                "http://dbpedia.org/ontology/Organisation", "http://dbpedia.org/ontology/Agent"}));
  EXPECT_EQ(band->GetInfo().scopeName, "dbo");
  const MetaClass* const legislature =
      model.GetMetaClass("http://dbpedia.org/ontology/Legislature");
  ASSERT_NE(legislature, nullptr);
  ASSERT_NE(Attribute(legislature, "numberOfMembers"), nullptr);
  EXPECT_EQ(Attribute(legislature, "numberOfMembers")->kind, kInteger);
  const MetaClass* const place = model.GetMetaClass("http://dbpedia.org/ontology/Place");
  ASSERT_NE(place, nullptr);
  ASSERT_NE(Attribute(place, "elevation"), nullptr);
  EXPECT_EQ(Attribute(place, "elevation")->kind, kReal);
  // A unit datatype of DBpedia's own, declared rdfs:Datatype: not mapped.
  const MetaClass* const engine = model.GetMetaClass("http://dbpedia.org/ontology/Engine");
  ASSERT_NE(engine, nullptr);
  const Info::MetaAttrInfo* const weight = Attribute(engine, "weight");
  ASSERT_NE(weight, nullptr);
  EXPECT_EQ(weight->kind, kUnmapped);
  EXPECT_EQ(weight->typeName, "kilogram");
  EXPECT_EQ(weight->scopeName, "http://dbpedia.org/ontology/Engine/");
}

}  // namespace
}  // namespace Ontology
}  // namespace QAX
