// The ontology item channel as an object: construction, copying, destruction
// and the class handle.
#include "ontology_item/Aco_QAXOntologyItem.h"

#include "module/Module.h"

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
      _ontologyItem(CloneOf(other._ontologyItem.get())),
      _classHandle(other._classHandle) {}

Aco_QAXOntologyItem& Aco_QAXOntologyItem::operator=(const Aco_QAXOntologyItem& other) {
  MultiModeChannel::operator=(other);
  _linkDescriptions = other._linkDescriptions;
  // Clone before letting the old item go: for self-assignment the source
  // item is the one being replaced.
  std::unique_ptr<QAX::Onto::OntologyItem> clone = CloneOf(other._ontologyItem.get());
  _ontologyItem = std::move(clone);
  _classHandle = other._classHandle;
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

void Aco_QAXOntologyItem::InitializeModes() {}

void Aco_QAXOntologyItem::ModeIsSet() {}

void Aco_QAXOntologyItem::PostLoadChannel() {}
