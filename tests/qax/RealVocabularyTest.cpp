// Loads real vocabularies of the @zazuko/rdf-vocabularies data package,
// which scripts/fetch-vocabularies.sh puts into .cache/vocabularies.
#include <array>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace Ontology {
namespace {

// A class as "FQNAME < PARENT FQNAME ... "DOC"", or one of its own
// attributes as "name scope kind typeName" (empty when it has none of that
// name: inherited attributes stay with the class that declares them).
std::string Show(const MetaClass* cls, const std::string& attribute) {
  if (cls == nullptr) return "no class";
  std::string text;
  if (attribute.empty()) {
    text = cls->GetFQName();
    for (const MetaClass* at = cls->GetParent(); at != nullptr; at = at->GetParent()) {
      text += " < " + at->GetFQName();
    }
    return text + " \"" + cls->GetInfo().doc + "\"";
  }
  for (const MetaAttr* a : cls->GetAttributes()) {
    const Info::MetaAttrInfo& info = a->GetInfo();
    if (info.name == attribute) {
      text +=
          info.name + " " + info.scopeName + " " + std::to_string(info.kind) + " " + info.typeName;
    }
  }
  return text;
}

TEST(RealVocabulary, CountsChainsDocsAndAttributeKindsHold) {
  const char* dir = std::getenv("QAX_VOCABULARY_DIR");
  const std::string folder = std::string(dir != nullptr ? dir : QAX_VOCABULARY_DIR) + "/";
  const std::string s = "http://schema.org/", foaf = "http://xmlns.com/foaf/0.1/";
  const std::string dbo = "http://dbpedia.org/ontology/";
  const struct {
    const char* file;
    std::size_t classes, attributes;
    std::vector<std::array<std::string, 3>> probes;  // class IRI, attribute, shown
  } vocabularies[] = {
      {"schema.nq",
       893,
       2150,
       {{s + "PostalAddress", "",
         "schema::PostalAddress < schema::ContactPoint < schema::StructuredValue < "
         "schema::Intangible < schema::Thing \"The mailing address.\""},
        {s + "Person", "address", "address schema 0 Text"},  // PostalAddress or Text
        {s + "Person", "birthDate", "birthDate schema 4 Date"},
        {s + "Person", "children", "children schema 5 Person"},
        {s + "Person", "name", ""}}},
      {"foaf.nq",
       13,
       44,
       {{foaf + "Person", "",
         "foaf::Person < foaf::Agent \"A person. Also a subclass of "
         "<http://www.w3.org/2000/10/swap/pim/contact#Person>, geo.SpatialThing.\""},
        {foaf + "Person", "familyName", "familyName foaf 0 Literal"},
        // owl:Thing is no class of FOAF's model: the service cannot map it.
        {foaf + "Person", "currentProject", "currentProject foaf 6 Thing"}}},
      {"prov.nq",
       51,
       75,
       {{"http://www.w3.org/ns/prov#Activity", "startedAtTime", "startedAtTime prov 4 dateTime"}}},
      {"dbo.nq",
       760,
       2387,
       {{dbo + "Band", "",
         "dbo::Band < dbo::Group < dbo::Organisation < dbo::Agent \"Also a subclass of "
         "schema.MusicGroup, "
         "<http://www.ontologydesignpatterns.org/ont/dul/DUL.owl#SocialPerson>.\""},
        {dbo + "Legislature", "numberOfMembers", "numberOfMembers dbo 2 nonNegativeInteger"},
        {dbo + "Place", "elevation", "elevation dbo 3 double"},
        // A unit datatype of DBpedia's own, declared rdfs:Datatype: not mapped.
        {dbo + "Engine", "weight", "weight http://dbpedia.org/ontology/Engine/ 6 kilogram"}}},
  };
  for (const auto& v : vocabularies) {
    SCOPED_TRACE(v.file);
    ASSERT_TRUE(std::ifstream(folder + v.file).good())
        << folder << v.file << " is missing: run scripts/fetch-vocabularies.sh (it needs npm), "
        << "or point QAX_VOCABULARY_DIR at the ontologies folder of @zazuko/rdf-vocabularies "
           "2023.1.19";
    const LoadResult result = OntologyModel::LoadFile(folder + v.file);
    ASSERT_NE(result.model, nullptr) << result.error;
    EXPECT_TRUE(result.warnings.empty());
    const OntologyModel& model = *result.model;
    std::size_t classes = 0, attributes = 0;
    for (const MetaClassLibrary* library : model.GetLibraries()) {
      for (const MetaClass* cls : library->GetClasses()) {
        const Info::MetaClassInfo& info = cls->GetInfo();
        ASSERT_EQ(model.GetMetaClass(info.handle), cls);
        ASSERT_EQ(model.GetMetaClassByFQName(cls->GetFQName()), cls);
        EXPECT_EQ(info.scopeName, library->GetName());
        EXPECT_EQ(info.handle.substr(info.handle.size() - info.name.size()), info.name);
        const MetaClass* const parent = cls->GetParent();
        EXPECT_EQ(info.parentName, parent ? parent->GetInfo().name : "");
        EXPECT_EQ(info.parentScopeName, parent ? parent->GetInfo().scopeName : "");
        for (const MetaAttr* a : cls->GetAttributes()) EXPECT_LE(unsigned(a->GetInfo().kind), 6u);
        ++classes;
        attributes += cls->GetAttributes().size();
      }
    }
    EXPECT_EQ(classes, model.GetClassCount());
    EXPECT_EQ(classes, v.classes);
    EXPECT_EQ(attributes, v.attributes);
    for (const auto& [iri, attribute, shown] : v.probes) {
      EXPECT_EQ(Show(model.GetMetaClass(iri), attribute), shown);
    }
  }
}

}  // namespace
}  // namespace Ontology
}  // namespace QAX
