// An ontology model: class libraries, classes and their attributes.
#ifndef QAX_HOST_QAX_MODEL_ONTOLOGYMODEL_H_
#define QAX_HOST_QAX_MODEL_ONTOLOGYMODEL_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/model/LanguagePreference.h"
#include "host/qax/model/MetaClass.h"
#include "host/qax/model/MetaClassLibrary.h"
#include "host/qax/model/MetaInfo.h"
#include "host/qax/model/NameIndex.h"

namespace QAX {
namespace Ontology {

// How a vocabulary names one term in another's place.
enum class TermSuccession : int32_t {
  // dcterms:isReplacedBy or schema:supersededBy: the term is replaced.
  kReplacedBy = 0,
  // owl:equivalentClass or owl:equivalentProperty, stated either way round.
  kEquivalent = 1,
};

// One term named in another's place.
struct TermSuccessor {
  std::string iri;
  TermSuccession how = TermSuccession::kReplacedBy;
};

// Owns its libraries, their classes and the classes' attributes; every pointer
// it hands out stays valid until the model is destroyed. Neither copyable nor
// movable, so those pointers never dangle behind a moved-from model. All
// lookups are hash-table lookups.
class QAX_API OntologyModel {
 public:
  OntologyModel();
  ~OntologyModel();
  OntologyModel(const OntologyModel&) = delete;
  OntologyModel& operator=(const OntologyModel&) = delete;

  // The libraries in the order they were added (a model loaded from RDF
  // adds them in the byte order of their names).
  const std::vector<const MetaClassLibrary*>& GetLibraries() const { return libraries_; }

  // The class whose MetaClassInfo::handle is `handle`; null when none.
  const MetaClass* GetMetaClass(const std::string& handle) const;

  // The class whose GetFQName() is `fqName`; null when none.
  const MetaClass* GetMetaClassByFQName(const std::string& fqName) const;

  // The library called `name`; null when none.
  const MetaClassLibrary* GetLibrary(const std::string& name) const;

  // Number of classes over all libraries.
  std::size_t GetClassCount() const { return classes_.size(); }

  // The namespace IRI that the library or scope name `scopeName` stands for:
  // the one SetNamespace recorded, else `scopeName` itself when it is an IRI
  // (holds a ':', which names never do), else empty. A model loaded from RDF
  // records every name it gives a namespace, so that the IRI of a class or
  // attribute is its scope's namespace followed by its name.
  std::string GetNamespace(const std::string& scopeName) const;
  // Records that `scopeName` stands for `namespaceIri`, replacing an earlier
  // record of the same name.
  void SetNamespace(const std::string& scopeName, const std::string& namespaceIri);

  // The namespace of the empty prefix (`@prefix : <...>`, `xmlns="..."`) of
  // the document the model was loaded from; empty when it declared none.
  const std::string& GetEmptyPrefixNamespace() const { return emptyPrefixNamespace_; }
  void SetEmptyPrefixNamespace(const std::string& namespaceIri) {
    emptyPrefixNamespace_ = namespaceIri;
  }

  // The properties of the vocabulary that no class has as an attribute (no
  // domain, no restriction), as attribute records (scope, name, kind, type),
  // in the order they were added (by IRI, from RDF).
  const std::vector<Info::MetaAttrInfo>& GetPropertiesWithoutClass() const {
    return propertiesWithoutClass_;
  }
  // Adds one such property. `expected`, when larger than what is held,
  // makes room for that many in all at once, so that a loader that knows
  // the count grows the list once.
  void AddPropertyWithoutClass(Info::MetaAttrInfo info, std::size_t expected = 0) {
    if (expected > propertiesWithoutClass_.capacity()) propertiesWithoutClass_.reserve(expected);
    propertiesWithoutClass_.push_back(std::move(info));
  }

  // The terms the vocabulary names in place of the class or property `iri`:
  // the replacements first, then the equivalents, each group ordered by IRI,
  // without repeats and never `iri` itself; empty when it names none. Valid
  // until the next AddSuccessor or the model's destruction.
  const std::vector<TermSuccessor>& GetSuccessors(const std::string& iri) const;
  // Records that `successor` is named in place of `iri`; keeps the order
  // above. A successor equal to `iri`, or one already recorded for it (the
  // replacement kept over the equivalent), changes nothing.
  void AddSuccessor(const std::string& iri, TermSuccessor successor);

  // Answers the library called `name`, adding an empty one at the end of the
  // library list when there is none yet. Adding an existing name therefore
  // answers the library already there and changes nothing.
  MetaClassLibrary* AddLibrary(const std::string& name);

  // Makes room for `count` classes in all, so that adding up to that many
  // grows none of the model's own tables. Changes nothing else.
  void ReserveClasses(std::size_t count);

  // Orders each library's class list (MetaClassLibrary::GetClasses) by the
  // classes' handles, in byte order, for a loader that must add parents
  // before their children but lists classes in an order of their own.
  // Changes nothing else; O(n log n) for n classes.
  void SortClassesByHandle();

  // Adds a class to `library` (a library of this model) with `parent` (a
  // class of this model, or null for a root class) and answers it. Answers
  // null and changes nothing when `library` is null or not this model's, when
  // `parent` is not null and not this model's, when another class already has
  // `info.handle` (the first class keeps it), or when another class already
  // has the same FQ name (same library, same `info.name`). The record is kept
  // as given.
  MetaClass* AddClass(MetaClassLibrary* library, Info::MetaClassInfo info, const MetaClass* parent);

  // Gives `cls` (a class of this model; anything else changes nothing) its
  // labels and documentation texts. The class's `doc` becomes the
  // documentation text ChooseText picks for GetLanguages(), then what `doc`
  // said when the texts were first given (e.g. "Also a subclass of ..."),
  // joined by a blank; without documentation texts `doc` stays as it is.
  // Labels never go into `doc`: they name the class, they do not say what
  // it is. An empty record removes the texts.
  void SetClassTexts(MetaClass* cls, TermTexts texts);

  // The languages the model's `doc` texts are chosen by; empty at first
  // (untagged, then English, then any).
  const LanguagePreference& GetLanguages() const { return languages_; }
  // Sets them and rewrites the `doc` of every class that has documentation
  // texts (SetClassTexts): O(classes), allocating only for the docs that
  // change. A reference to a class's record stays valid and reads the new
  // `doc`; a copy of the text taken before does not change.
  void SetLanguages(LanguagePreference languages);

 private:
  std::vector<std::unique_ptr<MetaClassLibrary>> ownedLibraries_;
  std::vector<const MetaClassLibrary*> libraries_;
  std::unordered_map<std::string, MetaClassLibrary*> libraryByName_;
  // Every class, owned here (after the libraries, so destroyed before them),
  // in the order added, found by handle and by FQ name through indexes that
  // keep no copy of either text.
  std::vector<std::unique_ptr<MetaClass>> classes_;
  Util::NameIndex byHandle_;
  Util::NameIndex byFQName_;
  std::unordered_map<std::string, std::string> namespaces_;  // scope name -> namespace IRI
  std::string emptyPrefixNamespace_;
  std::vector<Info::MetaAttrInfo> propertiesWithoutClass_;
  std::unordered_map<std::string, std::vector<TermSuccessor>> successors_;
  LanguagePreference languages_;
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_ONTOLOGYMODEL_H_
