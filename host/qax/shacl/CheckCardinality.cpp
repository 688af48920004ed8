// Cardinality: sh:minCount, sh:maxCount. A failure names no value.
#include <string>

#include "host/qax/shacl/ComponentChecks.h"

namespace qaxoi::shacl {

bool CheckMinCount(ConstraintCheck& check) {
  const uint64_t count = check.constraint.count;
  if (check.values.size() < count)
    check.Fail(kNoTerm, [&] { return "fewer than " + std::to_string(count) + " values"; });
  return check.Holds();
}

bool CheckMaxCount(ConstraintCheck& check) {
  const uint64_t count = check.constraint.count;
  if (check.values.size() > count)
    check.Fail(kNoTerm, [&] { return "more than " + std::to_string(count) + " values"; });
  return check.Holds();
}

}  // namespace qaxoi::shacl
