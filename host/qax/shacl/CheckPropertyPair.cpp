// Property pair: sh:equals, sh:disjoint, sh:lessThan, sh:lessThanOrEquals,
// each a comparison of the values with those of another predicate of the
// focus node.
#include <string>
#include <string_view>
#include <vector>

#include "host/qax/shacl/ComponentChecks.h"
#include "host/qax/shacl/LiteralValues.h"

namespace qaxoi::shacl {
namespace {

// The focus node's values of the constraint's predicate, sorted by object.
TripleRange Others(ConstraintCheck& check) {
  return check.validation.Objects(check.focus, check.validation.Data(check.constraint.term));
}

// Fails each value that is not (`shared` true) or that is (`shared` false)
// among `others`, with "<failure><other>"; answers whether to go on.
bool CheckShared(ConstraintCheck& check, const TripleRange& others, bool shared,
                 std::string_view failure, const std::string& other) {
  if (!check.validation.Charge(others.size())) return true;
  for (const TermId v : check.values)
    if (HasObject(others, v) != shared &&
        !check.Fail(v, [&] { return std::string(failure) + other; }))
      return false;
  return true;
}

// The least of `others` that compare with it, and those that do not (in
// their order). Each other is compared with the least so far: when that
// comparison is decided, the order being transitive, the other is no less
// than the final least. Charges one unit per comparison.
struct Bounds {
  TermId least = kNoTerm;
  std::vector<TermId> incomparable;
};
Bounds Least(Validation& run, const TripleRange& others) {
  Bounds bounds;
  if (others.empty() || !run.Charge(others.size())) return bounds;
  bounds.least = others.begin()->object;
  for (const Triple& t : others) {
    const Order order = Compare(run.View(t.object), run.View(bounds.least));
    if (order == Order::kNone) bounds.incomparable.push_back(t.object);
    if (order == Order::kLess) bounds.least = t.object;
  }
  return bounds;
}

// Each pair of a value and an other value that is not less (nor equal, when
// `orEquals`) fails. A value that fits below the least other fits below
// every other that compares with it, so such a value is compared only with
// the incomparable others (different kinds or datatypes, which fail as
// always); any other value is compared with every other in their order.
// The results are those of comparing every pair, and conforming values of
// one datatype cost m + n comparisons, not m x n.
bool CheckLess(ConstraintCheck& check, bool orEquals) {
  Validation& run = check.validation;
  const TripleRange others = Others(check);
  const std::string other = run.ShapesText(check.constraint.term);
  const auto fits = [orEquals](Order order) {
    return order == Order::kLess || (orEquals && order == Order::kEqual);
  };
  const Bounds bounds = Least(run, others);
  // Each failing pair, in the order of the values, then of the others.
  const auto failAll = [&](TermId v, const auto& candidates) {
    for (const auto& candidate : candidates) {
      const TermId o = candidate;
      if (fits(Compare(run.View(v), run.View(o)))) continue;
      if (!check.Fail(v, [&] {
            return (orEquals ? "not less than or equal to " : "not less than ") +
                   TermText(run.View(o)) + ", a value of " + other;
          }))
        return false;
    }
    return true;
  };
  std::vector<TermId> all;
  for (const TermId v : check.values) {
    if (bounds.least != kNoTerm && fits(Compare(run.View(v), run.View(bounds.least)))) {
      // Below every other it compares with: only the incomparable ones fail.
      if (!run.Charge(1 + bounds.incomparable.size())) return true;
      if (!failAll(v, bounds.incomparable)) return false;
      continue;
    }
    if (!run.Charge(others.size())) return true;
    if (all.empty())
      for (const Triple& t : others) all.push_back(t.object);
    if (!failAll(v, all)) return false;
  }
  return check.Holds();
}

}  // namespace

// A failure for each value missing on either side: the path's first.
bool CheckEquals(ConstraintCheck& check) {
  const TripleRange others = Others(check);
  const std::string other = check.validation.ShapesText(check.constraint.term);
  if (!CheckShared(check, others, true, "not among the values of ", other)) return false;
  if (!check.validation.Charge(others.size())) return true;
  for (const Triple& t : others)
    if (!Contains(check.values, t.object) &&
        !check.Fail(t.object, [&] { return "a value of " + other + " that the path lacks"; }))
      return false;
  return check.Holds();
}

// Walks the shorter side: many values (a closure that focus nodes share)
// against few others cost the others, not the values.
bool CheckDisjoint(ConstraintCheck& check) {
  const TripleRange others = Others(check);
  const std::string other = check.validation.ShapesText(check.constraint.term);
  if (others.size() >= check.values.size())
    return CheckShared(check, others, false, "also a value of ", other) && check.Holds();
  if (!check.validation.Charge(others.size())) return true;
  // Both sides are sorted by term, so the shared ones come in the values'
  // order.
  for (const Triple& t : others)
    if (Contains(check.values, t.object) &&
        !check.Fail(t.object, [&] { return "also a value of " + other; }))
      return false;
  return check.Holds();
}

bool CheckLessThan(ConstraintCheck& check) { return CheckLess(check, false); }

bool CheckLessThanOrEquals(ConstraintCheck& check) { return CheckLess(check, true); }

}  // namespace qaxoi::shacl
