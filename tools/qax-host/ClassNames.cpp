#include "tools/qax-host/ClassNames.h"

#include <vector>

#include "tools/qax-host/NearestNames.h"

namespace qaxoi::qax_host {

using QAX::Ontology::MetaClass;
using QAX::Ontology::MetaClassLibrary;
using QAX::Ontology::OntologyModel;

namespace {

// The classes of `library` (every library when null) whose local name is
// `local`.
std::vector<const MetaClass*> ClassesNamed(const OntologyModel& model,
                                           const MetaClassLibrary* library,
                                           const std::string& local) {
  std::vector<const MetaClass*> found;
  for (const MetaClassLibrary* candidate : model.GetLibraries()) {
    if (library != nullptr && candidate != library) continue;
    for (const MetaClass* metaClass : candidate->GetClasses()) {
      if (metaClass->GetInfo().name == local) found.push_back(metaClass);
    }
  }
  return found;
}

}  // namespace

std::string ShownName(const MetaClass& metaClass) {
  return metaClass.GetInfo().scopeName + ":" + metaClass.GetInfo().name;
}

std::string SimilarClasses(const OntologyModel& model, const std::string& name) {
  // What a user types: a bare or prefixed name, "<IRI>" or an IRI.
  std::string given = name;
  if (given.size() > 2 && given.front() == '<' && given.back() == '>') {
    given = given.substr(1, given.size() - 2);
  }
  const bool iri = given.find("://") != std::string::npos;
  NearestNames nearest(given);
  for (const MetaClassLibrary* library : model.GetLibraries()) {
    for (const MetaClass* metaClass : library->GetClasses()) {
      const std::string shown = ShownName(*metaClass);
      if (iri) {
        nearest.Offer(metaClass->GetInfo().handle, shown);
        continue;
      }
      nearest.Offer(metaClass->GetInfo().name, shown);
      nearest.Offer(shown, shown);
    }
  }
  return nearest.DidYouMean();
}

namespace {

// FindClass's work: the class, or null with why in `error`.
const MetaClass* Find(const OntologyModel& model, const std::string& name, std::string* error) {
  if (const MetaClass* byHandle = model.GetMetaClass(name)) return byHandle;

  // "<IRI>": a full IRI as RDF writes it.
  if (name.size() > 2 && name.front() == '<' && name.back() == '>') {
    const std::string iri = name.substr(1, name.size() - 2);
    if (const MetaClass* byHandle = model.GetMetaClass(iri)) return byHandle;
    *error = "no class <" + iri + "> in the ontology" + SimilarClasses(model, name) +
             " (see: qax-host classes)";
    return nullptr;
  }
  // ":Local": a name in the namespace of the document's empty prefix.
  if (name.size() > 1 && name.front() == ':') {
    const std::string& ns = model.GetEmptyPrefixNamespace();
    if (ns.empty()) {
      *error = "the ontology declares no empty prefix, so '" + name + "' names no class";
      return nullptr;
    }
    if (const MetaClass* byHandle = model.GetMetaClass(ns + name.substr(1))) return byHandle;
    *error = "no class '" + name + "' (<" + ns + name.substr(1) + ">) in the ontology" +
             SimilarClasses(model, ns + name.substr(1)) + " (see: qax-host classes)";
    return nullptr;
  }

  // "library:Local" or "library.Local": split at the last separator, since
  // library names may themselves be IRIs full of colons and dots.
  for (const char separator : {':', '.'}) {
    const std::size_t at = name.rfind(separator);
    if (at == std::string::npos || at == 0 || at + 1 == name.size()) continue;
    const MetaClassLibrary* library = model.GetLibrary(name.substr(0, at));
    if (library == nullptr) continue;
    const std::vector<const MetaClass*> found = ClassesNamed(model, library, name.substr(at + 1));
    if (!found.empty()) return found.front();
  }

  const std::vector<const MetaClass*> found = ClassesNamed(model, nullptr, name);
  if (found.size() == 1) return found.front();
  if (found.empty()) {
    *error = "no class '" + name + "' in the ontology" + SimilarClasses(model, name) +
             " (see: qax-host classes)";
  } else {
    *error = "class name '" + name + "' is ambiguous; say which:";
    for (const MetaClass* metaClass : found) {
      *error += "\n  " + ShownName(*metaClass) + "  <" + metaClass->GetInfo().handle + ">";
    }
  }
  return nullptr;
}

}  // namespace

qaxoi::Status FindClass(const OntologyModel& model, const std::string& name,
                        const MetaClass** found) {
  std::string error;
  const MetaClass* metaClass = Find(model, name, &error);
  if (metaClass == nullptr) return qaxoi::Status::InvalidArgument(std::move(error));
  *found = metaClass;
  return qaxoi::Status::Ok();
}

}  // namespace qaxoi::qax_host
