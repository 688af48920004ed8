#include "host/qax/shacl/Components.h"

#include "host/qax/shacl/ComponentChecks.h"

namespace qaxoi::shacl {

namespace {

using T = ShaclTerms;
using R = ParameterRead;
constexpr TermId ShaclTerms::*kNone = nullptr;
constexpr bool kAnyShape = false;
constexpr bool kPropertyShapes = true;

}  // namespace

// A row a component: its enumerator, the IRI of its results, its parameter,
// the parameter it also needs and the one it may have, how they are read,
// whether only property shapes may state it, and its check.
constexpr std::array<ComponentRow, kComponentCount> kComponents{{
    {Component::kClass, QAX_SHACL_NS "ClassConstraintComponent", &T::shClass, kNone, kNone,
     R::kIris, kAnyShape, CheckClass},
    {Component::kDatatype, QAX_SHACL_NS "DatatypeConstraintComponent", &T::datatype, kNone, kNone,
     R::kDatatype, kAnyShape, CheckDatatype},
    {Component::kNodeKind, QAX_SHACL_NS "NodeKindConstraintComponent", &T::nodeKind, kNone, kNone,
     R::kNodeKind, kAnyShape, CheckNodeKind},
    {Component::kMinCount, QAX_SHACL_NS "MinCountConstraintComponent", &T::minCount, kNone, kNone,
     R::kCount, kPropertyShapes, CheckMinCount},
    {Component::kMaxCount, QAX_SHACL_NS "MaxCountConstraintComponent", &T::maxCount, kNone, kNone,
     R::kCount, kPropertyShapes, CheckMaxCount},
    {Component::kMinLength, QAX_SHACL_NS "MinLengthConstraintComponent", &T::minLength, kNone,
     kNone, R::kCount, kAnyShape, CheckMinLength},
    {Component::kMaxLength, QAX_SHACL_NS "MaxLengthConstraintComponent", &T::maxLength, kNone,
     kNone, R::kCount, kAnyShape, CheckMaxLength},
    {Component::kMinExclusive, QAX_SHACL_NS "MinExclusiveConstraintComponent", &T::minExclusive,
     kNone, kNone, R::kLiteral, kAnyShape, CheckMinExclusive},
    {Component::kMinInclusive, QAX_SHACL_NS "MinInclusiveConstraintComponent", &T::minInclusive,
     kNone, kNone, R::kLiteral, kAnyShape, CheckMinInclusive},
    {Component::kMaxExclusive, QAX_SHACL_NS "MaxExclusiveConstraintComponent", &T::maxExclusive,
     kNone, kNone, R::kLiteral, kAnyShape, CheckMaxExclusive},
    {Component::kMaxInclusive, QAX_SHACL_NS "MaxInclusiveConstraintComponent", &T::maxInclusive,
     kNone, kNone, R::kLiteral, kAnyShape, CheckMaxInclusive},
    {Component::kPattern, QAX_SHACL_NS "PatternConstraintComponent", &T::pattern, kNone, &T::flags,
     R::kPattern, kAnyShape, CheckPattern},
    {Component::kLanguageIn, QAX_SHACL_NS "LanguageInConstraintComponent", &T::languageIn, kNone,
     kNone, R::kStringList, kAnyShape, CheckLanguageIn},
    {Component::kUniqueLang, QAX_SHACL_NS "UniqueLangConstraintComponent", &T::uniqueLang, kNone,
     kNone, R::kTrue, kPropertyShapes, CheckUniqueLang},
    {Component::kEquals, QAX_SHACL_NS "EqualsConstraintComponent", &T::equals, kNone, kNone,
     R::kIris, kAnyShape, CheckEquals},
    {Component::kDisjoint, QAX_SHACL_NS "DisjointConstraintComponent", &T::disjoint, kNone, kNone,
     R::kIris, kAnyShape, CheckDisjoint},
    {Component::kLessThan, QAX_SHACL_NS "LessThanConstraintComponent", &T::lessThan, kNone, kNone,
     R::kIris, kPropertyShapes, CheckLessThan},
    {Component::kLessThanOrEquals, QAX_SHACL_NS "LessThanOrEqualsConstraintComponent",
     &T::lessThanOrEquals, kNone, kNone, R::kIris, kPropertyShapes, CheckLessThanOrEquals},
    {Component::kClosed, QAX_SHACL_NS "ClosedConstraintComponent", &T::closed, kNone,
     &T::ignoredProperties, R::kClosed, kAnyShape, CheckClosed},
    {Component::kHasValue, QAX_SHACL_NS "HasValueConstraintComponent", &T::hasValue, kNone, kNone,
     R::kTerms, kAnyShape, CheckHasValue},
    {Component::kIn, QAX_SHACL_NS "InConstraintComponent", &T::in, kNone, kNone, R::kList,
     kAnyShape, CheckIn},
    {Component::kNot, QAX_SHACL_NS "NotConstraintComponent", &T::shNot, kNone, kNone, R::kShape,
     kAnyShape, CheckNot},
    {Component::kNode, QAX_SHACL_NS "NodeConstraintComponent", &T::node, kNone, kNone, R::kShape,
     kAnyShape, CheckNode},
    {Component::kProperty, QAX_SHACL_NS "PropertyConstraintComponent", &T::property, kNone, kNone,
     R::kShape, kAnyShape, CheckProperty},
    {Component::kAnd, QAX_SHACL_NS "AndConstraintComponent", &T::shAnd, kNone, kNone, R::kShapeList,
     kAnyShape, CheckAnd},
    {Component::kOr, QAX_SHACL_NS "OrConstraintComponent", &T::shOr, kNone, kNone, R::kShapeList,
     kAnyShape, CheckOr},
    {Component::kXone, QAX_SHACL_NS "XoneConstraintComponent", &T::xone, kNone, kNone,
     R::kShapeList, kAnyShape, CheckXone},
    {Component::kQualifiedMinCount, QAX_SHACL_NS "QualifiedMinCountConstraintComponent",
     &T::qualifiedMinCount, &T::qualifiedValueShape, &T::qualifiedDisjoint, R::kQualified,
     kPropertyShapes, CheckQualifiedMinCount},
    {Component::kQualifiedMaxCount, QAX_SHACL_NS "QualifiedMaxCountConstraintComponent",
     &T::qualifiedMaxCount, &T::qualifiedValueShape, &T::qualifiedDisjoint, R::kQualified,
     kPropertyShapes, CheckQualifiedMaxCount},
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

// Whether every row names the parameters its way of reading reads.
constexpr bool ParametersNamed() {
  for (const ComponentRow& row : kComponents) {
    const bool needsOptional = row.read == ParameterRead::kPattern ||
                               row.read == ParameterRead::kClosed ||
                               row.read == ParameterRead::kQualified;
    if (row.parameter == nullptr || (needsOptional && row.optional == nullptr) ||
        (row.read == ParameterRead::kQualified && row.needed == nullptr))
      return false;
  }
  return true;
}
static_assert(ParametersNamed(), "a row of kComponents lacks a parameter that it is read with");

}  // namespace

}  // namespace qaxoi::shacl
