#include "ontology_item/ItemMeasure.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ontology_item/RebuildBudget.h"

namespace qaxoi::module {
namespace {

using QAX::Onto::OntologyItem;

const QAX::Ontology::OntologyModel* LoadedModel() {
  return QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().GetOntologyModel();
}

}  // namespace

ItemMeasure MeasureItem(OntologyItem& item, int maxLevels, std::size_t maxCost,
                        const char* function) {
  ItemMeasure measure;
  const auto add = [&](std::size_t units) {
    measure.cost += units;
    if (measure.cost <= maxCost) return true;
    measure.verdict = ItemMeasure::Verdict::kTooLarge;
    return false;
  };
  const QAX::Ontology::OntologyModel* model = LoadedModel();
  // Items still to count, with their level. Every item pushed has been paid
  // for (kValueCost at least), so the stack never outgrows maxCost / kValueCost.
  std::vector<std::pair<const OntologyItem*, int>> pending{{&item, 1}};
  std::string text;
  // The attributes of the item at hand that hold no single value: a list,
  // whose elements one pass over the item's values counts.
  std::vector<const std::string*> listNames;
  while (!pending.empty()) {
    const auto [at, level] = pending.back();
    pending.pop_back();
    if (level > maxLevels) {
      measure.verdict = ItemMeasure::Verdict::kTooDeep;
      return measure;
    }
    if (level > measure.levels) measure.levels = level;
    if (!add(kItemCost + at->GetFQName().size())) return measure;
    const QAX::Ontology::MetaClass* metaClass =
        model != nullptr ? model->GetMetaClass(at->GetClassHandle()) : nullptr;
    if (metaClass == nullptr) continue;
    const std::vector<const QAX::Ontology::MetaAttr*>* plan = AttributePlan(metaClass, function);
    if (plan == nullptr) {
      measure.verdict = ItemMeasure::Verdict::kTooLarge;
      return measure;
    }
    listNames.clear();
    for (const QAX::Ontology::MetaAttr* attribute : *plan) {
      const std::string& name = attribute->GetInfo().name;
      if (!add(kStepCost)) return measure;
      const OntologyItem* nested = nullptr;
      if (at->GetAttributeString(name, text)) {
        if (!add(kValueCost + name.size() + text.size())) return measure;
      } else if (at->GetAttributeInstance(name, nested) && nested != nullptr) {
        if (!add(kValueCost + name.size())) return measure;
        pending.emplace_back(nested, level + 1);
      } else {
        listNames.push_back(&name);
      }
    }
    if (listNames.empty()) continue;
    std::sort(listNames.begin(), listNames.end(),
              [](const std::string* a, const std::string* b) { return *a < *b; });
    bool fits = true;
    // A lambda cannot capture a structured binding before C++20.
    const int below = level + 1;
    at->ForEachValue([&](const std::string& name, const std::string* value,
                         const OntologyItem* element) {
      if (!fits ||
          !std::binary_search(listNames.begin(), listNames.end(), &name,
                              [](const std::string* a, const std::string* b) { return *a < *b; }))
        return;
      fits = add(kValueCost + name.size() + (value != nullptr ? value->size() : 0));
      if (fits && element != nullptr) pending.emplace_back(element, below);
    });
    if (!fits) return measure;
  }
  return measure;
}

}  // namespace qaxoi::module
