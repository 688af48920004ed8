// Logical: sh:not, sh:and, sh:or, sh:xone. The shapes they name are only
// asked whether a value conforms, each member until the answer is decided.
#include <algorithm>
#include <string>
#include <vector>

#include "host/qax/shacl/ComponentChecks.h"

namespace qaxoi::shacl {
namespace {

// Fails with `failure` each value of which `holds(members, conforms)` is
// false, where `conforms(member)` asks whether the value conforms to one of
// the constraint's shapes.
template <typename Holds>
bool CheckMembers(ConstraintCheck& check, const Holds& holds, const char* failure) {
  Validation& run = check.validation;
  const std::vector<ShapeIndex>& members = check.constraint.shapes;
  for (const TermId v : check.values) {
    const auto conforms = [&](ShapeIndex member) {
      return run.Conforms(member, v, check.depth + 1);
    };
    if (!holds(members, conforms) && !check.Fail(v, [&] { return std::string(failure); }))
      return false;
  }
  return check.Holds();
}

}  // namespace

bool CheckNot(ConstraintCheck& check) {
  Validation& run = check.validation;
  const ShapeIndex negated = check.constraint.shapes[0];
  for (const TermId v : check.values)
    if (run.Conforms(negated, v, check.depth + 1) &&
        !check.Fail(v, [&] { return "conforms to " + run.ShapeText(negated); }))
      return false;
  return check.Holds();
}

// Decided at the first member a value does not conform to.
bool CheckAnd(ConstraintCheck& check) {
  return CheckMembers(
      check,
      [](const auto& members, const auto& conforms) {
        return std::all_of(members.begin(), members.end(), conforms);
      },
      "does not conform to every shape of sh:and");
}

// Decided at the first member a value conforms to.
bool CheckOr(ConstraintCheck& check) {
  return CheckMembers(
      check,
      [](const auto& members, const auto& conforms) {
        return std::any_of(members.begin(), members.end(), conforms);
      },
      "conforms to no shape of sh:or");
}

// Decided at the second member a value conforms to.
bool CheckXone(ConstraintCheck& check) {
  return CheckMembers(
      check,
      [](const auto& members, const auto& conforms) {
        std::size_t conforming = 0;
        for (const ShapeIndex member : members)
          if (conforms(member) && ++conforming > 1) break;
        return conforming == 1;
      },
      "does not conform to exactly one shape of sh:xone");
}

}  // namespace qaxoi::shacl
