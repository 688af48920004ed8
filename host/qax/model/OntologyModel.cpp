#include "host/qax/model/OntologyModel.h"

#include <algorithm>
#include <utility>

namespace QAX {
namespace Ontology {

OntologyModel::OntologyModel() = default;

// Classes point at their parents and libraries, so everything goes at once.
OntologyModel::~OntologyModel() = default;

const MetaClass* OntologyModel::GetMetaClass(const std::string& handle) const {
  const std::size_t found = byHandle_.Find(handle, Util::NameIndex::Hash(handle),
                                           [this](std::size_t position) -> const std::string& {
                                             return classes_[position]->GetInfo().handle;
                                           });
  return found == Util::NameIndex::kNone ? nullptr : classes_[found].get();
}

const MetaClass* OntologyModel::GetMetaClassByFQName(const std::string& fqName) const {
  const std::size_t found =
      byFQName_.Find(fqName, Util::NameIndex::Hash(fqName),
                     [this](std::size_t position) { return classes_[position]->GetFQName(); });
  return found == Util::NameIndex::kNone ? nullptr : classes_[found].get();
}

std::string OntologyModel::GetNamespace(const std::string& scopeName) const {
  const auto found = namespaces_.find(scopeName);
  if (found != namespaces_.end()) return found->second;
  return scopeName.find(':') != std::string::npos ? scopeName : std::string();
}

void OntologyModel::SetNamespace(const std::string& scopeName, const std::string& namespaceIri) {
  namespaces_[scopeName] = namespaceIri;
}

const std::vector<TermSuccessor>& OntologyModel::GetSuccessors(const std::string& iri) const {
  static const std::vector<TermSuccessor> kNone;
  const auto found = successors_.find(iri);
  return found == successors_.end() ? kNone : found->second;
}

void OntologyModel::AddSuccessor(const std::string& iri, TermSuccessor successor) {
  if (successor.iri == iri) return;
  std::vector<TermSuccessor>& list = successors_[iri];
  const auto before = [](const TermSuccessor& a, const TermSuccessor& b) {
    return a.how != b.how ? a.how < b.how : a.iri < b.iri;
  };
  // The list is sorted, so a repeat is found by one binary search per way
  // of succession, and successors added in order are appended: a term with
  // k successors costs O(k log k) however they come.
  for (const TermSuccession how : {TermSuccession::kReplacedBy, TermSuccession::kEquivalent}) {
    const auto found = std::lower_bound(list.begin(), list.end(), how,
                                        [&successor](const TermSuccessor& a, TermSuccession b) {
                                          return a.how != b ? a.how < b : a.iri < successor.iri;
                                        });
    if (found == list.end() || found->how != how || found->iri != successor.iri) continue;
    if (found->how <= successor.how) return;
    list.erase(found);
    break;
  }
  list.insert(std::upper_bound(list.begin(), list.end(), successor, before), std::move(successor));
}

const MetaClassLibrary* OntologyModel::GetLibrary(const std::string& name) const {
  const auto it = libraryByName_.find(name);
  return it == libraryByName_.end() ? nullptr : it->second;
}

MetaClassLibrary* OntologyModel::AddLibrary(const std::string& name) {
  const auto it = libraryByName_.find(name);
  if (it != libraryByName_.end()) return it->second;
  ownedLibraries_.push_back(std::unique_ptr<MetaClassLibrary>(new MetaClassLibrary(name)));
  MetaClassLibrary* const library = ownedLibraries_.back().get();
  libraries_.push_back(library);
  libraryByName_.emplace(name, library);
  return library;
}

void OntologyModel::ReserveClasses(std::size_t count) {
  classes_.reserve(count);
  byHandle_.Reserve(count);
  byFQName_.Reserve(count);
}

void OntologyModel::SortClassesByHandle() {
  for (const std::unique_ptr<MetaClassLibrary>& library : ownedLibraries_) {
    std::sort(library->classes_.begin(), library->classes_.end(),
              [](const MetaClass* a, const MetaClass* b) {
                return a->GetInfo().handle < b->GetInfo().handle;
              });
  }
}

MetaClass* OntologyModel::AddClass(MetaClassLibrary* library, Info::MetaClassInfo info,
                                   const MetaClass* parent) {
  if (library == nullptr || GetLibrary(library->GetName()) != library) return nullptr;
  if (parent != nullptr && GetMetaClass(parent->GetInfo().handle) != parent) return nullptr;
  // Each text is hashed once, for the check and for the index alike.
  const std::uint32_t handleHash = Util::NameIndex::Hash(info.handle);
  if (byHandle_.Find(info.handle, handleHash, [this](std::size_t position) -> const std::string& {
        return classes_[position]->GetInfo().handle;
      }) != Util::NameIndex::kNone) {
    return nullptr;
  }
  const std::string fqName = MetaClass::MakeFQName(library->GetName(), info.name);
  const std::uint32_t fqNameHash = Util::NameIndex::Hash(fqName);
  if (byFQName_.Find(fqName, fqNameHash, [this](std::size_t position) {
        return classes_[position]->GetFQName();
      }) != Util::NameIndex::kNone) {
    return nullptr;
  }

  classes_.push_back(std::unique_ptr<MetaClass>(new MetaClass(std::move(info), parent, library)));
  MetaClass* const added = classes_.back().get();
  library->classes_.push_back(added);
  byHandle_.Add(classes_.size() - 1, handleHash);
  byFQName_.Add(classes_.size() - 1, fqNameHash);
  return added;
}

namespace {

// The chosen documentation text of `texts` for `languages`, then `tail`.
std::string ComposeDoc(const TermTexts& texts, const std::string& tail,
                       const LanguagePreference& languages) {
  const LangText* chosen = ChooseText(texts.docs, languages);
  if (chosen == nullptr) return tail;
  std::string doc;
  doc.reserve(chosen->text.size() + 1 + tail.size());
  doc.append(chosen->text);
  if (!tail.empty()) doc.append(" ").append(tail);
  return doc;
}

}  // namespace

void OntologyModel::SetClassTexts(MetaClass* cls, TermTexts texts) {
  if (cls == nullptr || GetMetaClass(cls->GetInfo().handle) != cls) return;
  if (texts.Empty()) {
    if (cls->texts_) cls->info_.doc = cls->texts_->docTail;
    cls->texts_.reset();
    return;
  }
  if (!cls->texts_) {
    cls->texts_ = std::make_unique<MetaClass::Texts>();
    cls->texts_->docTail = cls->info_.doc;
  }
  cls->texts_->texts = std::move(texts);
  cls->info_.doc = ComposeDoc(cls->texts_->texts, cls->texts_->docTail, languages_);
}

void OntologyModel::SetLanguages(LanguagePreference languages) {
  languages_ = std::move(languages);
  for (const std::unique_ptr<MetaClass>& cls : classes_) {
    if (!cls->texts_ || cls->texts_->texts.docs.empty()) continue;
    std::string doc = ComposeDoc(cls->texts_->texts, cls->texts_->docTail, languages_);
    if (doc != cls->info_.doc) cls->info_.doc = std::move(doc);
  }
}

}  // namespace Ontology
}  // namespace QAX
