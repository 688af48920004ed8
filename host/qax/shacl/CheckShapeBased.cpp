// Shape-based: sh:node, sh:property, sh:qualifiedMinCount and
// sh:qualifiedMaxCount with their sh:qualifiedValueShape.
#include <string>

#include "host/qax/shacl/ComponentChecks.h"

namespace qaxoi::shacl {
namespace {

// How many values conform to the qualified shape (the constraint's first)
// and, when its siblings are set apart, to none of them (the others).
uint64_t QualifiedCount(ConstraintCheck& check) {
  Validation& run = check.validation;
  const std::vector<ShapeIndex>& shapes = check.constraint.shapes;
  uint64_t conforming = 0;
  for (const TermId v : check.values) {
    if (!run.Conforms(shapes[0], v, check.depth + 1)) continue;
    bool inSibling = false;
    for (std::size_t i = 1; i < shapes.size() && !inSibling; ++i)
      inSibling = run.Conforms(shapes[i], v, check.depth + 1);
    if (!inSibling) ++conforming;
  }
  return conforming;
}

// "<more or fewer> than <count> values conform to <shape>", naming no value.
bool FailQualified(ConstraintCheck& check, const char* moreOrFewer) {
  const Constraint& c = check.constraint;
  return check.Fail(kNoTerm, [&] {
    return moreOrFewer + std::to_string(c.count) + " values conform to " +
           check.validation.ShapeText(c.shapes[0]);
  });
}

}  // namespace

bool CheckNode(ConstraintCheck& check) {
  Validation& run = check.validation;
  const ShapeIndex node = check.constraint.shapes[0];
  for (const TermId v : check.values)
    if (!run.Conforms(node, v, check.depth + 1) &&
        !check.Fail(v, [&] { return "does not conform to " + run.ShapeText(node); }))
      return false;
  return check.Holds();
}

// The property shape's own results are the report's: for a report each
// value is checked with them, else only asked whether it conforms.
bool CheckProperty(ConstraintCheck& check) {
  Validation& run = check.validation;
  const ShapeIndex property = check.constraint.shapes[0];
  for (const TermId v : check.values) {
    if (check.report ? run.Check(property, v, true, check.depth + 1)
                     : run.Conforms(property, v, check.depth + 1))
      continue;
    if (!check.Miss()) return false;
  }
  return check.Holds();
}

bool CheckQualifiedMinCount(ConstraintCheck& check) {
  if (QualifiedCount(check) < check.constraint.count) FailQualified(check, "fewer than ");
  return check.Holds();
}

bool CheckQualifiedMaxCount(ConstraintCheck& check) {
  if (QualifiedCount(check) > check.constraint.count) FailQualified(check, "more than ");
  return check.Holds();
}

}  // namespace qaxoi::shacl
