#include "host/qax/model/MetaClass.h"

#include <utility>

#include "host/qax/model/MetaClassLibrary.h"

namespace QAX {
namespace Ontology {

MetaClass::MetaClass(Info::MetaClassInfo info, const MetaClass* parent,
                     const MetaClassLibrary* library)
    : info_(std::move(info)), parent_(parent), library_(library) {}

MetaClass::~MetaClass() = default;

const std::vector<const MetaAttr*>& MetaClass::GetAttributes() const {
  static const std::vector<const MetaAttr*> kNone;
  return attributes_ ? attributes_->list : kNone;
}

// Made on each call rather than kept: a model may hold millions of classes,
// and the text is its library's name and the class's.
std::string MetaClass::GetFQName() const { return MakeFQName(library_->GetName(), info_.name); }

const MetaAttr* MetaClass::AddAttribute(Info::MetaAttrInfo info, MetaAttr::Cardinality cardinality,
                                        std::shared_ptr<const AttrRange> range) {
  if (!attributes_) attributes_ = std::make_unique<Attributes>();
  attributes_->owned.push_back(
      std::make_unique<MetaAttr>(std::move(info), cardinality, std::move(range)));
  attributes_->list.push_back(attributes_->owned.back().get());
  return attributes_->list.back();
}

void MetaClass::SetAttributeTexts(std::size_t index, std::shared_ptr<const TermTexts> texts) {
  if (!attributes_ || index >= attributes_->owned.size()) return;
  attributes_->owned[index]->SetTexts(std::move(texts));
}

void MetaClass::ReserveAttributes(std::size_t count) {
  if (count == 0) return;
  if (!attributes_) attributes_ = std::make_unique<Attributes>();
  attributes_->owned.reserve(count);
  attributes_->list.reserve(count);
}

std::string MetaClass::MakeFQName(const std::string& libraryName, const std::string& name) {
  std::string fqName;
  fqName.reserve(libraryName.size() + 2 + name.size());
  fqName.append(libraryName).append("::").append(name);
  return fqName;
}

}  // namespace Ontology
}  // namespace QAX
