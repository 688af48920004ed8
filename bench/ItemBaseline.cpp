// Beside GetOntologyItem(true). Numbers become texts through the module's own
// conversions, which qax-bench measures on their own: the comparison is of
// everything else.
#include "bench/Baselines.h"
#include "ontology_item/NumberText.h"

namespace qaxoi::bench {
namespace {

using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;

using QAX::Onto::OntologyItem;
using QAX::Ontology::MetaClass;
using QAX::Ontology::OntologyModel;

std::unique_ptr<OntologyItem> BuildItem(const OntologyModel& model, Aco_QAXOntologyItem& channel);

void SetAttributes(const OntologyModel& model, const MetaClass* metaClass,
                   Aco_QAXOntologyItem& channel, OntologyItem& item, int& index) {
  if (metaClass == nullptr) return;
  SetAttributes(model, metaClass->GetParent(), channel, item, index);
  for (const QAX::Ontology::MetaAttr* attribute : metaClass->GetAttributes()) {
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
    A3d_Channel* const child = channel.GetChild(index++);
    switch (AttrKindOf(info.kind)) {
      case AttrKind::kText:
      case AttrKind::kTemporal:
        if (auto* string = dynamic_cast<Aco_StringChannel*>(child)) {
          if (const char* value = string->GetString()) item.SetAttribute(info.name, value);
        }
        break;
      case AttrKind::kBoolean:
        if (auto* number = dynamic_cast<Aco_FloatChannel*>(child)) {
          item.SetAttribute(info.name, BooleanText(number->GetFloat()));
        }
        break;
      case AttrKind::kInteger:
        if (auto* number = dynamic_cast<Aco_FloatChannel*>(child)) {
          item.SetAttribute(info.name, IntegerText(number->GetFloat()));
        }
        break;
      case AttrKind::kReal:
        if (auto* number = dynamic_cast<Aco_FloatChannel*>(child)) {
          item.SetAttribute(info.name, RealText(number->GetFloat()));
        }
        break;
      case AttrKind::kComplex:
        if (auto* nested = dynamic_cast<Aco_QAXOntologyItem*>(child)) {
          const std::unique_ptr<OntologyItem> built = BuildItem(model, *nested);
          if (built) {
            // The nested channel takes a clone (the one way to give a channel
            // an item), and so does this item: a clone of the clone, which
            // nobody outside points into, costs the service least.
            nested->SetOntologyItem(built.get());
            item.SetAttribute(info.name, nested->GetOntologyItem(false)->Clone());
          }
        }
        break;
      default:
        break;
    }
  }
}

std::unique_ptr<OntologyItem> BuildItem(const OntologyModel& model, Aco_QAXOntologyItem& channel) {
  const MetaClass* const metaClass = model.GetMetaClass(channel.GetClassHandle());
  if (metaClass == nullptr) return nullptr;
  auto item = std::make_unique<OntologyItem>(metaClass->GetFQName());
  int index = 0;
  SetAttributes(model, metaClass, channel, *item, index);
  return item;
}

}  // namespace

void BuildItemBaseline(const OntologyModel& model, Aco_QAXOntologyItem& channel,
                       std::unique_ptr<OntologyItem>& item) {
  item.reset();
  item = BuildItem(model, channel);
}

}  // namespace qaxoi::bench
