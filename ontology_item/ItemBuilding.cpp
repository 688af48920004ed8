// Building ontology items from the values of the linked children, and writing
// item values back into them.
#include <algorithm>
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

// The text of a text child for an attribute of `info`, for a text kind, when
// the budget pays for it. Answers the cost spent (0: no value).
std::size_t TextValue(const QAX::Ontology::Info::MetaAttrInfo& info, Aco_StringChannel& text,
                      std::string& out) {
  if (!IsTextKind(info)) return 0;
  const char* value = text.GetString();
  if (value == nullptr) return 0;
  const std::size_t cost = ValueCost(info, std::strlen(value));
  if (!qaxoi::module::Spend(cost, kGetOntologyItemName)) return 0;
  out = value;
  return cost;
}

// The float of a value child as text, for a numeric kind, when the budget
// pays for it. Answers the cost spent (0: no value).
std::size_t NumberValue(const QAX::Ontology::Info::MetaAttrInfo& info, Aco_FloatChannel& number,
                        std::string& out) {
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
  out = std::move(text);
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
  if (!_identity.valueLinks.empty()) {
    GetAttributesWithValues(metaClass);
  } else if (_identity.linkOfAttribute.empty()) {
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
  ChildValue value;
  if (!ValueOfChild(info, child, value)) return;
  if (value.item) {
    // The item takes the clone over (and frees it should it fail).
    _ontologyItem->SetAttribute(info.name, value.item.release());
  } else {
    _ontologyItem->SetAttribute(info.name, value.text);
  }
}

bool Aco_QAXOntologyItem::ValueOfChild(const QAX::Ontology::Info::MetaAttrInfo& info,
                                       A3d_Channel* child, ChildValue& value) {
  if (child == nullptr || !_ontologyItem) return false;
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

  std::size_t spent = 0;
  if (text != nullptr) {
    spent = TextValue(info, *text, value.text);
  } else if (nested != nullptr) {
    if (AttrKindOf(info.kind) != AttrKind::kComplex) return false;
    const std::size_t valueCost = ValueCost(info, 0);
    if (!qaxoi::module::Spend(valueCost, kGetOntologyItemName)) return false;
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
    if (item == nullptr) return false;
    value.item.reset(item->Clone());
    _heldCost += valueCost + nested->_heldCost;
    if (nested->_heldLevels + 1 > _heldLevels) _heldLevels = nested->_heldLevels + 1;
    return true;
  } else if (number != nullptr) {
    spent = NumberValue(info, *number, value.text);
  }
  if (spent == 0) return false;
  _heldCost += spent;
  return true;
}

void Aco_QAXOntologyItem::GetAttributesWithValues(const MetaClass* metaClass) {
  const qaxoi::module::BudgetScope budget;
  const std::vector<const MetaAttr*>* plan =
      qaxoi::module::AttributePlan(metaClass, kGetOntologyItemName);
  if (plan == nullptr) return;
  // The value links grouped by attribute, link order kept within each: at
  // most kMaxChildLinks of them.
  std::vector<LinkIdentity::ValueLink> values = _identity.valueLinks;
  std::stable_sort(values.begin(), values.end(),
                   [](const LinkIdentity::ValueLink& a, const LinkIdentity::ValueLink& b) {
                     return a.walkPosition < b.walkPosition;
                   });
  std::vector<bool> isValueLink(_linkDescriptions.size(), false);
  for (const LinkIdentity::ValueLink& value : values) {
    if (static_cast<std::size_t>(value.link) < isValueLink.size())
      isValueLink[static_cast<std::size_t>(value.link)] = true;
  }
  const int links = GetChildCount();
  std::size_t next = 0;  // the first value link of the attribute at hand
  std::vector<ChildValue> found;
  for (std::size_t position = 0; position < plan->size(); ++position) {
    if (!qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)) break;
    const QAX::Ontology::Info::MetaAttrInfo& info = (*plan)[position]->GetInfo();
    found.clear();
    const int own = LinkOfAttribute(position);
    if (own >= 0 && own < links && static_cast<std::size_t>(own) < isValueLink.size() &&
        !isValueLink[static_cast<std::size_t>(own)]) {
      ChildValue value;
      if (ValueOfChild(info, GetChild(own), value)) found.push_back(std::move(value));
    }
    while (next < values.size() && values[next].walkPosition < static_cast<int>(position)) ++next;
    bool spent = false;
    for (; next < values.size() && values[next].walkPosition == static_cast<int>(position);
         ++next) {
      if (!qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)) {
        spent = true;
        break;
      }
      ChildValue value;
      if (ValueOfChild(info, GetChild(values[next].link), value)) found.push_back(std::move(value));
    }
    if (found.size() == 1) {
      if (found[0].item) {
        _ontologyItem->SetAttribute(info.name, found[0].item.release());
      } else {
        _ontologyItem->SetAttribute(info.name, found[0].text);
      }
    } else if (found.size() > 1) {
      // A kind gives texts or items, never both: a nested item kind items.
      if (found[0].item) {
        std::vector<OntologyItem*> items;
        items.reserve(found.size());
        // The item takes them over (and frees them should it fail).
        for (ChildValue& value : found) items.push_back(value.item.release());
        _ontologyItem->PutComplexTypeListAttribute(info.name, items);
      } else {
        std::vector<std::string> texts;
        texts.reserve(found.size());
        for (ChildValue& value : found) texts.push_back(std::move(value.text));
        _ontologyItem->PutBaseTypeListAttribute(info.name, texts);
      }
    }
    if (spent) break;
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
  // Value links are found by the attribute's walk position, behind the
  // parents' attributes either way.
  std::size_t inherited = 0;
  for (const MetaClass* cls = metaClass->GetParent(); cls != nullptr; cls = cls->GetParent())
    inherited += cls->GetAttributes().size();
  // The own attributes that hold no single value (a list, or nothing), with
  // the links its elements go to.
  struct ListTarget {
    const QAX::Ontology::Info::MetaAttrInfo* info;
    std::vector<A3d_Channel*> children;
    std::size_t filled = 0;
  };
  std::vector<ListTarget> lists;
  int n = 0;
  for (const MetaAttr* attribute : metaClass->GetAttributes()) {
    A3d_Channel* const child =
        _identity.linkOfAttribute.empty()
            ? GetChild(n)
            : GetChild(LinkOfAttribute(inherited + static_cast<std::size_t>(n)));
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
    bool single = false;
    if (IsTextKind(info)) {
      std::string value;
      if (item->GetAttributeString(info.name, value)) {
        single = true;
        if (auto* text = dynamic_cast<Aco_StringChannel*>(child)) {
          text->SetString(value.c_str());
        }
      }
    } else if (AttrKindOf(info.kind) == AttrKind::kComplex) {
      OntologyItem* instance = nullptr;
      if (item->GetAttributeInstance(info.name, instance)) {
        single = true;
        if (auto* nested = dynamic_cast<Aco_QAXOntologyItem*>(child)) {
          nested->SetOntologyItem(instance);
        }
      }
    }
    if (!single && !_identity.valueLinks.empty()) {
      ListTarget target{&info, {child}, 0};
      const int position = static_cast<int>(inherited) + n;
      for (const LinkIdentity::ValueLink& value : _identity.valueLinks) {
        if (value.walkPosition == position) target.children.push_back(GetChild(value.link));
      }
      if (target.children.size() > 1) lists.push_back(std::move(target));
    }
    ++n;
  }
  if (lists.empty()) return;
  // One pass over the item's values: element k of a list goes to its
  // attribute's k-th link, where there is one.
  item->ForEachValue(
      [&](const std::string& name, const std::string* text, const OntologyItem* element) {
        for (ListTarget& target : lists) {
          if (target.info->name != name) continue;
          if (target.filled == target.children.size()) return;
          A3d_Channel* const child = target.children[target.filled++];
          if (text != nullptr && IsTextKind(*target.info)) {
            if (auto* channel = dynamic_cast<Aco_StringChannel*>(child))
              channel->SetString(text->c_str());
          } else if (element != nullptr && AttrKindOf(target.info->kind) == AttrKind::kComplex) {
            if (auto* nested = dynamic_cast<Aco_QAXOntologyItem*>(child)) {
              // SetOntologyItem holds a clone of what it is given; the element
              // stays the item's.
              std::unique_ptr<OntologyItem> copy(element->Clone());
              nested->SetOntologyItem(copy.get());
            }
          }
          return;
        }
      });
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
