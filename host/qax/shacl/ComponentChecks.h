// The check functions of the constraint components, one per component,
// defined by family (CheckValueType.cpp, CheckCardinality.cpp, ...), and
// what each is given. kComponents names them. Internal to the QAX library.
#ifndef QAX_HOST_QAX_SHACL_COMPONENTCHECKS_H_
#define QAX_HOST_QAX_SHACL_COMPONENTCHECKS_H_

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/qax/shacl/ShapeSet.h"
#include "host/qax/shacl/Validation.h"

namespace qaxoi::shacl {

// One constraint of one shape checked at one focus node: what a check
// function is given, and where it records the failures it finds. Holds
// references to its arguments, which must outlive it.
class ConstraintCheck {
 public:
  ConstraintCheck(Validation& validation, const Shape& shape, const Constraint& constraint,
                  TermId focus, const std::vector<TermId>& values, bool report, std::size_t depth,
                  std::vector<RecordedFailure>* record = nullptr)
      : validation(validation),
        shape(shape),
        constraint(constraint),
        focus(focus),
        values(values),
        report(report),
        depth(depth),
        record_(record) {}

  // The run, for what the check asks of the graphs and of other shapes.
  Validation& validation;
  const Shape& shape;
  const Constraint& constraint;
  const TermId focus;
  // The value nodes: the focus node for a node shape, else what the path
  // reaches from it; sorted and distinct.
  const std::vector<TermId>& values;
  // Whether each failure is reported; else the first decides.
  const bool report;
  // The nesting level of the shape: the shapes the constraint names are at
  // depth + 1.
  const std::size_t depth;

  // Records that the constraint does not hold; answers whether to go on
  // looking for more failures (only for a report).
  bool Miss() {
    holds_ = false;
    return report;
  }
  // Records a failure at `value` (kNoTerm where the component names no
  // value, as sh:minCount does) and reports it with what `message()`
  // answers, called only for a report; answers whether to go on.
  template <typename Message>
  bool Fail(TermId value, const Message& message) {
    if (!Miss()) return false;
    Emit(value, message(), nullptr);
    return true;
  }
  // Reports a failure that Miss recorded, with `path` as its result path
  // (the shape's own when null); into the record, when the check has one,
  // to be reported later at each focus node that shares the values.
  void Emit(TermId value, const std::string& message, std::shared_ptr<const ReportPath> path) {
    validation.Charge(1);
    if (record_ != nullptr) {
      record_->push_back({value, message, std::move(path)});
      return;
    }
    validation.Emit(shape, constraint.component, focus, value, message, std::move(path));
  }
  // Whether no failure was recorded.
  bool Holds() const { return holds_; }

 private:
  bool holds_ = true;
  std::vector<RecordedFailure>* record_;
};

// Value type (CheckValueType.cpp).
bool CheckClass(ConstraintCheck& check);
bool CheckDatatype(ConstraintCheck& check);
bool CheckNodeKind(ConstraintCheck& check);

// Cardinality (CheckCardinality.cpp).
bool CheckMinCount(ConstraintCheck& check);
bool CheckMaxCount(ConstraintCheck& check);

// Value range (CheckValueRange.cpp).
bool CheckMinExclusive(ConstraintCheck& check);
bool CheckMinInclusive(ConstraintCheck& check);
bool CheckMaxExclusive(ConstraintCheck& check);
bool CheckMaxInclusive(ConstraintCheck& check);

// String-based (CheckString.cpp).
bool CheckMinLength(ConstraintCheck& check);
bool CheckMaxLength(ConstraintCheck& check);
bool CheckPattern(ConstraintCheck& check);
bool CheckLanguageIn(ConstraintCheck& check);
bool CheckUniqueLang(ConstraintCheck& check);

// Property pair (CheckPropertyPair.cpp).
bool CheckEquals(ConstraintCheck& check);
bool CheckDisjoint(ConstraintCheck& check);
bool CheckLessThan(ConstraintCheck& check);
bool CheckLessThanOrEquals(ConstraintCheck& check);

// Logical (CheckLogical.cpp).
bool CheckNot(ConstraintCheck& check);
bool CheckAnd(ConstraintCheck& check);
bool CheckOr(ConstraintCheck& check);
bool CheckXone(ConstraintCheck& check);

// Shape-based (CheckShapeBased.cpp).
bool CheckNode(ConstraintCheck& check);
bool CheckProperty(ConstraintCheck& check);
bool CheckQualifiedMinCount(ConstraintCheck& check);
bool CheckQualifiedMaxCount(ConstraintCheck& check);

// Other (CheckOther.cpp).
bool CheckClosed(ConstraintCheck& check);
bool CheckHasValue(ConstraintCheck& check);
bool CheckIn(ConstraintCheck& check);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_COMPONENTCHECKS_H_
