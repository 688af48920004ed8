#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/model/QAX.h"
#include "tests/support/ServiceNames.h"

namespace qaxoi::test {

namespace {

QAX::Ontology::Info::MetaClassInfo ClassInfo(const std::string& name, const std::string& handle) {
  return QAX::Ontology::Info::MetaClassInfo{name, "lib", handle, "", "", false, "doc of " + name};
}

TEST(OntologyModel, RefusesDuplicatesAndForeignLibrariesOrParents) {
  OntologyModel elsewhere;
  MetaClassLibrary* const foreignLib = elsewhere.AddLibrary("lib");
  MetaClass* const foreignClass = elsewhere.AddClass(foreignLib, ClassInfo("F", "urn:F"), nullptr);
  OntologyModel model;
  MetaClassLibrary* const lib = model.AddLibrary("lib");
  MetaClassLibrary* const other = model.AddLibrary("other");
  MetaClass* const first = model.AddClass(lib, ClassInfo("A", "urn:X"), nullptr);

  // The first class keeps its handle; a name is unique within its library.
  EXPECT_EQ(model.AddClass(other, ClassInfo("B", "urn:X"), nullptr), nullptr);
  EXPECT_EQ(model.GetMetaClass("urn:X"), first);
  EXPECT_EQ(model.AddClass(lib, ClassInfo("A", "urn:2"), nullptr), nullptr);
  EXPECT_TRUE(other->GetClasses().empty());

  EXPECT_EQ(model.AddClass(nullptr, ClassInfo("C", "urn:C"), nullptr), nullptr);
  EXPECT_EQ(model.AddClass(foreignLib, ClassInfo("C", "urn:C"), nullptr), nullptr);
  // Even a foreign class whose handle exists here is not this model's class.
  ASSERT_NE(model.AddClass(lib, ClassInfo("F", "urn:F"), nullptr), nullptr);
  EXPECT_EQ(model.AddClass(lib, ClassInfo("C", "urn:C"), foreignClass), nullptr);
  EXPECT_EQ(model.GetClassCount(), 2u);
}

QAX::Ontology::Info::MetaAttrInfo Attr(const std::string& name) {
  return QAX::Ontology::Info::MetaAttrInfo{name, "lib", 0, "string"};
}

std::string Names(const std::vector<const MetaAttr*>& attributes) {
  std::string names;
  for (const MetaAttr* attribute : attributes) names += attribute->GetInfo().name + " ";
  return names;
}

// What a class declares and what a walk meets at it: AddAttribute does
// both; DeclareAttribute and PresentAttribute one each, in the order called;
// a class whose two lists are equal keeps one. Superclasses: the parent
// first, then those added.
TEST(OntologyModel, ClassesDeclareAndPresentAttributesAndKeepTheirSuperclasses) {
  OntologyModel model;
  MetaClassLibrary* const lib = model.AddLibrary("lib");
  MetaClass* const parent = model.AddClass(lib, ClassInfo("P", "urn:P"), nullptr);
  MetaClass* const mixin = model.AddClass(lib, ClassInfo("M", "urn:M"), nullptr);
  MetaClass* const cls = model.AddClass(lib, ClassInfo("C", "urn:C"), parent);
  const MetaAttr* const m = mixin->AddAttribute(Attr("m"));
  EXPECT_EQ(Names(mixin->GetAttributes()), "m ");
  EXPECT_EQ(&mixin->GetAttributes(), &mixin->GetDeclaredAttributes());

  const MetaAttr* const own = cls->DeclareAttribute(Attr("c"));
  EXPECT_EQ(Names(cls->GetAttributes()), "");
  cls->PresentAttribute(m);
  cls->PresentAttribute(nullptr);
  cls->PresentAttribute(own);
  cls->AddAttribute(Attr("d"));
  EXPECT_EQ(Names(cls->GetAttributes()), "m c d ");
  EXPECT_EQ(Names(cls->GetDeclaredAttributes()), "c d ");

  // Declared, then presented in the same order: one list again.
  const MetaAttr* const first = parent->DeclareAttribute(Attr("p"));
  const MetaAttr* const second = parent->DeclareAttribute(Attr("q"));
  parent->PresentAttribute(first);
  EXPECT_EQ(Names(parent->GetAttributes()), "p ");
  parent->PresentAttribute(second);
  EXPECT_EQ(&parent->GetAttributes(), &parent->GetDeclaredAttributes());
  EXPECT_EQ(Names(parent->GetAttributes()), "p q ");

  EXPECT_FALSE(cls->AddSuperclass(nullptr));
  EXPECT_FALSE(cls->AddSuperclass(cls));
  EXPECT_FALSE(cls->AddSuperclass(parent));
  EXPECT_TRUE(cls->AddSuperclass(mixin));
  EXPECT_EQ(cls->GetSuperclasses(), (std::vector<const MetaClass*>{parent, mixin}));
  EXPECT_EQ(mixin->GetSuperclasses(), std::vector<const MetaClass*>{});
  EXPECT_TRUE(mixin->AddSuperclass(parent));
  EXPECT_EQ(mixin->GetSuperclasses(), std::vector<const MetaClass*>{parent});
}

// A class's doc is its documentation text in the model's languages before
// what the doc said when texts were first given; giving texts again or none
// never loses or repeats that, and a class of another model is left alone.
TEST(OntologyModel, ClassTextsPutTheChosenDocBeforeTheDocGiven) {
  OntologyModel model;
  MetaClassLibrary* const lib = model.AddLibrary("lib");
  QAX::Ontology::Info::MetaClassInfo info = ClassInfo("A", "urn:A");
  info.doc = "Also a subclass of lib.B.";
  MetaClass* const a = model.AddClass(lib, info, nullptr);
  const std::string& doc = a->GetInfo().doc;
  using Texts = QAX::Ontology::TermTexts;
  model.SetClassTexts(a, Texts{{{"Ay", ""}}, {{"An A.", "en"}, {"Um A.", "pt"}}});
  EXPECT_EQ(doc, "An A. Also a subclass of lib.B.");
  model.SetLanguages(QAX::Ontology::LanguagePreference{{"pt"}});
  EXPECT_EQ(doc, "Um A. Also a subclass of lib.B.");
  model.SetClassTexts(a, Texts{{}, {{"Ein A.", "de"}}});
  EXPECT_EQ(doc, "Ein A. Also a subclass of lib.B.");
  // Labels alone leave the doc as given.
  model.SetClassTexts(a, Texts{{{"Ay", ""}}, {}});
  EXPECT_EQ(doc, "Also a subclass of lib.B.");
  ASSERT_NE(a->GetTexts(), nullptr);
  model.SetClassTexts(a, Texts{});
  EXPECT_EQ(a->GetTexts(), nullptr);

  OntologyModel elsewhere;
  MetaClass* const foreign =
      elsewhere.AddClass(elsewhere.AddLibrary("lib"), ClassInfo("A", "urn:A"), nullptr);
  model.SetClassTexts(foreign, Texts{{}, {{"Foreign.", ""}}});
  EXPECT_EQ(foreign->GetTexts(), nullptr);
  EXPECT_EQ(foreign->GetInfo().doc, "doc of A");
}

// One ambassador per process: a separately loaded shared library (like a
// channel module) must reach the same one, not a copy of its own, and sees
// the model set here. The ambassador does not own the model.
TEST(Ambassador, SeparatelyLoadedLibrarySeesTheSameInstanceAndModel) {
  QAXAmbassador& ambassador = QAX::Util::SingletonObject<QAXAmbassador>::Instance();
  const char* const binDir = std::getenv("QAX_BIN_DIR");
  ASSERT_NE(binDir, nullptr) << "QAX_BIN_DIR is not set; run this test through ctest";
  void* const handle =
      dlopen((std::string(binDir) + "/qax_singleton_probe.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  const auto probe = reinterpret_cast<QAXAmbassador* (*)()>(dlsym(handle, "QaxProbeAmbassador"));
  ASSERT_NE(probe, nullptr) << dlerror();
  EXPECT_EQ(probe(), &ambassador);
  QAX::Ontology::OntologyModel* const previous = ambassador.GetOntologyModel();
  OntologyModel model;
  ambassador.SetOntologyModel(&model);
  EXPECT_EQ(probe()->GetOntologyModel(), &model);
  ambassador.SetOntologyModel(previous);
  dlclose(handle);
}

}  // namespace
}  // namespace qaxoi::test
