// The readable description of an ontology class that the editor shows.
#include "ontology_item/Aco_QAXOntologyItem.h"

std::string Aco_QAXOntologyItem::GetClassDescription(
    const QAX::Ontology::MetaClass* metaClass) const {
  if (metaClass == nullptr) return "No class selected";
  const QAX::Ontology::Info::MetaClassInfo& info = metaClass->GetInfo();
  std::string text;
  text.append("Class:\t").append(info.scopeName).append(".").append(info.name).append("\r\n");
  text.append("Parent:\t")
      .append(info.parentScopeName)
      .append(".")
      .append(info.parentName)
      .append("\r\n");
  text.append("Abstract:\t").append(info.isAbstract ? "yes" : "no").append("\r\n");
  text.append("Doc:\t").append(info.doc).append("\r\n\r\n");
  text.append("-------- attributes --------\r\n\r\n");
  for (const QAX::Ontology::MetaAttr* attribute : metaClass->GetAttributes()) {
    const QAX::Ontology::Info::MetaAttrInfo& attr = attribute->GetInfo();
    text.append(attr.name).append("\t").append(attr.typeName).append("\r\n");
  }
  return text;
}
