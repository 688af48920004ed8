// What loading a group made of its item channels' saved links against the
// ontology loaded now (the module's Aco_QAXOntologyItem::GetLoadBinding),
// counted over the values: the children linked to those links.
#ifndef QAX_TOOLS_QAX_HOST_REBINDING_H_
#define QAX_TOOLS_QAX_HOST_REBINDING_H_

#include <cstddef>
#include <string>
#include <vector>

#include "host/sdk/HighPoly.h"
#include "tools/qax-host/Output.h"

namespace qaxoi::qax_host {

// Values of a group by what became of the link they hang on.
struct BindingCounts {
  std::size_t unchanged = 0;
  std::size_t moved = 0;
  std::size_t migrated = 0;
  // On a link that binds no attribute, or on a channel whose class is gone.
  std::size_t withoutAttribute = 0;
  std::size_t channelsRebound = 0;  // item channels whose links were bound one by one
  std::size_t classesMigrated = 0;
  std::size_t classesGone = 0;

  // Whether loading moved, migrated or left out a value, or changed or lost
  // a class: the group was saved against another vocabulary than the one
  // loaded, in a way the user should hear of. (Links added for new
  // attributes alone change nothing saved.)
  bool Changed() const {
    return moved + migrated + withoutAttribute + classesMigrated + classesGone > 0;
  }
};

// Counts the values of `channels` (a loaded group, children linked).
BindingCounts CountBindings(const std::vector<A3d_Channel*>& channels);

// One line for standard error, without "qax-host: ": "p.grp was saved
// against another vocabulary: of 9 values, 6 stay on their attribute, 2
// moved, 1 is left without one (see: qax-host migrate)". Empty when nothing
// changed.
std::string BindingSummary(const std::string& fileName, const BindingCounts& counts);

// The report of `channels` for migrate: per item channel, each saved link
// with its value and what became of it; text lines or JSON.
void PrintMigrationText(const std::vector<A3d_Channel*>& channels);
Json MigrationJson(const std::vector<A3d_Channel*>& channels);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_REBINDING_H_
