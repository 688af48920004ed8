// The extent of an ontology item as the module's limits count it, for the
// checks of tests and fuzz targets.
#ifndef QAX_TESTS_SUPPORT_ITEMEXTENT_H_
#define QAX_TESTS_SUPPORT_ITEMEXTENT_H_

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "host/qax/model/OntologyItem.h"

namespace qaxoi::test {

// The levels of `root` (itself level 1) and its cost as a rebuild counts what
// it holds: 64 and the class name's bytes per item, 64 and the name's and
// text's bytes per value, every nested item as often as it appears. Walked
// without recursion.
inline std::pair<int, std::size_t> LevelsAndCost(const QAX::Onto::OntologyItem& root) {
  int levels = 0;
  std::size_t cost = 0;
  std::vector<std::pair<const QAX::Onto::OntologyItem*, int>> pending{{&root, 1}};
  while (!pending.empty()) {
    const auto [item, level] = pending.back();
    pending.pop_back();
    levels = std::max(levels, level);
    cost += 64 + item->GetFQName().size();
    item->ForEachValue([&, level = level](const std::string& name, const std::string* text,
                                          const QAX::Onto::OntologyItem* nested) {
      cost += 64 + name.size() + (text != nullptr ? text->size() : 0);
      if (nested != nullptr) pending.emplace_back(nested, level + 1);
    });
  }
  return {levels, cost};
}

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_ITEMEXTENT_H_
