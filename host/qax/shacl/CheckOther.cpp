// Other: sh:closed, sh:hasValue, sh:in.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/qax/shacl/ComponentChecks.h"

namespace qaxoi::shacl {

// A failure per statement about a value whose predicate is not allowed,
// with that predicate as the result's path and its object as the value.
bool CheckClosed(ConstraintCheck& check) {
  Validation& run = check.validation;
  const std::vector<TermId>& allowed = run.Bound(check.constraint);
  for (const TermId v : check.values) {
    const TripleRange about = run.About(v);
    if (!run.Charge(about.size())) return true;
    for (const Triple& t : about) {
      if (Contains(allowed, t.predicate)) continue;
      if (!check.Miss()) return false;
      const TermView predicate = run.View(t.predicate);
      auto path = std::make_shared<ReportPath>();
      path->iri = std::string(predicate.text);
      check.Emit(t.object, "the shape is closed; " + TermText(predicate) + " is not allowed",
                 std::move(path));
    }
  }
  return check.Holds();
}

bool CheckHasValue(ConstraintCheck& check) {
  const TermId wanted = check.validation.Data(check.constraint.term);
  if (!Contains(check.values, wanted))
    check.Fail(kNoTerm, [&] {
      return "missing the value " + check.validation.ShapesText(check.constraint.term);
    });
  return check.Holds();
}

bool CheckIn(ConstraintCheck& check) {
  const std::vector<TermId>& members = check.validation.Bound(check.constraint);
  for (const TermId v : check.values)
    if (!Contains(members, v) &&
        !check.Fail(v, [&] { return std::string("not among the values of sh:in"); }))
      return false;
  return check.Holds();
}

}  // namespace qaxoi::shacl
