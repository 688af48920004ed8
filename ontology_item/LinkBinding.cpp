#include "ontology_item/LinkBinding.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "channel_extension/LinkTypes.h"

namespace qaxoi::module {

namespace {

using QAX::Ontology::OntologyModel;
using QAX::Ontology::TermSuccession;
using QAX::Ontology::TermSuccessor;

// A saved link name longer than a declared link holds was never written by a
// preparation; it is matched whole but never taken apart into its library.
constexpr std::size_t kMaxParsedNameLength = sizeof(ChildCreation::LinkName) - 1;
// The most namespaces of a walk tried for a saved name whose library the
// model does not know: a class's attributes come from a few vocabularies.
constexpr std::size_t kMaxGuessedNamespaces = 8;

// The walk's attributes by one key (a link name or a local name): the
// entries sorted by key, walk order kept among equal keys, so that links of
// equal keys take their attributes in order. A sorted array rather than a
// hash table: a channel has a few dozen links, and a table per key would
// cost an allocation each, for every channel of a group. Each group of equal
// keys keeps a cursor past the attributes taken, so that however many links
// share a key the whole binding stays O(n log n).
class KeyIndex {
 public:
  explicit KeyIndex(std::size_t expected) { entries_.reserve(expected); }
  // `space` tells apart keys that are local names in different namespaces.
  void Add(std::string_view key, int position, std::size_t space = 0) {
    entries_.push_back({space, key, position});
  }
  void Seal() {
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
      return a.space != b.space ? a.space < b.space : a.key < b.key;
    });
    cursor_.assign(entries_.size(), 0);
  }
  // The first attribute under `key` not taken yet; -1 when none.
  int FirstFree(std::string_view key, const std::vector<bool>& taken, std::size_t space = 0) {
    const std::size_t group = Find(space, key);
    if (group == kNone) return -1;
    std::size_t& next = cursor_[group];
    while (group + next < entries_.size() && Is(entries_[group + next], space, key) &&
           taken[static_cast<std::size_t>(entries_[group + next].position)])
      ++next;
    const std::size_t at = group + next;
    return at < entries_.size() && Is(entries_[at], space, key) ? entries_[at].position : -1;
  }
  // How many attributes have `key`.
  std::size_t Count(std::string_view key) const {
    std::size_t n = 0;
    for (std::size_t at = Find(0, key);
         at != kNone && at < entries_.size() && Is(entries_[at], 0, key); ++at)
      ++n;
    return n;
  }

 private:
  struct Entry {
    std::size_t space;
    std::string_view key;
    int position;
  };
  static bool Is(const Entry& e, std::size_t space, std::string_view key) {
    return e.space == space && e.key == key;
  }
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  // The first entry of the group; kNone when there is none.
  std::size_t Find(std::size_t space, std::string_view key) const {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                     [space](const Entry& e, std::string_view k) {
                                       return e.space != space ? e.space < space : e.key < k;
                                     });
    return it != entries_.end() && Is(*it, space, key)
               ? static_cast<std::size_t>(it - entries_.begin())
               : kNone;
  }
  std::vector<Entry> entries_;
  std::vector<std::size_t> cursor_;
};

// The walk's attributes by IRI, held as (namespace, local name) so that no
// IRI is made: an IRI is looked up under each of the walk's namespaces it
// begins with. A walk of more namespaces than kMaxScannedNamespaces (a class
// whose attributes come from that many vocabularies) makes its IRIs and
// indexes them whole instead, so that a lookup never scans more.
class IriIndex {
 public:
  static constexpr std::size_t kMaxScannedNamespaces = 8;

  explicit IriIndex(const Walk& walk) : namespaces_(walk.namespaces), index_(walk.links.size()) {
    whole_ = namespaces_.size() > kMaxScannedNamespaces;
    if (whole_) iris_.reserve(walk.links.size());
    for (std::size_t j = 0; j < walk.links.size(); ++j) {
      const WalkLink& link = walk.links[j];
      if (!link.HasIri()) continue;
      if (whole_) {
        iris_.push_back(link.Iri());
        index_.Add(iris_.back(), static_cast<int>(j));
      } else {
        index_.Add(link.Local(), static_cast<int>(j), link.space);
      }
    }
    index_.Seal();
  }
  int FirstFree(std::string_view iri, const std::vector<bool>& taken) {
    if (whole_) return index_.FirstFree(iri, taken);
    for (std::size_t space = 0; space < namespaces_.size(); ++space) {
      const std::string& ns = namespaces_[space];
      if (iri.size() < ns.size() || iri.compare(0, ns.size(), ns) != 0) continue;
      const int found = index_.FirstFree(iri.substr(ns.size()), taken, space);
      if (found >= 0) return found;
    }
    return -1;
  }

 private:
  const std::deque<std::string>& namespaces_;
  bool whole_ = false;
  std::vector<std::string> iris_;  // reserved whole: the index keeps views of them
  KeyIndex index_;
};

std::string_view TypeOf(const WalkLink& link) { return link.type; }
std::string_view NameOf(const WalkLink& link) { return link.Name(); }

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

// The first class the model has among `successors` of kind `how`; null
// when none. `note` then says which it is and why.
const QAX::Ontology::MetaClass* SuccessorClass(const OntologyModel& model,
                                               const std::vector<TermSuccessor>& successors,
                                               TermSuccession how, std::string* note) {
  for (const TermSuccessor& successor : successors) {
    if (successor.how != how) continue;
    if (const QAX::Ontology::MetaClass* found = model.GetMetaClass(successor.iri)) {
      *note = (how == TermSuccession::kReplacedBy ? "replaced by " : "equivalent to ") +
              Quoted(successor.iri);
      return found;
    }
  }
  return nullptr;
}

// Makes each unbound link that was saved with the identity (IRI, else link
// name) and link type of an earlier link bound to an attribute another value
// of that attribute (kValue). O(n log n) in the links.
void BindValueLinks(const std::vector<std::pair<std::string, std::string>>& saved,
                    const std::vector<std::string>& iris, std::vector<SavedLinkBinding>& bindings) {
  const auto keyOf = [&](std::size_t at) -> std::string_view {
    return !iris[at].empty() ? iris[at] : saved[at].second;
  };
  // The bound links by identity, the earliest first among equal ones.
  std::vector<std::size_t> bound;
  for (std::size_t at = 0; at < bindings.size(); ++at) {
    const LinkBindingOutcome outcome = bindings[at].outcome;
    if (outcome != LinkBindingOutcome::kUnbound) bound.push_back(at);
  }
  if (bound.size() == bindings.size()) return;
  std::stable_sort(bound.begin(), bound.end(),
                   [&](std::size_t a, std::size_t b) { return keyOf(a) < keyOf(b); });
  for (std::size_t at = 0; at < bindings.size(); ++at) {
    SavedLinkBinding& binding = bindings[at];
    if (binding.outcome != LinkBindingOutcome::kUnbound) continue;
    const std::string_view key = keyOf(at);
    auto it = std::lower_bound(bound.begin(), bound.end(), key,
                               [&](std::size_t a, std::string_view k) { return keyOf(a) < k; });
    for (; it != bound.end() && keyOf(*it) == key && *it < at; ++it) {
      if (saved[*it].first != saved[at].first) continue;
      binding.outcome = LinkBindingOutcome::kValue;
      binding.walkPosition = bindings[*it].walkPosition;
      binding.valueOf = bindings[*it].slot;
      binding.note.clear();
      break;
    }
  }
}

}  // namespace

ClassBinding BindClass(const OntologyModel& model, const std::string& handle) {
  ClassBinding binding;
  const std::vector<TermSuccessor>& successors = model.GetSuccessors(handle);
  // A replacement first, then the class itself, then an equivalent.
  if ((binding.metaClass = SuccessorClass(model, successors, TermSuccession::kReplacedBy,
                                          &binding.note)) != nullptr ||
      (binding.metaClass = model.GetMetaClass(handle)) != nullptr ||
      (binding.metaClass = SuccessorClass(model, successors, TermSuccession::kEquivalent,
                                          &binding.note)) != nullptr) {
    binding.outcome =
        binding.note.empty() ? ClassBindingOutcome::kSame : ClassBindingOutcome::kMigrated;
    return binding;
  }
  binding.note = "the ontology has no class " + Quoted(handle);
  return binding;
}

std::vector<SavedLinkBinding> BindSavedLinks(
    const std::vector<std::pair<std::string, std::string>>& saved, std::vector<std::string>& iris,
    const Walk& whole, const OntologyModel& model, bool* identity) {
  const std::vector<WalkLink>& walk = whole.links;
  iris.resize(saved.size());
  std::vector<SavedLinkBinding> bindings(saved.size());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    bindings[i].savedSlot = static_cast<int>(i);
    bindings[i].slot = static_cast<int>(i);
  }

  // The same links as the walk's, in the same order: nothing to search.
  bool same = saved.size() == walk.size();
  for (std::size_t i = 0; same && i < saved.size(); ++i) {
    same = saved[i].first == TypeOf(walk[i]) && walk[i].NameIs(saved[i].second) &&
           (iris[i].empty() || walk[i].IriIs(iris[i]));
  }
  *identity = same;
  if (same) {
    for (std::size_t i = 0; i < saved.size(); ++i) {
      bindings[i].walkPosition = static_cast<int>(i);
      if (iris[i].empty()) iris[i] = walk[i].Iri();
    }
    return bindings;
  }

  // The index by IRI serves every file that recorded IRIs; those by name
  // and by local name, and the walk's namespaces, only files without them,
  // so they are made when first needed.
  IriIndex byIri(whole);
  std::optional<KeyIndex> byNameIndex;
  const auto byName = [&]() -> KeyIndex& {
    if (!byNameIndex) {
      byNameIndex.emplace(walk.size());
      for (std::size_t j = 0; j < walk.size(); ++j)
        byNameIndex->Add(NameOf(walk[j]), static_cast<int>(j));
      byNameIndex->Seal();
    }
    return *byNameIndex;
  };
  std::optional<KeyIndex> byLocalIndex;
  std::vector<std::string_view> walkNamespaces;  // each once, in walk order
  const auto byLocal = [&]() -> KeyIndex& {
    if (!byLocalIndex) {
      byLocalIndex.emplace(walk.size());
      for (std::size_t j = 0; j < walk.size(); ++j) {
        if (walk[j].attribute != nullptr)
          byLocalIndex->Add(walk[j].attribute->GetInfo().name, static_cast<int>(j));
        const std::string_view ns = walk[j].ns;
        if (ns.empty() || walkNamespaces.size() == kMaxGuessedNamespaces) continue;
        if (std::find(walkNamespaces.begin(), walkNamespaces.end(), ns) == walkNamespaces.end())
          walkNamespaces.push_back(ns);
      }
      byLocalIndex->Seal();
    }
    return *byLocalIndex;
  };
  std::vector<bool> taken(walk.size(), false);

  for (SavedLinkBinding& binding : bindings) {
    const std::size_t at = static_cast<std::size_t>(binding.savedSlot);
    const std::string& savedType = saved[at].first;
    const std::string& savedName = saved[at].second;
    // 1. The attribute the link was saved for, when the walk still has it;
    // its IRI, from the file or resolved from the name, goes into iris[at].
    std::string& identityIri = iris[at];
    int found = -1;
    if (!identityIri.empty()) {
      found = byIri.FirstFree(identityIri, taken);
    } else {
      found = byName().FirstFree(savedName, taken);
      if (found >= 0) {
        identityIri = walk[found].Iri();
      } else {
        const NameParts parts = SplitLinkName(savedName, model);
        if (parts.known) {
          identityIri = model.GetNamespace(std::string(parts.library)) + std::string(parts.local);
          found = byIri.FirstFree(identityIri, taken);
        } else if (!parts.local.empty()) {
          // A library the model does not know: the local name, when it is
          // unique in the walk; else, for a replacement, a term of that
          // local name in a namespace of the walk that the model names one
          // for.
          const std::size_t named = byLocal().Count(parts.local);
          if (named == 1) {
            found = byLocal().FirstFree(parts.local, taken);
            if (found >= 0) identityIri = walk[found].Iri();
          } else if (named == 0) {
            identityIri = ReplacedTermIn(walkNamespaces, parts.local, model);
          }
        }
      }
    }

    // 2. What the vocabulary names in its place: a replacement always, an
    // equivalent only for an attribute the walk lacks.
    std::string refused;
    if (!identityIri.empty()) {
      for (const TermSuccessor& successor : model.GetSuccessors(identityIri)) {
        if (successor.how == TermSuccession::kEquivalent && found >= 0) break;
        const int candidate = byIri.FirstFree(successor.iri, taken);
        if (candidate < 0 || candidate == found) continue;
        const WalkLink& link = walk[candidate];
        const bool sameType = savedType == TypeOf(link);
        const bool sameRange =
            found < 0 || walk[found].attribute == nullptr || link.attribute == nullptr ||
            walk[found].attribute->GetInfo().typeName == link.attribute->GetInfo().typeName;
        const char* how =
            successor.how == TermSuccession::kReplacedBy ? "replaced by " : "equivalent to ";
        if (!sameType || !sameRange) {
          if (refused.empty()) {
            refused = how + Quoted(successor.iri) + ", not taken: " +
                      (!sameType ? "a " + std::string(TypeOf(link)) + " link, saved as " + savedType
                                 : "its range is " + link.attribute->GetInfo().typeName);
          }
          continue;
        }
        taken[candidate] = true;
        binding.outcome = LinkBindingOutcome::kMigrated;
        binding.walkPosition = candidate;
        binding.note = how + Quoted(successor.iri);
        break;
      }
    }
    if (binding.outcome == LinkBindingOutcome::kMigrated) continue;

    // 3. The attribute itself, of the same link type only.
    if (found >= 0 && savedType != TypeOf(walk[found])) {
      binding.outcome = LinkBindingOutcome::kUnbound;
      binding.note = "the attribute is now a " + std::string(TypeOf(walk[found])) +
                     " link, saved as " + savedType;
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
    binding.outcome = found == binding.slot && walk[found].NameIs(savedName)
                          ? LinkBindingOutcome::kUnchanged
                          : LinkBindingOutcome::kMoved;
  }
  BindValueLinks(saved, iris, bindings);
  return bindings;
}

}  // namespace qaxoi::module
