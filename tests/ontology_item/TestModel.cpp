#include "tests/ontology_item/TestModel.h"

namespace qaxoi::test {

using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::MetaAttrInfo;
using QAX::Ontology::Info::MetaClassInfo;

void AddAttribute(QAX::Ontology::MetaClass* metaClass, const std::string& name, AttrKind kind,
                  const std::string& typeName) {
  metaClass->AddAttribute(MetaAttrInfo{name, "lib", KindValue(kind), typeName});
}

TestModel::TestModel() : model(std::make_unique<QAX::Ontology::OntologyModel>()) {
  library = model->AddLibrary("lib");
  root = AddClass("Root", nullptr);
  AddAttribute(root, "r_text", AttrKind::kText, "string");
  AddAttribute(root, "r_bool", AttrKind::kBoolean, "boolean");
  parent = AddClass("Parent", root);
  AddAttribute(parent, "p_int", AttrKind::kInteger, "integer");
  AddAttribute(parent, "p_real", AttrKind::kReal, "double");
  address = AddClass("Address", nullptr);
  AddAttribute(address, "street", AttrKind::kText, "string");
  AddAttribute(address, "number", AttrKind::kInteger, "integer");
  child = AddClass("Child", parent);
  AddAttribute(child, "c_date", AttrKind::kTemporal, "date");
  AddAttribute(child, "c_address", AttrKind::kComplex, "Address");
  AddAttribute(child, "c_odd", AttrKind::kUnmapped, "weird");
  AddAttribute(child, "c_text", AttrKind::kText, "string");
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(model.get());
}

TestModel::~TestModel() {
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
}

QAX::Ontology::MetaClass* TestModel::AddClass(const std::string& name,
                                              const QAX::Ontology::MetaClass* parentClass) {
  MetaClassInfo info;
  info.name = name;
  info.scopeName = "lib";
  info.handle = "urn:lib:" + name;
  if (parentClass != nullptr) {
    info.parentName = parentClass->GetInfo().name;
    info.parentScopeName = parentClass->GetInfo().scopeName;
  }
  info.doc = name + " documentation";
  return model->AddClass(library, info, parentClass);
}

}  // namespace qaxoi::test
