// The nodes that one or more steps of a path reach (sh:oneOrMorePath,
// sh:zeroOrMorePath), found once per node and shared by every node of a
// strongly connected component. Internal to the QAX library.
#ifndef QAX_HOST_QAX_SHACL_PATHCLOSURE_H_
#define QAX_HOST_QAX_SHACL_PATHCLOSURE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "host/qax/shacl/Graph.h"

namespace qaxoi::shacl {

// The closures of one step relation. Nodes that reach each other reach the
// same nodes, so a cycle of n nodes holds one closure of n nodes, not n of
// them; a chain of n nodes still holds n closures of n/2 nodes on average,
// each paid for through `charge`. Not thread-safe.
class PathClosure {
 public:
  // Appends the nodes one step reaches from a node to `out` (repeats
  // allowed).
  using Successors = std::function<void(TermId node, std::vector<TermId>& out)>;
  // Charges units of work; answers false once the caller's budget is
  // spent, after which Reach gives up.
  using Charge = std::function<bool(uint64_t units)>;

  // The nodes one or more steps reach from `node`, sorted and distinct;
  // the vector lives as long as this object, and the same vector is
  // answered for every node of one strongly connected component. Walks each
  // node and step once over all calls (an iterative Tarjan search, no
  // recursion) and charges each step and each node merged into a closure.
  // Answers an empty vector once `charge` has answered false; what was
  // found before stays right.
  const std::vector<TermId>& Reach(TermId node, const Successors& successors, const Charge& charge);

 private:
  // Component of each node whose closure is known.
  std::unordered_map<TermId, uint32_t> component_;
  std::vector<std::unique_ptr<const std::vector<TermId>>> closures_;
  // Answered once the budget is spent; always empty.
  const std::vector<TermId> none_{};
};

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_PATHCLOSURE_H_
