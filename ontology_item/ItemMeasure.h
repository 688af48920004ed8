// What an ontology item costs, as a rebuild counts it. Internal to the module.
#ifndef QAX_ONTOLOGY_ITEM_ITEMMEASURE_H_
#define QAX_ONTOLOGY_ITEM_ITEMMEASURE_H_

#include <cstddef>

#include "host/qax/model/QAX.h"

namespace qaxoi::module {

struct ItemMeasure {
  enum class Verdict { kFits, kTooDeep, kTooLarge };
  Verdict verdict = Verdict::kFits;
  std::size_t cost = 0;  // the cost counted, up to where the walk stopped
  int levels = 0;        // the deepest level met, up to there
};

// Walks `item` and its nested items, without recursion, through the
// attributes of their classes in the loaded model (an item's values under
// other names are not seen), and counts them as a rebuild counts what it
// builds (RebuildBudget.h), each attribute looked at one step more. Stops as
// soon as an item lies deeper than `maxLevels` levels (the item itself is
// level 1) or the count passes `maxCost`. Spends nothing itself, except for
// the class walks it needs, which come from the open budget; a class walk the
// budget cannot pay for ends the walk as kTooLarge. Each element of a list
// value counts as one value. Reads the item only.
ItemMeasure MeasureItem(QAX::Onto::OntologyItem& item, int maxLevels, std::size_t maxCost,
                        const char* function);

}  // namespace qaxoi::module

#endif  // QAX_ONTOLOGY_ITEM_ITEMMEASURE_H_
