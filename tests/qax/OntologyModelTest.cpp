#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace Ontology {
namespace {

Info::MetaClassInfo ClassInfo(const std::string& name, const std::string& handle) {
  return Info::MetaClassInfo{name, "lib", handle, "", "", false, "doc of " + name};
}

class OntologyModelTest : public ::testing::Test {
 protected:
  OntologyModel model_;
};

TEST_F(OntologyModelTest, ClassesResolveByHandleAndFQNameWithTheirParentChain) {
  MetaClassLibrary* const lib = model_.AddLibrary("lib");
  MetaClassLibrary* const other = model_.AddLibrary("other");
  EXPECT_EQ(model_.AddLibrary("lib"), lib);
  EXPECT_EQ(model_.GetLibraries(), (std::vector<const MetaClassLibrary*>{lib, other}));
  EXPECT_EQ(model_.GetLibrary("other"), other);
  EXPECT_EQ(model_.GetLibrary("prov"), nullptr);

  MetaClass* const root = model_.AddClass(lib, ClassInfo("Thing", "urn:Thing"), nullptr);
  MetaClass* const mid = model_.AddClass(lib, ClassInfo("Agent", "urn:Agent"), root);
  MetaClass* const leaf = model_.AddClass(lib, ClassInfo("Person", "urn:Person"), mid);
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(model_.GetMetaClass("urn:Person"), leaf);
  EXPECT_EQ(model_.GetMetaClass("urn:Nobody"), nullptr);
  EXPECT_EQ(model_.GetMetaClass(""), nullptr);
  EXPECT_EQ(leaf->GetParent(), mid);
  EXPECT_EQ(mid->GetParent(), root);
  EXPECT_EQ(root->GetParent(), nullptr);
  EXPECT_EQ(leaf->GetLibrary(), lib);
  EXPECT_EQ(leaf->GetFQName(), "lib::Person");
  EXPECT_EQ(model_.GetMetaClassByFQName("lib::Person"), leaf);
  EXPECT_EQ(leaf->GetInfo().doc, "doc of Person");
  EXPECT_EQ(lib->GetClasses(), (std::vector<const MetaClass*>{root, mid, leaf}));
  EXPECT_EQ(model_.GetClassCount(), 3u);
}

TEST_F(OntologyModelTest, RefusesDuplicatesAndForeignLibrariesOrParents) {
  OntologyModel elsewhere;
  MetaClassLibrary* const foreignLib = elsewhere.AddLibrary("lib");
  MetaClass* const foreignClass = elsewhere.AddClass(foreignLib, ClassInfo("F", "urn:F"), nullptr);
  MetaClassLibrary* const lib = model_.AddLibrary("lib");
  MetaClassLibrary* const other = model_.AddLibrary("other");
  MetaClass* const first = model_.AddClass(lib, ClassInfo("A", "urn:X"), nullptr);
  ASSERT_NE(first, nullptr);

  // The first class keeps its handle; a name is unique within its library.
  EXPECT_EQ(model_.AddClass(other, ClassInfo("B", "urn:X"), nullptr), nullptr);
  EXPECT_EQ(model_.GetMetaClass("urn:X"), first);
  EXPECT_EQ(model_.AddClass(lib, ClassInfo("A", "urn:2"), nullptr), nullptr);
  EXPECT_EQ(model_.GetMetaClass("urn:2"), nullptr);
  EXPECT_TRUE(other->GetClasses().empty());
  MetaClass* const inOther = model_.AddClass(other, ClassInfo("A", "urn:2"), nullptr);
  EXPECT_EQ(model_.GetMetaClassByFQName("other::A"), inOther);

  EXPECT_EQ(model_.AddClass(nullptr, ClassInfo("C", "urn:C"), nullptr), nullptr);
  EXPECT_EQ(model_.AddClass(foreignLib, ClassInfo("C", "urn:C"), nullptr), nullptr);
  // Even a foreign class whose handle exists here is not this model's class.
  ASSERT_NE(model_.AddClass(lib, ClassInfo("F", "urn:F"), nullptr), nullptr);
  EXPECT_EQ(model_.AddClass(lib, ClassInfo("C", "urn:C"), foreignClass), nullptr);
  EXPECT_EQ(model_.GetClassCount(), 3u);
}

TEST_F(OntologyModelTest, AttributesKeepInsertionOrderAndDuplicateNames) {
  MetaClass* const cls =
      model_.AddClass(model_.AddLibrary("lib"), ClassInfo("A", "urn:A"), nullptr);
  const MetaAttr* const b = cls->AddAttribute({"b", "lib", Info::AttrKind::kInteger, "int"});
  const MetaAttr* const a = cls->AddAttribute({"a", "lib", 42, "odd"});
  const MetaAttr* const b2 = cls->AddAttribute({"b", "lib", Info::AttrKind::kText, "string"});
  EXPECT_EQ(cls->GetAttributes(), (std::vector<const MetaAttr*>{b, a, b2}));
  EXPECT_EQ(a->GetInfo().kind, 42);
  EXPECT_EQ(b2->GetInfo().typeName, "string");
}

TEST_F(OntologyModelTest, ManyClassesInDeepChainStayAddressableAfterGrowth) {
  MetaClassLibrary* const lib = model_.AddLibrary("lib");
  std::vector<const MetaClass*> added;
  for (int i = 0; i < 2000; ++i) {
    const std::string id = std::to_string(i);
    added.push_back(model_.AddClass(lib, ClassInfo("C" + id, "urn:C" + id),
                                    added.empty() ? nullptr : added.back()));
    ASSERT_NE(added.back(), nullptr);
  }
  EXPECT_EQ(model_.GetMetaClass("urn:C0"), added.front());
  EXPECT_EQ(model_.GetMetaClass("urn:C1999")->GetParent(), added[1998]);
  EXPECT_EQ(lib->GetClasses(), added);
}

}  // namespace
}  // namespace Ontology
}  // namespace QAX
