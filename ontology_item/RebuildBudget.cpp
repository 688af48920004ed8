#include "ontology_item/RebuildBudget.h"

#include <unordered_map>

#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/ClassChain.h"

namespace qaxoi::module {
namespace {

using QAX::Ontology::MetaAttr;
using QAX::Ontology::MetaClass;

// The open budget. The host calls the module from one thread, so one record
// serves every channel.
struct Budget {
  int scopes = 0;   // BudgetScope objects alive
  int nesting = 0;  // GetOntologyItem(true) calls running
  std::size_t spent = 0;
  bool refusalReported = false;
  bool tooDeepReported = false;
  bool heldTooDeepReported = false;
  // The attribute walks made within the budget. The model cannot change
  // while a rebuild runs, so a class pointer names the same walk throughout;
  // the walks are dropped when the budget closes, before the model may go.
  std::unordered_map<const MetaClass*, std::vector<const MetaAttr*>> plans;
};
Budget budget;

constexpr std::size_t kLimit = Aco_QAXOntologyItem::kMaxRebuildCost;
constexpr std::size_t kMostAttributes = Aco_QAXOntologyItem::kMaxChildLinks;

}  // namespace

BudgetScope::BudgetScope() : outermost_(budget.scopes == 0) {
  ++budget.scopes;
  if (outermost_) {
    budget.spent = 0;
    budget.refusalReported = false;
    budget.tooDeepReported = false;
    budget.heldTooDeepReported = false;
  }
}

BudgetScope::~BudgetScope() {
  --budget.scopes;
  if (outermost_) budget.plans.clear();
}

NestingScope::NestingScope() { ++budget.nesting; }

NestingScope::~NestingScope() { --budget.nesting; }

int NestingDepth() { return budget.nesting; }

bool Spend(std::size_t units, const char* function) {
  if (budget.scopes > 0 && units <= kLimit - budget.spent) {
    budget.spent += units;
    return true;
  }
  ReportTooLarge(function);
  return false;
}

void ReportTooLarge(const char* function) {
  if (budget.refusalReported) return;
  budget.refusalReported = true;
  ReportError(function, "RebuildTooLarge.Limit[%zu]", kLimit);
}

bool FirstTime(OnceReport report) {
  bool& reported =
      report == OnceReport::kTooDeep ? budget.tooDeepReported : budget.heldTooDeepReported;
  const bool first = !reported;
  reported = true;
  return first;
}

const std::vector<const MetaAttr*>* AttributePlan(const MetaClass* metaClass,
                                                  const char* function) {
  if (metaClass == nullptr || budget.scopes == 0) return nullptr;
  const auto found = budget.plans.find(metaClass);
  if (found != budget.plans.end()) return &found->second;
  // The chain is walked up to its root whatever the plan keeps: the root's
  // attributes come first. Every class and every attribute kept is paid for.
  const std::vector<const MetaClass*> chain = ClassChainFromRoot(metaClass);
  if (!Spend(chain.size() * kStepCost, function)) return nullptr;
  std::vector<const MetaAttr*> plan;
  for (const MetaClass* cls : chain) {
    for (const MetaAttr* attribute : cls->GetAttributes()) {
      if (plan.size() == kMostAttributes) break;
      plan.push_back(attribute);
    }
    if (plan.size() == kMostAttributes) break;
  }
  if (!Spend(plan.size() * kStepCost, function)) return nullptr;
  return &budget.plans.emplace(metaClass, std::move(plan)).first->second;
}

}  // namespace qaxoi::module
