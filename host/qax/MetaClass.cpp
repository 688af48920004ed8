#include "host/qax/MetaClass.h"

#include <utility>

#include "host/qax/MetaClassLibrary.h"

namespace QAX {
namespace Ontology {

MetaClass::MetaClass(Info::MetaClassInfo info, const MetaClass* parent,
                     const MetaClassLibrary* library)
    : info_(std::move(info)), parent_(parent), library_(library) {}

MetaClass::~MetaClass() = default;

// Made on each call rather than kept: a model may hold millions of classes,
// and the text is its library's name and the class's.
std::string MetaClass::GetFQName() const { return MakeFQName(library_->GetName(), info_.name); }

const MetaAttr* MetaClass::AddAttribute(const Info::MetaAttrInfo& info) {
  ownedAttributes_.push_back(std::make_unique<MetaAttr>(info));
  attributes_.push_back(ownedAttributes_.back().get());
  return attributes_.back();
}

std::string MetaClass::MakeFQName(const std::string& libraryName, const std::string& name) {
  std::string fqName;
  fqName.reserve(libraryName.size() + 2 + name.size());
  fqName.append(libraryName).append("::").append(name);
  return fqName;
}

}  // namespace Ontology
}  // namespace QAX
