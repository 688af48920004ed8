// Property pair: sh:equals, sh:disjoint, sh:lessThan, sh:lessThanOrEquals,
// each a comparison of the values with those of another predicate of the
// focus node.
#include <string>
#include <string_view>

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
  for (const TermId v : check.values)
    if (HasObject(others, v) != shared &&
        !check.Fail(v, [&] { return std::string(failure) + other; }))
      return false;
  return true;
}

// Each pair of a value and an other value that is not less (nor equal, when
// `orEquals`) fails.
bool CheckLess(ConstraintCheck& check, bool orEquals) {
  Validation& run = check.validation;
  const TripleRange others = Others(check);
  const std::string other = run.ShapesText(check.constraint.term);
  for (const TermId v : check.values) {
    for (const Triple& t : others) {
      const Order order = Compare(run.View(v), run.View(t.object));
      if ((order == Order::kLess || (orEquals && order == Order::kEqual))) continue;
      if (!check.Fail(v, [&] {
            return (orEquals ? "not less than or equal to " : "not less than ") +
                   TermText(run.View(t.object)) + ", a value of " + other;
          }))
        return false;
    }
  }
  return check.Holds();
}

}  // namespace

// A failure for each value missing on either side: the path's first.
bool CheckEquals(ConstraintCheck& check) {
  const TripleRange others = Others(check);
  const std::string other = check.validation.ShapesText(check.constraint.term);
  if (!CheckShared(check, others, true, "not among the values of ", other)) return false;
  for (const Triple& t : others)
    if (!Contains(check.values, t.object) &&
        !check.Fail(t.object, [&] { return "a value of " + other + " that the path lacks"; }))
      return false;
  return check.Holds();
}

bool CheckDisjoint(ConstraintCheck& check) {
  const TripleRange others = Others(check);
  const std::string other = check.validation.ShapesText(check.constraint.term);
  return CheckShared(check, others, false, "also a value of ", other) && check.Holds();
}

bool CheckLessThan(ConstraintCheck& check) { return CheckLess(check, false); }

bool CheckLessThanOrEquals(ConstraintCheck& check) { return CheckLess(check, true); }

}  // namespace qaxoi::shacl
