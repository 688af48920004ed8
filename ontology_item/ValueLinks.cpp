// Value links: one more link per further value of an attribute, behind the
// channel's last link.
#include <algorithm>

#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkRecord.h"
#include "channel_extension/LinkTypes.h"
#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassChain.h"
#include "ontology_item/WalkLinks.h"

namespace {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;

constexpr const char* kAddValueLinkName = "Aco_QAXOntologyItem::AddValueLink";

// The attributes of `metaClass`'s walk, parents first: the first
// kMaxChildLinks of them, the most a channel links.
std::vector<const MetaAttr*> WalkAttributes(const MetaClass* metaClass) {
  std::vector<const MetaAttr*> attributes;
  const std::size_t limit = static_cast<std::size_t>(A3d_Channel::kMaxChildLinks);
  for (const MetaClass* cls : qaxoi::module::ClassChainFromRoot(metaClass)) {
    for (const MetaAttr* attribute : cls->GetAttributes()) {
      if (attributes.size() == limit) return attributes;
      attributes.push_back(attribute);
    }
  }
  return attributes;
}

}  // namespace

int Aco_QAXOntologyItem::WalkPositionOfLink(int link, std::size_t walkSize) const {
  if (link < 0 || link >= static_cast<int>(_linkDescriptions.size())) return -1;
  for (const LinkIdentity::ValueLink& value : _identity.valueLinks) {
    if (value.link == link) return -1;
  }
  const std::vector<int>& linkOf = _identity.linkOfAttribute;
  if (linkOf.empty()) return static_cast<std::size_t>(link) < walkSize ? link : -1;
  const auto at = std::find(linkOf.begin(), linkOf.end(), link);
  if (at == linkOf.end()) return -1;
  const std::size_t position = static_cast<std::size_t>(at - linkOf.begin());
  return position < walkSize ? static_cast<int>(position) : -1;
}

int Aco_QAXOntologyItem::AddValueLink(int link) {
  const MetaClass* metaClass = GetCurrentMetaClass();
  if (metaClass == nullptr) {
    ReportError(kAddValueLinkName, "NoClass.Handle[%s]", _classHandle.c_str());
    return -1;
  }
  const std::vector<const MetaAttr*> walk = WalkAttributes(metaClass);
  const int position = WalkPositionOfLink(link, walk.size());
  if (position < 0) {
    ReportError(kAddValueLinkName, "NotAnAttributeLink.Link[%d]", link);
    return -1;
  }
  const MetaAttr& attribute = *walk[static_cast<std::size_t>(position)];
  if (attribute.GetCardinality().max <= 1) {
    ReportError(kAddValueLinkName, "SingleValued.Attribute[%s].Max[%u]",
                attribute.GetInfo().name.c_str(), attribute.GetCardinality().max);
    return -1;
  }
  const std::size_t count = _linkDescriptions.size();
  if (count >= static_cast<std::size_t>(kMaxChildLinks)) {
    ReportError(kAddValueLinkName, "TooManyLinks.Limit[%d]", kMaxChildLinks);
    return -1;
  }
  // Everything that can run out of memory first, so that a failure declares
  // nothing; the host's declaration is the last step that can fail.
  LinkDescription description = _linkDescriptions[static_cast<std::size_t>(link)];
  const bool withIris = _identity.iris.size() == count;
  std::string iri = withIris ? _identity.iris[static_cast<std::size_t>(link)] : std::string();
  _linkDescriptions.reserve(count + 1);
  if (withIris) _identity.iris.reserve(count + 1);
  _identity.valueLinks.reserve(_identity.valueLinks.size() + 1);
  _GUID guid = kAnyTypeLinkGuid;
  qaxoi::module::LinkGuidForTypeName(description.first, &guid);
  const int at = static_cast<int>(count);
  SetChildCreateType(MakeLinkRecord(guid, description.first.c_str(), description.second.c_str(),
                                    static_cast<std::int32_t>(at), kDefaultLinkParam),
                     at);
  _linkDescriptions.push_back(std::move(description));
  if (withIris) _identity.iris.push_back(std::move(iri));
  _identity.valueLinks.push_back({at, position});
  return at;
}

std::vector<int> Aco_QAXOntologyItem::GetValueLinks(int link) const {
  const MetaClass* metaClass = GetCurrentMetaClass();
  if (metaClass == nullptr) return {};
  int position = -1;
  for (const LinkIdentity::ValueLink& value : _identity.valueLinks) {
    if (value.link == link) position = value.walkPosition;
  }
  if (position < 0) position = WalkPositionOfLink(link, WalkAttributes(metaClass).size());
  if (position < 0) return {};
  std::vector<int> links;
  const int own = LinkOfAttribute(static_cast<std::size_t>(position));
  if (own >= 0) links.push_back(own);
  for (const LinkIdentity::ValueLink& value : _identity.valueLinks) {
    if (value.walkPosition == position) links.push_back(value.link);
  }
  return links;
}
