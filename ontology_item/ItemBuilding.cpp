// Building ontology items from the values of the linked children, and writing
// item values back into them.
#include <cstring>
#include <typeinfo>

#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ItemMeasure.h"
#include "ontology_item/NumberText.h"
#include "ontology_item/RebuildBudget.h"

namespace {

using QAX::Onto::OntologyItem;
using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;
using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;

constexpr const char* kGetOntologyItemName = "Aco_QAXOntologyItem::GetOntologyItem";
constexpr const char* kSetOntologyItemName = "Aco_QAXOntologyItem::SetOntologyItem";

// Marks a channel's rebuild as running for as long as it lives.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

// Whether an attribute of `info` takes its value from a text child.
bool IsTextKind(const QAX::Ontology::Info::MetaAttrInfo& info) {
  const AttrKind kind = AttrKindOf(info.kind);
  return kind == AttrKind::kText || kind == AttrKind::kTemporal;
}

// The cost of a value of attribute `info` holding `length` bytes of text.
std::size_t ValueCost(const QAX::Ontology::Info::MetaAttrInfo& info, std::size_t length) {
  return qaxoi::module::kValueCost + info.name.size() + length;
}

// Sets the attribute of `info` from a text child: its text, for a text kind,
// when the budget pays for it. Answers the cost spent (0: nothing set).
std::size_t SetTextAttribute(OntologyItem& item, const QAX::Ontology::Info::MetaAttrInfo& info,
                             Aco_StringChannel& text) {
  if (!IsTextKind(info)) return 0;
  const char* value = text.GetString();
  if (value == nullptr) return 0;
  const std::size_t cost = ValueCost(info, std::strlen(value));
  if (!qaxoi::module::Spend(cost, kGetOntologyItemName)) return 0;
  item.SetAttribute(info.name, value);
  return cost;
}

// Sets the attribute of `info` from a value child: its float as text, for a
// numeric kind, when the budget pays for it. Answers the cost spent (0:
// nothing set).
std::size_t SetNumberAttribute(OntologyItem& item, const QAX::Ontology::Info::MetaAttrInfo& info,
                               Aco_FloatChannel& number) {
  const float value = number.GetFloat();
  std::string text;
  switch (AttrKindOf(info.kind)) {
    case AttrKind::kBoolean:
      text = BooleanText(value);
      break;
    case AttrKind::kInteger:
      text = IntegerText(value);
      break;
    case AttrKind::kReal:
      text = RealText(value);
      break;
    default:
      return 0;
  }
  const std::size_t cost = ValueCost(info, text.size());
  if (!qaxoi::module::Spend(cost, kGetOntologyItemName)) return 0;
  item.SetAttribute(info.name, text);
  return cost;
}

}  // namespace

QAX::Onto::OntologyItem* Aco_QAXOntologyItem::GetOntologyItem(bool rebuild) {
  if (!rebuild) return _ontologyItem.get();
  const MetaClass* metaClass = GetCurrentMetaClass();
  if (metaClass == nullptr) return nullptr;
  if (_rebuilding) {
    ReportError(kGetOntologyItemName, "NestedItemCycle.Channel[%s]", CE_GetOwnName());
    return nullptr;
  }
  const qaxoi::module::BudgetScope budget;
  if (qaxoi::module::NestingDepth() >= kMaxNestingDepth) {
    if (qaxoi::module::FirstTime(qaxoi::module::OnceReport::kTooDeep)) {
      ReportError(kGetOntologyItemName, "NestingTooDeep.Limit[%d]", kMaxNestingDepth);
    }
    return nullptr;
  }
  std::string fqName = metaClass->GetFQName();
  const std::size_t itemCost = qaxoi::module::kItemCost + fqName.size();
  if (!qaxoi::module::Spend(itemCost, kGetOntologyItemName)) return nullptr;
  const qaxoi::module::NestingScope nesting;
  const RunningFlag running(_rebuilding);
  _ontologyItem.reset();
  _heldCost = 0;
  _heldLevels = 0;
  _ontologyItem = std::make_unique<OntologyItem>(fqName);
  // Counted up as the attributes are set.
  _heldCost = itemCost;
  _heldLevels = 1;
  if (_identity.linkOfAttribute.empty()) {
    int index = 0;
    GetAttributesRec(metaClass, index);
  } else {
    GetAttributesBound(metaClass);
  }
  ReportUnboundChildren();
  return _ontologyItem.get();
}

void Aco_QAXOntologyItem::GetAttributesBound(const MetaClass* metaClass) {
  const qaxoi::module::BudgetScope budget;
  const std::vector<const MetaAttr*>* plan =
      qaxoi::module::AttributePlan(metaClass, kGetOntologyItemName);
  if (plan == nullptr) return;
  for (std::size_t position = 0; position < plan->size(); ++position) {
    if (!qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)) break;
    const int link = LinkOfAttribute(position);
    if (link >= 0) SetAttributeFromChild((*plan)[position]->GetInfo(), GetChild(link));
  }
}

void Aco_QAXOntologyItem::ReportUnboundChildren() {
  if (_identity.unboundReported) return;
  std::size_t count = 0;
  const SavedLinkBinding* first = nullptr;
  for (const SavedLinkBinding& binding : _identity.binding.links) {
    if (binding.outcome != LinkBindingOutcome::kUnbound || GetChild(binding.slot) == nullptr)
      continue;
    if (first == nullptr) first = &binding;
    ++count;
  }
  if (count == 0) return;
  _identity.unboundReported = true;
  ReportError(kGetOntologyItemName, "UnboundLinks.Channel[%s].Count[%zu].First[%s]",
              CE_GetOwnName(), count,
              _linkDescriptions[static_cast<std::size_t>(first->slot)].second.c_str());
}

void Aco_QAXOntologyItem::GetAttributesRec(const MetaClass* metaClass, int& index) {
  const qaxoi::module::BudgetScope budget;
  // Only the attributes that have a link are walked: with at most
  // kMaxChildLinks links, a chain of any length costs one walk per class.
  const std::vector<const MetaAttr*>* plan =
      qaxoi::module::AttributePlan(metaClass, kGetOntologyItemName);
  if (plan == nullptr) return;
  const int links = GetChildCount();
  for (const MetaAttr* attribute : *plan) {
    if (index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName))
      break;
    SetAttributeFromChild(attribute->GetInfo(), GetChild(index));
    ++index;
  }
}

void Aco_QAXOntologyItem::SetAttributeFromChild(const QAX::Ontology::Info::MetaAttrInfo& info,
                                                A3d_Channel* child) {
  if (child == nullptr || !_ontologyItem) return;
  // The child's kind: text first, then ontology item (an ontology item
  // channel is a float channel too), then float. A child of exactly one of
  // these classes is told by its type, one comparison, before the casts that
  // search the class tree; it takes the same branch either way.
  Aco_StringChannel* text = nullptr;
  Aco_QAXOntologyItem* nested = nullptr;
  Aco_FloatChannel* number = nullptr;
  const std::type_info& type = typeid(*child);
  if (type == typeid(Aco_FloatChannel)) {
    number = static_cast<Aco_FloatChannel*>(child);
  } else if (type == typeid(Aco_StringChannel)) {
    text = static_cast<Aco_StringChannel*>(child);
  } else if (type == typeid(Aco_QAXOntologyItem)) {
    nested = static_cast<Aco_QAXOntologyItem*>(child);
  } else if ((text = dynamic_cast<Aco_StringChannel*>(child)) == nullptr &&
             (nested = dynamic_cast<Aco_QAXOntologyItem*>(child)) == nullptr) {
    number = dynamic_cast<Aco_FloatChannel*>(child);
  }

  if (text != nullptr) {
    _heldCost += SetTextAttribute(*_ontologyItem, info, *text);
  } else if (nested != nullptr) {
    if (AttrKindOf(info.kind) != AttrKind::kComplex) return;
    const std::size_t valueCost = ValueCost(info, 0);
    if (!qaxoi::module::Spend(valueCost, kGetOntologyItemName)) return;
    // A fresh build is paid for as it is made; its clone holds the same.
    OntologyItem* item = nested->GetOntologyItem(true);
    // A child that is itself being rebuilt further up (a cycle) holds only
    // the part built so far; taking it would copy the rebuild into itself.
    if (item == nullptr && !nested->_rebuilding) {
      item = nested->GetOntologyItem(false);
      // What the child held before is paid for at its real size, and must fit
      // under this item within the nesting limit.
      if (item != nullptr && !TakeHeldItem(*nested)) item = nullptr;
    }
    if (item == nullptr) return;
    std::unique_ptr<OntologyItem> clone(item->Clone());
    // The item takes the clone over (and frees it should it fail).
    _ontologyItem->SetAttribute(info.name, clone.release());
    _heldCost += valueCost + nested->_heldCost;
    if (nested->_heldLevels + 1 > _heldLevels) _heldLevels = nested->_heldLevels + 1;
  } else if (number != nullptr) {
    _heldCost += SetNumberAttribute(*_ontologyItem, info, *number);
  }
}

bool Aco_QAXOntologyItem::TakeHeldItem(const Aco_QAXOntologyItem& child) {
  // This channel's item lies at the running depth; what it takes lies below.
  if (child._heldLevels > kMaxNestingDepth - qaxoi::module::NestingDepth()) {
    if (qaxoi::module::FirstTime(qaxoi::module::OnceReport::kHeldItemTooDeep)) {
      ReportError(kGetOntologyItemName, "HeldItemTooDeep.Channel[%s].Limit[%d]",
                  child.CE_GetOwnName(), kMaxNestingDepth);
    }
    return false;
  }
  return qaxoi::module::Spend(child._heldCost, kGetOntologyItemName);
}

void Aco_QAXOntologyItem::FillAttributes(OntologyItem* item) {
  if (item == nullptr || item->GetClassHandle() != _classHandle) return;
  const MetaClass* metaClass = GetCurrentMetaClass();
  if (metaClass == nullptr) return;
  // Own attribute n is child n while the links follow the walk (the own
  // attributes' links are counted from 0 here, whatever the parents hold);
  // a re-bound channel finds it where it was bound, behind the parents'.
  std::size_t inherited = 0;
  if (!_identity.linkOfAttribute.empty()) {
    for (const MetaClass* cls = metaClass->GetParent(); cls != nullptr; cls = cls->GetParent())
      inherited += cls->GetAttributes().size();
  }
  int n = 0;
  for (const MetaAttr* attribute : metaClass->GetAttributes()) {
    A3d_Channel* const child =
        _identity.linkOfAttribute.empty()
            ? GetChild(n)
            : GetChild(LinkOfAttribute(inherited + static_cast<std::size_t>(n)));
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
    if (IsTextKind(info)) {
      std::string value;
      if (item->GetAttributeString(info.name, value)) {
        if (auto* text = dynamic_cast<Aco_StringChannel*>(child)) {
          text->SetString(value.c_str());
        }
      }
    } else if (AttrKindOf(info.kind) == AttrKind::kComplex) {
      OntologyItem* instance = nullptr;
      if (item->GetAttributeInstance(info.name, instance)) {
        if (auto* nested = dynamic_cast<Aco_QAXOntologyItem*>(child)) {
          nested->SetOntologyItem(instance);
        }
      }
    }
    ++n;
  }
}

void Aco_QAXOntologyItem::SetOntologyItem(OntologyItem* item) {
  // Clone first: `item` may be the item held now. The clone is the channel's
  // own, so measuring it changes nothing of the caller's.
  std::unique_ptr<OntologyItem> clone(item != nullptr ? item->Clone() : nullptr);
  qaxoi::module::ItemMeasure measure;
  if (clone) {
    // An item from elsewhere is held only within the limits of a built one,
    // so that whatever later takes, prints or writes it stays bounded.
    const qaxoi::module::BudgetScope budget;
    measure =
        qaxoi::module::MeasureItem(*clone, kMaxNestingDepth, kMaxRebuildCost, kSetOntologyItemName);
    if (measure.verdict == qaxoi::module::ItemMeasure::Verdict::kTooDeep) {
      ReportError(kSetOntologyItemName, "ItemTooDeep.Limit[%d]", kMaxNestingDepth);
      return;
    }
    if (measure.verdict == qaxoi::module::ItemMeasure::Verdict::kTooLarge) {
      ReportError(kSetOntologyItemName, "ItemTooLarge.Limit[%d]", kMaxRebuildCost);
      return;
    }
  }
  _ontologyItem = std::move(clone);
  _heldCost = measure.cost;
  _heldLevels = measure.levels;
}

void Aco_QAXOntologyItem::ClearOntologyItem() {
  _ontologyItem.reset();
  _heldCost = 0;
  _heldLevels = 0;
}
