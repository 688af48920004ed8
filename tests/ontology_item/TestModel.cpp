#include "tests/ontology_item/TestModel.h"

namespace qax_test {

using QAX::Ontology::Info::MetaAttrInfo;
using QAX::Ontology::Info::MetaClassInfo;

void AddAttribute(QAX::Ontology::MetaClass* metaClass, const std::string& name, int kind,
                  const std::string& typeName) {
  metaClass->AddAttribute(MetaAttrInfo{name, "lib", kind, typeName});
}

TestModel::TestModel() : model_(std::make_unique<QAX::Ontology::OntologyModel>()) {
  library_ = model_->AddLibrary("lib");
  root_ = AddClass("Root", nullptr);
  AddAttribute(root_, "r_text", 0, "string");
  AddAttribute(root_, "r_bool", 1, "boolean");
  parent_ = AddClass("Parent", root_);
  AddAttribute(parent_, "p_int", 2, "integer");
  AddAttribute(parent_, "p_real", 3, "double");
  address_ = AddClass("Address", nullptr);
  AddAttribute(address_, "street", 0, "string");
  AddAttribute(address_, "number", 2, "integer");
  child_ = AddClass("Child", parent_);
  AddAttribute(child_, "c_date", 4, "date");
  AddAttribute(child_, "c_address", 5, "Address");
  AddAttribute(child_, "c_odd", 6, "weird");
  AddAttribute(child_, "c_text", 0, "string");
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(model_.get());
}

TestModel::~TestModel() {
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(nullptr);
}

QAX::Ontology::MetaClass* TestModel::AddClass(const std::string& name,
                                              const QAX::Ontology::MetaClass* parent) {
  MetaClassInfo info;
  info.name = name;
  info.scopeName = "lib";
  info.handle = "urn:lib:" + name;
  if (parent != nullptr) {
    info.parentName = parent->GetInfo().name;
    info.parentScopeName = parent->GetInfo().scopeName;
  }
  info.doc = name + " documentation";
  return model_->AddClass(library_, info, parent);
}

}  // namespace qax_test
