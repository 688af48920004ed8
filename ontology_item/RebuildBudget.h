// The bounds of one item rebuild: how deep nested rebuilds go, what they may
// spend, and the attribute walks of the classes they meet. Internal to the
// module.
//
// A rebuild (GetOntologyItem(true) with every nested rebuild it runs) spends
// cost units: an item costs kItemCost plus its class name's bytes, a value
// kValueCost plus its attribute name's and its text's bytes, an item taken
// from what a child held before its cost as counted when it was built or set, and every class or
// attribute walked kStepCost. A rebuild may spend kMaxRebuildCost in all, so
// the item it builds holds at most that much, however the channel graph
// shares its channels, and its work is bounded by the same number. The host
// calls the module from one thread: one budget serves every channel.
#ifndef QAX_ONTOLOGY_ITEM_REBUILDBUDGET_H_
#define QAX_ONTOLOGY_ITEM_REBUILDBUDGET_H_

#include <cstddef>
#include <vector>

#include "host/qax/model/QAX.h"

namespace qaxoi::module {

inline constexpr std::size_t kItemCost = 64;
inline constexpr std::size_t kValueCost = 64;
inline constexpr std::size_t kStepCost = 1;

// Opens a budget for as long as it lives, unless one is open already (then
// it joins that one). The outermost scope starts with the whole budget, no
// reports and no class walks, and forgets the walks when it ends.
class BudgetScope {
 public:
  BudgetScope();
  ~BudgetScope();
  BudgetScope(const BudgetScope&) = delete;
  BudgetScope& operator=(const BudgetScope&) = delete;

 private:
  bool outermost_;
};

// Counts one GetOntologyItem(true) as running for as long as it lives.
class NestingScope {
 public:
  NestingScope();
  ~NestingScope();
  NestingScope(const NestingScope&) = delete;
  NestingScope& operator=(const NestingScope&) = delete;
};

// The GetOntologyItem(true) calls running: 0 outside a rebuild, 1 in the
// outermost, and one more per nested item channel.
int NestingDepth();

// Spends `units` of the open budget when they fit and answers true; answers
// false and spends nothing otherwise. The first refusal within a budget is
// reported as "<function>().RebuildTooLarge.Limit[<limit>]".
bool Spend(std::size_t units, const char* function);

// Reports "<function>().RebuildTooLarge.Limit[<limit>]" unless the open
// budget has reported a refusal already.
void ReportTooLarge(const char* function);

// The problems reported at most once per budget, so that a graph that meets
// one many times shows it once.
enum class OnceReport { kTooDeep, kHeldItemTooDeep };
// True the first time `report` is asked for within the open budget.
bool FirstTime(OnceReport report);

// The attributes of `metaClass` and of its parents, parents first, each
// class in its list order: the first kMaxChildLinks of them, the most any
// channel links. Walked once per class within the open budget and paid for
// from it. Null when `metaClass` is null or the budget cannot pay (the
// refusal reported as Spend reports it). Valid while the budget is open.
const std::vector<const QAX::Ontology::MetaAttr*>* AttributePlan(
    const QAX::Ontology::MetaClass* metaClass, const char* function);

}  // namespace qaxoi::module

#endif  // QAX_ONTOLOGY_ITEM_REBUILDBUDGET_H_
