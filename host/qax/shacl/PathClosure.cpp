#include "host/qax/shacl/PathClosure.h"

#include <algorithm>
#include <utility>

namespace qaxoi::shacl {
namespace {

// A node of the search: its successors, the next one to look at, its
// Tarjan index and low link.
struct Frame {
  TermId node = kNoTerm;
  std::vector<TermId> successors;
  std::size_t next = 0;
  uint32_t index = 0;
  uint32_t low = 0;
};

}  // namespace

const std::vector<TermId>& PathClosure::Reach(TermId start, const Successors& successors,
                                              const Charge& charge) {
  const auto known = component_.find(start);
  if (known != component_.end()) return *closures_[known->second];

  // Nodes met in this search that have no component yet, by Tarjan index;
  // each stays on `open` until its component is complete.
  std::unordered_map<TermId, uint32_t> indexOf;
  std::vector<Frame> frames;  // the search's path, the start first
  std::vector<Frame> open;    // finished nodes whose component is not complete
  uint32_t nextIndex = 0;

  const auto enter = [&](TermId node) {
    Frame frame;
    frame.node = node;
    frame.index = frame.low = nextIndex++;
    successors(node, frame.successors);
    std::sort(frame.successors.begin(), frame.successors.end());
    frame.successors.erase(std::unique(frame.successors.begin(), frame.successors.end()),
                           frame.successors.end());
    indexOf.emplace(node, frame.index);
    frames.push_back(std::move(frame));
    return charge(1 + frames.back().successors.size());
  };
  if (!enter(start)) return none_;

  std::vector<Frame> members;
  while (!frames.empty()) {
    Frame& top = frames.back();
    if (top.next < top.successors.size()) {
      const TermId next = top.successors[top.next++];
      if (component_.count(next) != 0) continue;
      const auto seen = indexOf.find(next);
      if (seen == indexOf.end()) {
        if (!enter(next)) return none_;
      } else {
        // Met in this search and not in a component: still on the stack.
        top.low = std::min(top.low, seen->second);
      }
      continue;
    }
    Frame done = std::move(top);
    frames.pop_back();
    if (!frames.empty()) frames.back().low = std::min(frames.back().low, done.low);
    if (done.low != done.index) {
      open.push_back(std::move(done));
      continue;
    }
    // `done` roots a component: it and the open nodes entered after it.
    members.clear();
    members.push_back(std::move(done));
    while (!open.empty() && open.back().index > members.front().index) {
      members.push_back(std::move(open.back()));
      open.pop_back();
    }
    const auto id = static_cast<uint32_t>(closures_.size());
    std::vector<TermId> closure;
    for (const Frame& member : members) {
      closure.insert(closure.end(), member.successors.begin(), member.successors.end());
      for (const TermId next : member.successors) {
        const auto child = component_.find(next);
        if (child == component_.end()) continue;  // a member of this component
        const std::vector<TermId>& reached = *closures_[child->second];
        if (!charge(reached.size())) return none_;
        closure.insert(closure.end(), reached.begin(), reached.end());
      }
    }
    std::sort(closure.begin(), closure.end());
    closure.erase(std::unique(closure.begin(), closure.end()), closure.end());
    closures_.push_back(std::make_unique<const std::vector<TermId>>(std::move(closure)));
    for (const Frame& member : members) {
      component_.emplace(member.node, id);
      indexOf.erase(member.node);
    }
  }
  return *closures_[component_.at(start)];
}

}  // namespace qaxoi::shacl
