#include "host/qax/model/MetaClass.h"

#include <utility>

#include "host/qax/model/MetaClassLibrary.h"

namespace QAX {
namespace Ontology {

MetaClass::MetaClass(Info::MetaClassInfo info, const MetaClass* parent,
                     const MetaClassLibrary* library)
    : info_(std::move(info)), parent_(parent), library_(library) {}

MetaClass::~MetaClass() = default;

namespace {
const std::vector<const MetaAttr*>& NoAttributes() {
  static const std::vector<const MetaAttr*> kNone;
  return kNone;
}
}  // namespace

const std::vector<const MetaAttr*>& MetaClass::GetAttributes() const {
  if (!attributes_) return NoAttributes();
  return attributes_->separate ? attributes_->presented : attributes_->declared;
}

const std::vector<const MetaAttr*>& MetaClass::GetDeclaredAttributes() const {
  return attributes_ ? attributes_->declared : NoAttributes();
}

std::vector<const MetaClass*> MetaClass::GetSuperclasses() const {
  std::vector<const MetaClass*> superclasses;
  const std::size_t others = attributes_ ? attributes_->superclasses.size() : 0;
  superclasses.reserve((parent_ != nullptr ? 1 : 0) + others);
  if (parent_ != nullptr) superclasses.push_back(parent_);
  if (others != 0) {
    superclasses.insert(superclasses.end(), attributes_->superclasses.begin(),
                        attributes_->superclasses.end());
  }
  return superclasses;
}

// Made on each call rather than kept: a model may hold millions of classes,
// and the text is its library's name and the class's.
std::string MetaClass::GetFQName() const { return MakeFQName(library_->GetName(), info_.name); }

MetaClass::Attributes& MetaClass::Lists() {
  if (!attributes_) attributes_ = std::make_unique<Attributes>();
  return *attributes_;
}

const MetaAttr* MetaClass::Declare(Info::MetaAttrInfo info, MetaAttr::Cardinality cardinality,
                                   std::shared_ptr<const AttrRange> range,
                                   std::shared_ptr<const AttrValueType> valueType) {
  Attributes& lists = Lists();
  lists.owned.push_back(std::make_unique<MetaAttr>(std::move(info), cardinality, std::move(range),
                                                   std::move(valueType)));
  lists.declared.push_back(lists.owned.back().get());
  return lists.declared.back();
}

const MetaAttr* MetaClass::AddAttribute(Info::MetaAttrInfo info, MetaAttr::Cardinality cardinality,
                                        std::shared_ptr<const AttrRange> range,
                                        std::shared_ptr<const AttrValueType> valueType) {
  const MetaAttr* const added =
      Declare(std::move(info), cardinality, std::move(range), std::move(valueType));
  if (attributes_->separate) PresentAttribute(added);
  return added;
}

const MetaAttr* MetaClass::DeclareAttribute(Info::MetaAttrInfo info,
                                            MetaAttr::Cardinality cardinality,
                                            std::shared_ptr<const AttrRange> range,
                                            std::shared_ptr<const AttrValueType> valueType) {
  Attributes& lists = Lists();
  if (!lists.separate) {
    // The presented list is what was declared so far; from here they differ.
    lists.presented = lists.declared;
    lists.matching = lists.declared.size();
    lists.separate = true;
  }
  return Declare(std::move(info), cardinality, std::move(range), std::move(valueType));
}

void MetaClass::PresentAttribute(const MetaAttr* attribute) {
  if (attribute == nullptr) return;
  Attributes& lists = Lists();
  if (!lists.separate) {
    lists.presented = lists.declared;
    lists.matching = lists.declared.size();
    lists.separate = true;
  }
  const std::size_t at = lists.presented.size();
  lists.presented.push_back(attribute);
  if (lists.matching == at && at < lists.declared.size() && lists.declared[at] == attribute) {
    ++lists.matching;
  }
  JoinWhenEqual();
}

void MetaClass::JoinWhenEqual() {
  Attributes& lists = *attributes_;
  if (!lists.separate || lists.matching != lists.presented.size() ||
      lists.matching != lists.declared.size()) {
    return;
  }
  std::vector<const MetaAttr*>().swap(lists.presented);
  lists.separate = false;
}

bool MetaClass::AddSuperclass(const MetaClass* superclass) {
  if (superclass == nullptr || superclass == this || superclass == parent_) return false;
  Lists().superclasses.push_back(superclass);
  return true;
}

void MetaClass::SetAttributeTexts(std::size_t index, std::shared_ptr<const TermTexts> texts) {
  if (!attributes_ || index >= attributes_->owned.size()) return;
  attributes_->owned[index]->SetTexts(std::move(texts));
}

void MetaClass::ReserveAttributes(std::size_t count) {
  if (count == 0) return;
  Attributes& lists = Lists();
  lists.owned.reserve(count);
  lists.declared.reserve(count);
}

std::string MetaClass::MakeFQName(const std::string& libraryName, const std::string& name) {
  std::string fqName;
  fqName.reserve(libraryName.size() + 2 + name.size());
  fqName.append(libraryName).append("::").append(name);
  return fqName;
}

}  // namespace Ontology
}  // namespace QAX
