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

TEST_F(RealVocabularyTest, CountsParentChainsAndDocs) {
  struct Vocabulary_ {
    const char* file;
    std::size_t classes, attributes;
    const char* library;
  };
  for (const Vocabulary_& v :
       {Vocabulary_{"schema.nq", 893, 2150, "schema"}, Vocabulary_{"foaf.nq", 13, 44, "foaf"},
        Vocabulary_{"prov.nq", 51, 59, "prov"}, Vocabulary_{"dbo.nq", 760, 2387, "dbo"}}) {
    SCOPED_TRACE(v.file);
    const LoadResult* const result = Vocabulary(v.file);
    ASSERT_TRUE(result != nullptr && result->model != nullptr);
    EXPECT_EQ(result->model->GetClassCount(), v.classes);
    EXPECT_EQ(AttributeCount(*result->model), v.attributes);
    EXPECT_NE(result->model->GetLibrary(v.library), nullptr);
  }
  ASSERT_EQ(Vocabulary("schema.nq")->model->GetLibraries().size(), 1u);

  struct Class {
    const char* file;
    std::vector<std::string> chain;  // the class first
    const char* doc;                 // null: not checked
  };
  const std::string schema = "http://schema.org/";
  const std::string foaf = "http://xmlns.com/foaf/0.1/";
  const std::string dbo = "http://dbpedia.org/ontology/";
  const Class classes[] = {
      {"schema.nq",
       {schema + "PostalAddress", schema + "ContactPoint", schema + "StructuredValue",
        schema + "Intangible", schema + "Thing"},
       "The mailing address."},
      {"foaf.nq",
       {foaf + "Person", foaf + "Agent"},
       "A person. Also a subclass of <http://www.w3.org/2000/10/swap/pim/contact#Person>, "
       "geo.SpatialThing."},
      {"dbo.nq", {dbo + "Band", dbo + "Group", dbo + "Organisation", dbo + "Agent"}, nullptr},
  };
  for (const Class& c : classes) {
    SCOPED_TRACE(c.chain[0]);
    const MetaClass* const cls = Vocabulary(c.file)->model->GetMetaClass(c.chain[0]);
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(Chain(cls), c.chain);
    if (c.doc != nullptr) {
      EXPECT_EQ(cls->GetInfo().doc, c.doc);
    }
  }
  const MetaClass* const band = Vocabulary("dbo.nq")->model->GetMetaClass(dbo + "Band");
  EXPECT_EQ(band->GetInfo().scopeName, "dbo");
  EXPECT_EQ(band->GetFQName(), "dbo::Band");
}

TEST_F(RealVocabularyTest, AttributeKindsFollowTheRanges) {
  const std::string schema = "http://schema.org/";
  const std::string dbo = "http://dbpedia.org/ontology/";
  struct Attribute_ {
    const char* file;
    std::string cls;
    const char* name;
    int32_t kind;
    const char* typeName;  // null: not checked
  };
  const Attribute_ attributes[] = {
      {"schema.nq", schema + "Person", "address", kText, "Text"},  // PostalAddress or Text
      {"schema.nq", schema + "Person", "birthDate", kTemporal, nullptr},
      {"schema.nq", schema + "Person", "children", kComplex, "Person"},
      {"foaf.nq", "http://xmlns.com/foaf/0.1/Person", "familyName", kText, "Literal"},
      // owl:Thing is no class of FOAF's model: the service cannot map it.
      {"foaf.nq", "http://xmlns.com/foaf/0.1/Person", "currentProject", kUnmapped, nullptr},
      {"prov.nq", "http://www.w3.org/ns/prov#Activity", "startedAtTime", kTemporal, "dateTime"},
      {"dbo.nq", dbo + "Legislature", "numberOfMembers", kInteger, nullptr},
      {"dbo.nq", dbo + "Place", "elevation", kReal, nullptr},
      // A unit datatype of DBpedia's own, declared rdfs:Datatype: not mapped.
      {"dbo.nq", dbo + "Engine", "weight", kUnmapped, "kilogram"},
  };
  for (const Attribute_& a : attributes) {
    SCOPED_TRACE(a.cls + " " + a.name);
    const LoadResult* const result = Vocabulary(a.file);
    ASSERT_TRUE(result != nullptr && result->model != nullptr);
    const MetaClass* const cls = result->model->GetMetaClass(a.cls);
    ASSERT_NE(cls, nullptr);
    const Info::MetaAttrInfo* const info = Attribute(cls, a.name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->kind, a.kind);
    if (a.typeName != nullptr) {
      EXPECT_EQ(info->typeName, a.typeName);
    }
  }
  // Inherited attributes stay with the class that declares them.
  EXPECT_EQ(Attribute(Vocabulary("schema.nq")->model->GetMetaClass(schema + "Person"), "name"),
            nullptr);
  EXPECT_EQ(
      Attribute(Vocabulary("dbo.nq")->model->GetMetaClass(dbo + "Engine"), "weight")->scopeName,
      "http://dbpedia.org/ontology/Engine/");
}

}  // namespace
}  // namespace Ontology
}  // namespace QAX
