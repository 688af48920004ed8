// Building ontology items from the values of the linked children, and writing
// item values back into them.
#include <typeinfo>

#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassChain.h"
#include "ontology_item/NumberText.h"

namespace {

using QAX::Onto::OntologyItem;
using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;

constexpr const char* kGetOntologyItemName = "Aco_QAXOntologyItem::GetOntologyItem";

// The state of the rebuild that is running, nested through item children. The
// host calls the module from one thread, so one record serves every channel;
// it bounds the recursion through the channel graph and the work of one
// rebuild.
struct RebuildState {
  int depth = 0;             // GetOntologyItem(true) calls running
  int nestedItemsTaken = 0;  // nested items taken since the outermost began
  bool budgetReported = false;
};
RebuildState currentRebuild;

// Counts one nested rebuild for as long as it lives.
class RebuildScope {
 public:
  explicit RebuildScope(bool& flag) : flag_(flag) {
    flag_ = true;
    if (currentRebuild.depth++ == 0) {
      currentRebuild.nestedItemsTaken = 0;
      currentRebuild.budgetReported = false;
    }
  }
  ~RebuildScope() {
    flag_ = false;
    --currentRebuild.depth;
  }
  RebuildScope(const RebuildScope&) = delete;
  RebuildScope& operator=(const RebuildScope&) = delete;

 private:
  bool& flag_;
};

// Whether one more nested item may be taken in the running rebuild; counts
// it. The first refusal is reported.
bool TakeNestedItem() {
  if (currentRebuild.nestedItemsTaken < Aco_QAXOntologyItem::kMaxNestedItems) {
    ++currentRebuild.nestedItemsTaken;
    return true;
  }
  if (!currentRebuild.budgetReported) {
    currentRebuild.budgetReported = true;
    ReportError(kGetOntologyItemName, "TooManyNestedItems.Limit[%d]",
                Aco_QAXOntologyItem::kMaxNestedItems);
  }
  return false;
}

bool IsTextKind(std::int32_t kind) { return kind == 0 || kind == 4; }

// Sets the attribute of `info` from a text child: its text, for a text kind.
void SetTextAttribute(OntologyItem& item, const QAX::Ontology::Info::MetaAttrInfo& info,
                      Aco_StringChannel& text) {
  if (!IsTextKind(info.kind)) return;
  const char* value = text.GetString();
  if (value != nullptr) item.SetAttribute(info.name, value);
}

// Sets the attribute of `info` from a value child: its float as text, for a
// numeric kind.
void SetNumberAttribute(OntologyItem& item, const QAX::Ontology::Info::MetaAttrInfo& info,
                        Aco_FloatChannel& number) {
  const float value = number.GetFloat();
  switch (info.kind) {
    case 1:
      item.SetAttribute(info.name, BooleanText(value));
      break;
    case 2:
      item.SetAttribute(info.name, IntegerText(value));
      break;
    case 3:
      item.SetAttribute(info.name, RealText(value));
      break;
    default:
      break;
  }
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
  if (currentRebuild.depth >= kMaxNestingDepth) {
    ReportError(kGetOntologyItemName, "NestingTooDeep.Limit[%d]", kMaxNestingDepth);
    return nullptr;
  }
  const RebuildScope scope(_rebuilding);
  _ontologyItem.reset();
  _ontologyItem = std::make_unique<OntologyItem>(metaClass->GetFQName());
  int index = 0;
  GetAttributesRec(metaClass, index);
  return _ontologyItem.get();
}

void Aco_QAXOntologyItem::GetAttributesRec(const MetaClass* metaClass, int& index) {
  for (const MetaClass* cls : qax_module::ClassChainFromRoot(metaClass)) {
    for (const MetaAttr* attribute : cls->GetAttributes()) {
      SetAttributeFromChild(attribute->GetInfo(), GetChild(index));
      ++index;
    }
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
    SetTextAttribute(*_ontologyItem, info, *text);
  } else if (nested != nullptr) {
    if (info.kind != 5 || !TakeNestedItem()) return;
    OntologyItem* item = nested->GetOntologyItem(true);
    // A child that is itself being rebuilt further up (a cycle) holds only
    // the part built so far; taking it would copy the rebuild into itself.
    if (item == nullptr && !nested->_rebuilding) item = nested->GetOntologyItem(false);
    if (item == nullptr) return;
    std::unique_ptr<OntologyItem> clone(item->Clone());
    // The item takes the clone over (and frees it should it fail).
    _ontologyItem->SetAttribute(info.name, clone.release());
  } else if (number != nullptr) {
    SetNumberAttribute(*_ontologyItem, info, *number);
  }
}

void Aco_QAXOntologyItem::FillAttributes(OntologyItem* item) {
  if (item == nullptr || item->GetClassHandle() != _classHandle) return;
  const MetaClass* metaClass = GetCurrentMetaClass();
  if (metaClass == nullptr) return;
  int n = 0;
  for (const MetaAttr* attribute : metaClass->GetAttributes()) {
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
    if (IsTextKind(info.kind)) {
      std::string value;
      if (item->GetAttributeString(info.name, value)) {
        if (auto* text = dynamic_cast<Aco_StringChannel*>(GetChild(n))) {
          text->SetString(value.c_str());
        }
      }
    } else if (info.kind == 5) {
      OntologyItem* instance = nullptr;
      if (item->GetAttributeInstance(info.name, instance)) {
        if (auto* nested = dynamic_cast<Aco_QAXOntologyItem*>(GetChild(n))) {
          nested->SetOntologyItem(instance);
        }
      }
    }
    ++n;
  }
}

void Aco_QAXOntologyItem::SetOntologyItem(OntologyItem* item) {
  // Clone first: `item` may be the item held now.
  std::unique_ptr<OntologyItem> clone(item != nullptr ? item->Clone() : nullptr);
  _ontologyItem = std::move(clone);
}

void Aco_QAXOntologyItem::ClearOntologyItem() { _ontologyItem.reset(); }
