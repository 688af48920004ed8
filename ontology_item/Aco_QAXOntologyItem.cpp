// The ontology item channel as an object: construction, copying, destruction
// and the class handle.
#include "ontology_item/Aco_QAXOntologyItem.h"

#include "module/TypeGuid.h"

namespace {

std::unique_ptr<QAX::Onto::OntologyItem> CloneOf(const QAX::Onto::OntologyItem* item) {
  return std::unique_ptr<QAX::Onto::OntologyItem>(item != nullptr ? item->Clone() : nullptr);
}

}  // namespace

Aco_QAXOntologyItem::Aco_QAXOntologyItem() {
  SetChannelName(kQAXOntologyItemTypeName);
  SetNamePrefix("QAXOntologyItem_");
  SetModeDescription("Ontology:");
  SetAutoSetModeOnLoad(false);
  ResetTemp();
}

Aco_QAXOntologyItem::Aco_QAXOntologyItem(const Aco_QAXOntologyItem& other)
    : MultiModeChannel(other),
      _linkDescriptions(other._linkDescriptions),
      _identity(other._identity),
      _ontologyItem(CloneOf(other._ontologyItem.get())),
      _heldCost(other._heldCost),
      _heldLevels(other._heldLevels),
      _classHandle(other._classHandle) {}

Aco_QAXOntologyItem& Aco_QAXOntologyItem::operator=(const Aco_QAXOntologyItem& other) {
  // Copy what can fail first: for self-assignment the source item is the one
  // being replaced, and running out of memory here changes nothing.
  std::vector<LinkDescription> descriptions = other._linkDescriptions;
  LinkIdentity identity = other._identity;
  std::unique_ptr<QAX::Onto::OntologyItem> clone = CloneOf(other._ontologyItem.get());
  std::string handle = other._classHandle;
  // The host part may hold the source's links when memory runs out.
  AllLinksOrNone([&] { MultiModeChannel::operator=(other); });
  _linkDescriptions.swap(descriptions);
  std::swap(_identity, identity);
  _ontologyItem = std::move(clone);
  _heldCost = other._heldCost;
  _heldLevels = other._heldLevels;
  _classHandle.swap(handle);
  return *this;
}

Aco_QAXOntologyItem::~Aco_QAXOntologyItem() = default;

void Aco_QAXOntologyItem::SetClassHandle(const std::string& handle) { _classHandle = handle; }

const std::string& Aco_QAXOntologyItem::GetClassHandle() const { return _classHandle; }

void Aco_QAXOntologyItem::Reset() { _classHandle.clear(); }

const std::vector<Aco_QAXOntologyItem::LinkDescription>& Aco_QAXOntologyItem::GetLinkDescriptions()
    const {
  return _linkDescriptions;
}

const std::vector<std::string>& Aco_QAXOntologyItem::GetLinkAttributeIris() const {
  return _identity.iris;
}

const LoadBinding& Aco_QAXOntologyItem::GetLoadBinding() const { return _identity.binding; }

int Aco_QAXOntologyItem::LinkOfAttribute(std::size_t walkPosition) const {
  if (_identity.linkOfAttribute.empty()) return static_cast<int>(walkPosition);
  return walkPosition < _identity.linkOfAttribute.size() ? _identity.linkOfAttribute[walkPosition]
                                                         : -1;
}

void Aco_QAXOntologyItem::InitializeModes() {}

void Aco_QAXOntologyItem::ModeIsSet() {}

void Aco_QAXOntologyItem::PostLoadChannel() {}
