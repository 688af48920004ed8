#include "tools/qax-host/AttributeRange.h"

#include <algorithm>
#include <unordered_set>

#include "tools/qax-host/ClassNames.h"

namespace qaxoi::qax_host {

using QAX::Ontology::AttrRangeTerm;
using QAX::Ontology::MetaClass;
using QAX::Ontology::OntologyModel;
using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;

namespace {

// The classes of the model among `terms` that the model maps as classes,
// in the terms' order.
std::vector<const MetaClass*> Classes(const OntologyModel& model,
                                      const std::vector<AttrRangeTerm>& terms) {
  std::vector<const MetaClass*> classes;
  for (const AttrRangeTerm& term : terms) {
    if (AttrKindOf(term.kind) != AttrKind::kComplex) continue;
    if (const MetaClass* metaClass = model.GetMetaClass(term.iri)) classes.push_back(metaClass);
  }
  return classes;
}

// The class `typeName` names for an attribute of library `scopeName` in a
// model that keeps no range terms: the class of that name in the library,
// else the one class of that name; null when none or several.
const MetaClass* ClassByTypeName(const OntologyModel& model, const std::string& scopeName,
                                 const std::string& typeName) {
  if (typeName.empty()) return nullptr;
  if (const MetaClass* own = model.GetMetaClassByFQName(MetaClass::MakeFQName(scopeName, typeName)))
    return own;
  const MetaClass* found = nullptr;
  for (const QAX::Ontology::MetaClassLibrary* library : model.GetLibraries()) {
    for (const MetaClass* metaClass : library->GetClasses()) {
      if (metaClass->GetInfo().name != typeName) continue;
      if (found != nullptr) return nullptr;
      found = metaClass;
    }
  }
  return found;
}

// "X", "X and Y", "X, Y or Z" (with `last` "or"), each class by its shown
// name after `article` ("a ", or "").
std::string Listed(const std::vector<const MetaClass*>& classes, const char* article,
                   const char* last) {
  std::string text;
  for (std::size_t i = 0; i < classes.size(); ++i) {
    if (i > 0) text += i + 1 == classes.size() ? std::string(" ") + last + " " : ", ";
    text += article + ShownName(*classes[i]);
  }
  return text;
}

}  // namespace

ClassRange RangeOf(const OntologyModel& model, const QAX::Ontology::MetaAttr& attribute) {
  const QAX::Ontology::Info::MetaAttrInfo& info = attribute.GetInfo();
  ClassRange range;
  range.typeName = info.typeName;
  if (const QAX::Ontology::AttrRange* terms = attribute.GetRange()) {
    range.allOf = Classes(model, terms->allOf);
    range.anyOf = Classes(model, terms->anyOf);
  }
  // The kind was decided by the first range, rdfs:range before
  // schema:rangeIncludes, that the type names.
  for (const std::vector<const MetaClass*>* classes : {&range.allOf, &range.anyOf}) {
    for (const MetaClass* metaClass : *classes) {
      if (range.first == nullptr && metaClass->GetInfo().name == info.typeName) {
        range.first = metaClass;
      }
    }
  }
  if (range.first == nullptr && !range.allOf.empty()) range.first = range.allOf.front();
  if (range.first == nullptr && !range.anyOf.empty()) range.first = range.anyOf.front();
  if (range.first == nullptr) {
    range.first = ClassByTypeName(model, info.scopeName, info.typeName);
    if (range.first != nullptr) range.allOf.push_back(range.first);
  }
  return range;
}

bool InRange(const MetaClass& given, const ClassRange& range) {
  std::unordered_set<const MetaClass*> lineage{&given};
  std::vector<const MetaClass*> pending{&given};
  bool named = false;  // a class of the lineage has the type's local name
  while (!pending.empty()) {
    const MetaClass* const c = pending.back();
    pending.pop_back();
    named = named || c->GetInfo().name == range.typeName;
    for (const MetaClass* superclass : c->GetSuperclasses()) {
      if (lineage.insert(superclass).second) pending.push_back(superclass);
    }
  }
  if (range.allOf.empty() && range.anyOf.empty()) return named;
  const auto in = [&lineage](const MetaClass* c) { return lineage.count(c) != 0; };
  return std::all_of(range.allOf.begin(), range.allOf.end(), in) &&
         (range.anyOf.empty() || std::any_of(range.anyOf.begin(), range.anyOf.end(), in));
}

std::string RangeText(const ClassRange& range) {
  const std::size_t count = range.allOf.size() + range.anyOf.size();
  if (count == 0) return "a " + range.typeName + " or a subclass of it";
  if (count == 1) {
    const MetaClass* only = range.allOf.empty() ? range.anyOf.front() : range.allOf.front();
    return "a " + ShownName(*only) + " or a subclass of it";
  }
  if (range.allOf.empty()) {
    return Listed(range.anyOf, "a ", "or") + ", or a subclass of one of them";
  }
  std::string text = "an item of " + Listed(range.allOf, "", "and") + " (or of subclasses)";
  if (!range.anyOf.empty()) text += " and of one of " + Listed(range.anyOf, "", "or");
  return text;
}

}  // namespace qaxoi::qax_host
