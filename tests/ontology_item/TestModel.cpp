#include "tests/ontology_item/TestModel.h"

namespace qax_test {

using QAX::Ontology::Info::MetaAttrInfo;
using QAX::Ontology::Info::MetaClassInfo;

void AddAttribute(QAX::Ontology::MetaClass* metaClass, const std::string& name, int kind,
                  const std::string& typeName) {
  metaClass->AddAttribute(MetaAttrInfo{name, "lib", kind, typeName});
}

TestModel::TestModel() : model(std::make_unique<QAX::Ontology::OntologyModel>()) {
  library = model->AddLibrary("lib");
  root = AddClass("Root", nullptr);
  AddAttribute(root, "r_text", 0, "string");
  AddAttribute(root, "r_bool", 1, "boolean");
  parent = AddClass("Parent", root);
  AddAttribute(parent, "p_int", 2, "integer");
  AddAttribute(parent, "p_real", 3, "double");
  address = AddClass("Address", nullptr);
  AddAttribute(address, "street", 0, "string");
  AddAttribute(address, "number", 2, "integer");
  child = AddClass("Child", parent);
  AddAttribute(child, "c_date", 4, "date");
  AddAttribute(child, "c_address", 5, "Address");
  AddAttribute(child, "c_odd", 6, "weird");
  AddAttribute(child, "c_text", 0, "string");
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

}  // namespace qax_test
