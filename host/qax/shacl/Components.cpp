#include "host/qax/shacl/Components.h"

#include "host/qax/shacl/ComponentChecks.h"

namespace QAX {
namespace Ontology {
namespace Shacl {

// A row a component: its enumerator, the IRI of its results and its check.
constexpr std::array<ComponentRow, kComponentCount> kComponents{{
    {Component::kClass, QAX_SHACL_NS "ClassConstraintComponent", CheckClass},
    {Component::kDatatype, QAX_SHACL_NS "DatatypeConstraintComponent", CheckDatatype},
    {Component::kNodeKind, QAX_SHACL_NS "NodeKindConstraintComponent", CheckNodeKind},
    {Component::kMinCount, QAX_SHACL_NS "MinCountConstraintComponent", CheckMinCount},
    {Component::kMaxCount, QAX_SHACL_NS "MaxCountConstraintComponent", CheckMaxCount},
    {Component::kMinLength, QAX_SHACL_NS "MinLengthConstraintComponent", CheckMinLength},
    {Component::kMaxLength, QAX_SHACL_NS "MaxLengthConstraintComponent", CheckMaxLength},
    {Component::kMinExclusive, QAX_SHACL_NS "MinExclusiveConstraintComponent", CheckMinExclusive},
    {Component::kMinInclusive, QAX_SHACL_NS "MinInclusiveConstraintComponent", CheckMinInclusive},
    {Component::kMaxExclusive, QAX_SHACL_NS "MaxExclusiveConstraintComponent", CheckMaxExclusive},
    {Component::kMaxInclusive, QAX_SHACL_NS "MaxInclusiveConstraintComponent", CheckMaxInclusive},
    {Component::kPattern, QAX_SHACL_NS "PatternConstraintComponent", CheckPattern},
    {Component::kLanguageIn, QAX_SHACL_NS "LanguageInConstraintComponent", CheckLanguageIn},
    {Component::kUniqueLang, QAX_SHACL_NS "UniqueLangConstraintComponent", CheckUniqueLang},
    {Component::kEquals, QAX_SHACL_NS "EqualsConstraintComponent", CheckEquals},
    {Component::kDisjoint, QAX_SHACL_NS "DisjointConstraintComponent", CheckDisjoint},
    {Component::kLessThan, QAX_SHACL_NS "LessThanConstraintComponent", CheckLessThan},
    {Component::kLessThanOrEquals, QAX_SHACL_NS "LessThanOrEqualsConstraintComponent",
     CheckLessThanOrEquals},
    {Component::kClosed, QAX_SHACL_NS "ClosedConstraintComponent", CheckClosed},
    {Component::kHasValue, QAX_SHACL_NS "HasValueConstraintComponent", CheckHasValue},
    {Component::kIn, QAX_SHACL_NS "InConstraintComponent", CheckIn},
    {Component::kNot, QAX_SHACL_NS "NotConstraintComponent", CheckNot},
    {Component::kNode, QAX_SHACL_NS "NodeConstraintComponent", CheckNode},
    {Component::kProperty, QAX_SHACL_NS "PropertyConstraintComponent", CheckProperty},
    {Component::kAnd, QAX_SHACL_NS "AndConstraintComponent", CheckAnd},
    {Component::kOr, QAX_SHACL_NS "OrConstraintComponent", CheckOr},
    {Component::kXone, QAX_SHACL_NS "XoneConstraintComponent", CheckXone},
    {Component::kQualifiedMinCount, QAX_SHACL_NS "QualifiedMinCountConstraintComponent",
     CheckQualifiedMinCount},
    {Component::kQualifiedMaxCount, QAX_SHACL_NS "QualifiedMaxCountConstraintComponent",
     CheckQualifiedMaxCount},
}};

namespace {

// Whether row i holds the enumerator of value i, for every row: RowOf
// indexes the table by the enumerator.
constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kComponents.size(); ++i)
    if (static_cast<std::size_t>(kComponents[i].component) != i) return false;
  return true;
}
static_assert(RowsInOrder(), "kComponents must hold row i for the Component of value i");

}  // namespace

}  // namespace Shacl
}  // namespace Ontology
}  // namespace QAX
