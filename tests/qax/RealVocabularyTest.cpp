// Loads real vocabularies of the @zazuko/rdf-vocabularies data package,
// which scripts/fetch-vocabularies.sh puts into .cache/vocabularies: their
// counts, and mappings that only real data shows. The channel sweep walks
// every class of the same files.
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace Ontology {
namespace {

// The class with its parent chain and doc, or one of its own attributes as
// "name scope kind typeName" (empty when it has none of that name).
std::string Show(const MetaClass* cls, const std::string& attribute) {
  if (cls == nullptr) return "no class";
  std::string text = attribute.empty() ? cls->GetFQName() : "";
  if (attribute.empty()) {
    for (const MetaClass* at = cls->GetParent(); at != nullptr; at = at->GetParent())
      text += " < " + at->GetFQName();
    return text + " \"" + cls->GetInfo().doc + "\"";
  }
  for (const MetaAttr* a : cls->GetAttributes()) {
    const Info::MetaAttrInfo& i = a->GetInfo();
    if (i.name == attribute)
      text += i.name + " " + i.scopeName + " " + std::to_string(i.kind) + " " + i.typeName;
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
    std::vector<std::pair<std::string, std::string>> probes;  // class IRI, attribute
    std::vector<std::string> shown;
  } vocabularies[] = {
      {"schema.nq",
       893,
       2150,
       {{s + "PostalAddress", ""}, {s + "Person", "address"}, {s + "Person", "name"}},
       {"schema::PostalAddress < schema::ContactPoint < schema::StructuredValue < "
        "schema::Intangible < schema::Thing \"The mailing address.\"",
        "address schema 0 Text",  // PostalAddress or Text
        ""}},
      {"foaf.nq",
       13,
       44,
       {{foaf + "Person", ""}, {foaf + "Person", "currentProject"}},
       {"foaf::Person < foaf::Agent \"A person. Also a subclass of "
        "<http://www.w3.org/2000/10/swap/pim/contact#Person>, geo.SpatialThing.\"",
        "currentProject foaf 6 Thing"}},  // owl:Thing is no class of FOAF's model
      {"prov.nq", 51, 75, {}, {}},
      {"dbo.nq",
       760,
       2387,
       {{dbo + "Legislature", "numberOfMembers"}, {dbo + "Engine", "weight"}},
       {"numberOfMembers dbo 2 nonNegativeInteger",
        // A unit datatype of DBpedia's own, declared rdfs:Datatype: not mapped.
        "weight http://dbpedia.org/ontology/Engine/ 6 kilogram"}},
  };
  for (const auto& v : vocabularies) {
    SCOPED_TRACE(v.file);
    ASSERT_TRUE(std::ifstream(folder + v.file).good())
        << folder << v.file << " is missing: run scripts/fetch-vocabularies.sh (it needs npm)";
    const LoadResult result = OntologyModel::LoadFile(folder + v.file);
    ASSERT_NE(result.model, nullptr) << result.error;
    EXPECT_TRUE(result.warnings.empty());
    std::size_t attributes = 0;
    for (const MetaClassLibrary* library : result.model->GetLibraries())
      for (const MetaClass* cls : library->GetClasses()) attributes += cls->GetAttributes().size();
    EXPECT_EQ(result.model->GetClassCount(), v.classes);
    EXPECT_EQ(attributes, v.attributes);
    for (std::size_t i = 0; i < v.probes.size(); ++i)
      EXPECT_EQ(Show(result.model->GetMetaClass(v.probes[i].first), v.probes[i].second), v.shown[i]);
  }
}

}  // namespace
}  // namespace Ontology
}  // namespace QAX
