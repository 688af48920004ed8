// Value type: sh:class, sh:datatype, sh:nodeKind.
#include <string>

#include "host/qax/shacl/ComponentChecks.h"
#include "host/qax/shacl/LiteralValues.h"

namespace qaxoi::shacl {

bool CheckClass(ConstraintCheck& check) {
  Validation& run = check.validation;
  const Constraint& c = check.constraint;
  const TermId cls = run.Data(c.term);
  for (const TermId v : check.values)
    if (!run.IsInstance(v, cls) &&
        !check.Fail(v, [&] { return "not an instance of " + run.ShapesText(c.term); }))
      return false;
  return check.Holds();
}

// A literal of the datatype whose lexical form is well-formed for it.
bool CheckDatatype(ConstraintCheck& check) {
  Validation& run = check.validation;
  const Constraint& c = check.constraint;
  const std::string_view datatype = run.ShapesTerm(c.term).text;
  for (const TermId v : check.values) {
    const TermView view = run.View(v);
    if (view.kind == TermKind::kLiteral && view.datatype == datatype &&
        IsWellFormed(c.datatype, view.text))
      continue;
    const bool illFormed = view.kind == TermKind::kLiteral && view.datatype == datatype;
    if (!check.Fail(v, [&] {
          return illFormed ? "not a well-formed " + run.ShapesText(c.term)
                           : "not of datatype " + run.ShapesText(c.term);
        }))
      return false;
  }
  return check.Holds();
}

bool CheckNodeKind(ConstraintCheck& check) {
  Validation& run = check.validation;
  const Constraint& c = check.constraint;
  for (const TermId v : check.values) {
    const TermKind kind = run.View(v).kind;
    const uint8_t bit = kind == TermKind::kIri     ? kKindIri
                        : kind == TermKind::kBlank ? kKindBlank
                                                   : kKindLiteral;
    if ((c.nodeKinds & bit) == 0 &&
        !check.Fail(v, [&] { return "not of node kind " + run.ShapesText(c.term); }))
      return false;
  }
  return check.Holds();
}

}  // namespace qaxoi::shacl
