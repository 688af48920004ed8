// The classes that an attribute of complex kind ranges over, as the model
// gives them: what a nested item's class is when none is given, and which
// classes may be given instead.
#ifndef QAX_TOOLS_QAX_HOST_ATTRIBUTERANGE_H_
#define QAX_TOOLS_QAX_HOST_ATTRIBUTERANGE_H_

#include <string>
#include <vector>

#include "host/qax/model/QAX.h"

namespace qaxoi::qax_host {

// The range of one attribute. The pointers are classes of the model the
// range was made from, valid as long as that model.
struct ClassRange {
  // The class of a nested item given none: the range that decided the
  // attribute's kind (the one its `typeName` names). Null when the model
  // knows no class for it.
  const QAX::Ontology::MetaClass* first = nullptr;
  // A nested item's class must be, or descend from, every class of `allOf`
  // (rdfs:range) and, when `anyOf` has any, one of `anyOf`
  // (schema:rangeIncludes, the members of a union).
  std::vector<const QAX::Ontology::MetaClass*> allOf;
  std::vector<const QAX::Ontology::MetaClass*> anyOf;
  // The attribute's type name, which alone says what the range is when the
  // model knows no class of it: any class of that local name then counts.
  std::string typeName;
};

// The range of `attribute` in `model`. The classes come from the range terms
// the model keeps (MetaAttr::GetRange), by IRI: never a class of another
// vocabulary that shares a local name. A model without range terms (one
// built in code) names the range by `typeName` alone: the class of that
// name in the attribute's own library, else the one class of that name.
ClassRange RangeOf(const QAX::Ontology::OntologyModel& model,
                   const QAX::Ontology::MetaAttr& attribute);

// Whether `given` lies in `range`: it, or one of its superclasses, their
// superclasses and so on, is every class of `allOf` and one of `anyOf`.
// Each class is looked at once, so superclasses that loop end the search.
bool InRange(const QAX::Ontology::MetaClass& given, const ClassRange& range);

// How messages name the range: "a geo:Place or a subclass of it",
// "a schema:Organization, a schema:Person or a subclass of one of them".
std::string RangeText(const ClassRange& range);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_ATTRIBUTERANGE_H_
