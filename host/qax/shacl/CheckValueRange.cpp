// Value range: sh:minExclusive, sh:minInclusive, sh:maxExclusive,
// sh:maxInclusive, each a comparison of every value with the bound.
#include <string>
#include <string_view>

#include "host/qax/shacl/ComponentChecks.h"
#include "host/qax/shacl/LiteralValues.h"

namespace qaxoi::shacl {
namespace {

// Whether each value, compared with the bound, stands as `holds` asks; a
// value that does not is "<failure><bound>", or not comparable.
bool CheckRange(ConstraintCheck& check, bool (*holds)(Order), std::string_view failure) {
  Validation& run = check.validation;
  const TermView bound = run.ShapesTerm(check.constraint.term);
  for (const TermId v : check.values) {
    const Order order = Compare(run.View(v), bound);
    if (!holds(order) && !check.Fail(v, [&] {
          return order == Order::kNone ? "not comparable with " + TermText(bound)
                                       : std::string(failure) + TermText(bound);
        }))
      return false;
  }
  return check.Holds();
}

}  // namespace

bool CheckMinExclusive(ConstraintCheck& check) {
  return CheckRange(
      check, [](Order order) { return order == Order::kGreater; }, "not greater than ");
}

bool CheckMinInclusive(ConstraintCheck& check) {
  return CheckRange(
      check, [](Order order) { return order == Order::kGreater || order == Order::kEqual; },
      "less than ");
}

bool CheckMaxExclusive(ConstraintCheck& check) {
  return CheckRange(
      check, [](Order order) { return order == Order::kLess; }, "not less than ");
}

bool CheckMaxInclusive(ConstraintCheck& check) {
  return CheckRange(
      check, [](Order order) { return order == Order::kLess || order == Order::kEqual; },
      "greater than ");
}

}  // namespace qaxoi::shacl
