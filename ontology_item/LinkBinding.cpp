#include "ontology_item/LinkBinding.h"

#include <algorithm>
#include <string_view>

#include "channel_extension/LinkTypes.h"

namespace qaxoi::module {

namespace {

using QAX::Ontology::OntologyModel;
using QAX::Ontology::TermSuccession;
using QAX::Ontology::TermSuccessor;

// Appended to the link name of a nested item attribute.
constexpr std::string_view kComplexLinkSuffix = " [TODO.TODO]";
// A saved link name longer than a declared link holds was never written by a
// preparation; it is matched whole but never taken apart into its library.
constexpr std::size_t kMaxParsedNameLength = sizeof(ChildCreation::LinkName) - 1;
// The most namespaces of a walk tried for a saved name whose library the
// model does not know: a class's attributes come from a few vocabularies.
constexpr std::size_t kMaxGuessedNamespaces = 8;

// The walk's attributes by one key (an IRI, a link name or a local name):
// the pairs sorted by key, walk order kept among equal keys, so that links of
// equal keys take their attributes in order. A sorted array rather than a
// hash table: a channel has a few dozen links, and a table per key would
// cost an allocation each, for every channel of a group. Each group of equal
// keys keeps a cursor past the attributes taken, so that however many links
// share a key the whole binding stays O(n log n).
class KeyIndex {
 public:
  explicit KeyIndex(std::size_t expected) { entries_.reserve(expected); }
  void Add(std::string_view key, int position) { entries_.push_back({key, position}); }
  void Seal() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.key < b.key; });
    cursor_.assign(entries_.size(), 0);
  }
  // The first attribute under `key` not taken yet; -1 when none.
  int FirstFree(std::string_view key, const std::vector<bool>& taken) {
    const std::size_t group = Find(key);
    if (group == kNone) return -1;
    std::size_t& next = cursor_[group];
    while (group + next < entries_.size() && entries_[group + next].key == key &&
           taken[static_cast<std::size_t>(entries_[group + next].position)])
      ++next;
    const std::size_t at = group + next;
    return at < entries_.size() && entries_[at].key == key ? entries_[at].position : -1;
  }
  // How many attributes have `key`.
  std::size_t Count(std::string_view key) const {
    std::size_t n = 0;
    for (std::size_t at = Find(key); at != kNone && at < entries_.size() && entries_[at].key == key;
         ++at)
      ++n;
    return n;
  }

 private:
  struct Entry {
    std::string_view key;
    int position;
  };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  // The first entry of `key`'s group; kNone when there is none.
  std::size_t Find(std::string_view key) const {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                     [](const Entry& e, std::string_view k) { return e.key < k; });
    return it != entries_.end() && it->key == key ? static_cast<std::size_t>(it - entries_.begin())
                                                  : kNone;
  }
  std::vector<Entry> entries_;
  std::vector<std::size_t> cursor_;
};

std::string_view TypeOf(const WalkLink& link) { return link.record.Type.Name; }
std::string_view NameOf(const WalkLink& link) { return link.record.LinkName; }

// The local name and the library of a saved qualified link name, its nested
// item suffix dropped. The library is the longest leading part, up to a '.',
// that the model knows as a scope; `known` tells whether one was.
struct NameParts {
  std::string_view library;
  std::string_view local;
  bool known = false;
};
NameParts SplitLinkName(std::string_view name, const OntologyModel& model) {
  NameParts parts;
  if (name.size() > kMaxParsedNameLength) return parts;
  if (name.size() >= kComplexLinkSuffix.size() &&
      name.substr(name.size() - kComplexLinkSuffix.size()) == kComplexLinkSuffix) {
    name.remove_suffix(kComplexLinkSuffix.size());
  }
  const std::size_t lastDot = name.rfind('.');
  if (lastDot == std::string_view::npos) return parts;
  parts.library = name.substr(0, lastDot);
  parts.local = name.substr(lastDot + 1);
  // Library names that are namespace IRIs hold dots themselves; try every
  // split, the longest library first, at most kMaxParsedNameLength of them.
  for (std::size_t dot = lastDot; dot != std::string_view::npos && dot > 0;
       dot = name.rfind('.', dot - 1)) {
    const std::string library(name.substr(0, dot));
    if (!model.GetNamespace(library).empty()) {
      parts.library = name.substr(0, dot);
      parts.local = name.substr(dot + 1);
      parts.known = true;
      return parts;
    }
  }
  return parts;
}

// The namespace of an IRI: up to its last '#' or '/'; empty when it has
// neither.
std::string_view NamespaceOf(std::string_view iri) {
  const std::size_t end = iri.find_last_of("#/");
  return end == std::string_view::npos ? std::string_view() : iri.substr(0, end + 1);
}

// The first IRI, namespace of `namespaces` followed by `local`, that the
// model names a successor for; empty when none.
std::string ReplacedTermIn(const std::vector<std::string_view>& namespaces, std::string_view local,
                           const OntologyModel& model) {
  for (const std::string_view ns : namespaces) {
    std::string iri(ns);
    iri += local;
    if (!model.GetSuccessors(iri).empty()) return iri;
  }
  return std::string();
}

std::string Quoted(std::string_view iri) { return "<" + std::string(iri) + ">"; }

}  // namespace

ClassBinding BindClass(const OntologyModel& model, const std::string& handle) {
  ClassBinding binding;
  const std::vector<TermSuccessor>& successors = model.GetSuccessors(handle);
  for (const TermSuccessor& successor : successors) {
    if (successor.how != TermSuccession::kReplacedBy) continue;
    if (const QAX::Ontology::MetaClass* replacement = model.GetMetaClass(successor.iri)) {
      binding.metaClass = replacement;
      binding.outcome = ClassBindingOutcome::kMigrated;
      binding.note = "replaced by " + Quoted(successor.iri);
      return binding;
    }
  }
  if ((binding.metaClass = model.GetMetaClass(handle)) != nullptr) {
    binding.outcome = ClassBindingOutcome::kSame;
    return binding;
  }
  for (const TermSuccessor& successor : successors) {
    if (successor.how != TermSuccession::kEquivalent) continue;
    if (const QAX::Ontology::MetaClass* equivalent = model.GetMetaClass(successor.iri)) {
      binding.metaClass = equivalent;
      binding.outcome = ClassBindingOutcome::kMigrated;
      binding.note = "equivalent to " + Quoted(successor.iri);
      return binding;
    }
  }
  binding.note = "the ontology has no class " + Quoted(handle);
  return binding;
}

std::vector<SavedLinkBinding> BindSavedLinks(
    const std::vector<std::pair<std::string, std::string>>& saved,
    const std::vector<std::string>& savedIris, const std::vector<WalkLink>& walk,
    const OntologyModel& model, bool* identity) {
  const bool hasIris = savedIris.size() == saved.size();
  std::vector<SavedLinkBinding> bindings(saved.size());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    SavedLinkBinding& binding = bindings[i];
    binding.slot = static_cast<int>(i);
    binding.savedType = saved[i].first;
    binding.savedName = saved[i].second;
    if (hasIris) binding.savedIri = savedIris[i];
  }

  // The same links as the walk's, in the same order: nothing to search.
  bool same = saved.size() == walk.size();
  for (std::size_t i = 0; same && i < saved.size(); ++i) {
    same = saved[i].first == TypeOf(walk[i]) && saved[i].second == NameOf(walk[i]) &&
           (!hasIris || savedIris[i].empty() || savedIris[i] == walk[i].iri);
  }
  *identity = same;
  if (same) {
    for (std::size_t i = 0; i < saved.size(); ++i) {
      bindings[i].walkPosition = static_cast<int>(i);
      bindings[i].attributeIri = walk[i].iri;
      bindings[i].linkName = saved[i].second;
      if (bindings[i].savedIri.empty()) bindings[i].savedIri = walk[i].iri;
    }
    return bindings;
  }

  KeyIndex byIri(walk.size());
  KeyIndex byName(walk.size());
  KeyIndex byLocal(walk.size());
  for (std::size_t j = 0; j < walk.size(); ++j) {
    const int position = static_cast<int>(j);
    if (!walk[j].iri.empty()) byIri.Add(walk[j].iri, position);
    byName.Add(NameOf(walk[j]), position);
    if (walk[j].attribute != nullptr) byLocal.Add(walk[j].attribute->GetInfo().name, position);
  }
  byIri.Seal();
  byName.Seal();
  byLocal.Seal();
  std::vector<bool> taken(walk.size(), false);
  // The namespaces of the walk's attributes, each once, in walk order.
  std::vector<std::string_view> walkNamespaces;
  for (const WalkLink& link : walk) {
    const std::string_view ns = NamespaceOf(link.iri);
    if (ns.empty() || walkNamespaces.size() == kMaxGuessedNamespaces) continue;
    if (std::find(walkNamespaces.begin(), walkNamespaces.end(), ns) == walkNamespaces.end())
      walkNamespaces.push_back(ns);
  }

  for (SavedLinkBinding& binding : bindings) {
    // 1. The attribute the link was saved for, when the walk still has it.
    std::string identityIri = binding.savedIri;
    int found = -1;
    if (!identityIri.empty()) {
      found = byIri.FirstFree(identityIri, taken);
    } else {
      found = byName.FirstFree(binding.savedName, taken);
      if (found >= 0) {
        identityIri = walk[found].iri;
      } else {
        const NameParts parts = SplitLinkName(binding.savedName, model);
        if (parts.known) {
          identityIri = model.GetNamespace(std::string(parts.library)) + std::string(parts.local);
          found = byIri.FirstFree(identityIri, taken);
        } else if (!parts.local.empty()) {
          // A library the model does not know: the local name, when it is
          // unique in the walk; else, for a replacement, a term of that
          // local name in a namespace of the walk that the model names one
          // for.
          const std::size_t named = byLocal.Count(parts.local);
          if (named == 1) {
            found = byLocal.FirstFree(parts.local, taken);
            if (found >= 0) identityIri = walk[found].iri;
          } else if (named == 0) {
            identityIri = ReplacedTermIn(walkNamespaces, parts.local, model);
          }
        }
      }
    }
    binding.savedIri = identityIri;

    // 2. What the vocabulary names in its place: a replacement always, an
    // equivalent only for an attribute the walk lacks.
    std::string refused;
    if (!identityIri.empty()) {
      for (const TermSuccessor& successor : model.GetSuccessors(identityIri)) {
        if (successor.how == TermSuccession::kEquivalent && found >= 0) break;
        const int candidate = byIri.FirstFree(successor.iri, taken);
        if (candidate < 0 || candidate == found) continue;
        const WalkLink& link = walk[candidate];
        const bool sameType = binding.savedType == TypeOf(link);
        const bool sameRange =
            found < 0 || walk[found].attribute == nullptr || link.attribute == nullptr ||
            walk[found].attribute->GetInfo().typeName == link.attribute->GetInfo().typeName;
        const char* how =
            successor.how == TermSuccession::kReplacedBy ? "replaced by " : "equivalent to ";
        if (!sameType || !sameRange) {
          if (refused.empty()) {
            refused = how + Quoted(successor.iri) + ", not taken: " +
                      (!sameType ? "a " + std::string(TypeOf(link)) + " link, saved as " +
                                       binding.savedType
                                 : "its range is " + link.attribute->GetInfo().typeName);
          }
          continue;
        }
        taken[candidate] = true;
        binding.outcome = LinkBindingOutcome::kMigrated;
        binding.walkPosition = candidate;
        binding.attributeIri = link.iri;
        binding.linkName = std::string(NameOf(link));
        binding.note = how + Quoted(successor.iri);
        break;
      }
    }
    if (binding.outcome == LinkBindingOutcome::kMigrated) continue;

    // 3. The attribute itself, of the same link type only.
    if (found >= 0 && binding.savedType != TypeOf(walk[found])) {
      binding.outcome = LinkBindingOutcome::kUnbound;
      binding.note = "the attribute is now a " + std::string(TypeOf(walk[found])) +
                     " link, saved as " + binding.savedType;
      continue;
    }
    if (found < 0) {
      binding.outcome = LinkBindingOutcome::kUnbound;
      binding.note = identityIri.empty() ? "no attribute of the class has that name"
                                         : "the class has no attribute " + Quoted(identityIri);
      if (!refused.empty()) binding.note += "; " + refused;
      continue;
    }
    taken[found] = true;
    binding.walkPosition = found;
    binding.attributeIri = walk[found].iri;
    binding.linkName = std::string(NameOf(walk[found]));
    binding.outcome = found == binding.slot && binding.linkName == binding.savedName
                          ? LinkBindingOutcome::kUnchanged
                          : LinkBindingOutcome::kMoved;
  }
  return bindings;
}

}  // namespace qaxoi::module
