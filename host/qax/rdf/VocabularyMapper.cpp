#include "host/qax/rdf/VocabularyMapper.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "host/qax/MetaInfo.h"
#include "host/qax/rdf/VocabularyTerms.h"

namespace QAX {
namespace Ontology {
namespace Rdf {
namespace {

constexpr TermId kNoTerm = UINT32_MAX;

class Builder {
 public:
  Builder(const RdfStatements& statements, const std::string& sourceName, OntologyModel& model,
          std::vector<std::string>& warnings, LoadBudget& budget)
      : st_(statements),
        sourceName_(sourceName),
        model_(model),
        warnings_(warnings),
        budget_(budget) {}

  // False as soon as the budget is exhausted.
  bool Run() {
    if (!budget_.Charge(LoadBudget::kMapperBytesPerTerm * st_.TermCount())) return false;
    if (!NameNamespaces()) return false;
    ChooseParents();
    return AddClasses() && AddAttributes();
  }

 private:
  std::string_view Iri(TermId id) const { return st_.Iri(id); }
  std::string IriText(TermId id) const { return std::string(st_.Iri(id)); }
  bool IsClass(TermId id) const { return st_.IsClass(id); }
  TermList SuperClasses(TermId id) const {
    return st_.Related(RdfStatements::Relation::kSubClassOf, id);
  }

  std::string LocalName(TermId id) const { return std::string(SplitIri(Iri(id)).localName); }

  // The library name of the namespace that `id` lies in.
  const std::string& LibraryName(TermId id) const { return libraryNames_.at(SplitIri(Iri(id)).ns); }

  // Names every namespace: by the first prefix the document declares for it,
  // else by its customary prefix, else by its own IRI. A name goes to one
  // namespace only; a namespace whose prefix is taken falls back to the
  // next choice.
  bool NameNamespaces() {
    std::unordered_set<std::string> taken;
    const auto name = [this](std::string_view ns, std::string library) {
      budget_.Charge(LoadBudget::kLibraryBytes + 3 * ns.size());
      libraryNames_.emplace(ns, std::move(library));
      return !budget_.Exhausted();
    };
    for (const auto& [prefix, ns] : st_.prefixes) {
      if (prefix.empty() || libraryNames_.count(ns) != 0 || taken.count(prefix) != 0) continue;
      if (!name(ns, prefix)) return false;
      taken.insert(prefix);
    }
    for (TermId id = 0; id < st_.TermCount(); ++id) {
      const std::string_view ns = SplitIri(Iri(id)).ns;
      if (libraryNames_.count(ns) != 0) continue;
      const std::string_view known = WellKnownPrefix(ns);
      std::string library(known);
      if (!known.empty() && taken.count(library) == 0) {
        taken.emplace(known);
      } else {
        // Prefixes never contain ':', IRIs always do, so a namespace named
        // by its own IRI takes no prefix's name.
        library = ns;
      }
      if (!name(ns, std::move(library))) return false;
    }
    for (const auto& [ns, library] : libraryNames_) {
      if (library != ns) model_.SetNamespace(library, std::string(ns));
    }
    return true;
  }

  // Each class's parent is its first superclass that is a class of the
  // model; a parent that would close a loop is cut.
  void ChooseParents() {
    const std::size_t count = st_.TermCount();
    parent_.assign(count, kNoTerm);
    for (const TermId cls : st_.Classes()) {
      for (const TermId super : SuperClasses(cls)) {
        if (IsClass(super)) {
          parent_[cls] = super;
          break;
        }
      }
    }
    // Walk up from each class until a class already placed; a class met
    // twice on one walk closes a loop, and the walk's last class loses its
    // parent. Classes are then added parents first.
    enum : uint8_t { kUnseen, kOnWalk, kPlaced };
    std::vector<uint8_t> state(count, kUnseen);
    order_.reserve(st_.Classes().size());
    std::vector<TermId> walk;
    for (const TermId start : st_.Classes()) {
      walk.clear();
      for (TermId at = start; at != kNoTerm && state[at] != kPlaced; at = parent_[at]) {
        if (state[at] == kOnWalk) {
          const TermId cut = walk.back();
          warnings_.push_back(sourceName_ + ": <" + IriText(cut) + "> rdfs:subClassOf <" +
                              IriText(at) + "> would close a loop of parents; <" + IriText(cut) +
                              "> is left without a parent");
          parent_[cut] = kNoTerm;
          break;
        }
        state[at] = kOnWalk;
        walk.push_back(at);
      }
      for (auto it = walk.rbegin(); it != walk.rend(); ++it) {
        state[*it] = kPlaced;
        order_.push_back(*it);
      }
    }
  }

  // "library.name" for an IRI whose namespace has a prefix, else "<IRI>".
  std::string DisplayName(TermId id) const {
    const IriParts parts = SplitIri(Iri(id));
    const std::string& library = LibraryName(id);
    if (library == parts.ns) return "<" + IriText(id) + ">";
    return library + "." + std::string(parts.localName);
  }

  std::string Documentation(TermId cls) const {
    std::string doc(st_.Comment(cls));
    std::string others;
    for (const TermId super : SuperClasses(cls)) {
      if (super == parent_[cls] || super == cls) continue;
      others.append(others.empty() ? "" : ", ").append(DisplayName(super));
    }
    if (!others.empty()) {
      doc.append(doc.empty() ? "" : " ").append("Also a subclass of ").append(others).append(".");
    }
    return doc;
  }

  bool AddClasses() {
    meta_.assign(st_.TermCount(), nullptr);
    model_.ReserveClasses(order_.size());
    for (const TermId cls : order_) {
      const TermId parent = parent_[cls];
      Info::MetaClassInfo info;
      info.name = LocalName(cls);
      info.scopeName = LibraryName(cls);
      info.handle = IriText(cls);
      if (parent != kNoTerm) {
        info.parentName = LocalName(parent);
        info.parentScopeName = LibraryName(parent);
      }
      info.isAbstract = false;
      info.doc = Documentation(cls);
      if (!budget_.Charge(LoadBudget::kClassBytes + info.name.size() + info.scopeName.size() +
                          info.handle.size() + info.parentName.size() +
                          info.parentScopeName.size() + info.doc.size())) {
        return false;
      }
      MetaClassLibrary* const library = model_.AddLibrary(info.scopeName);
      // Parents come first, handles are distinct IRIs and names within one
      // namespace are distinct, so the model accepts every class.
      meta_[cls] = model_.AddClass(library, info, parent == kNoTerm ? nullptr : meta_[parent]);
    }
    return true;
  }

  // The kind of the datatype that class `cls` derives from through its
  // parents (e.g. schema:PronounceableText from schema:Text); -1 when none.
  // Remembered per class, so every chain is walked once.
  int32_t DerivedDatatypeKind(TermId cls) {
    constexpr int32_t kUnknown = -2;
    if (derivedKind_.empty()) derivedKind_.assign(st_.TermCount(), kUnknown);
    std::vector<TermId> walk;
    int32_t kind = -1;
    for (TermId at = cls; at != kNoTerm; at = parent_[at]) {
      if (derivedKind_[at] != kUnknown) {
        kind = derivedKind_[at];
        break;
      }
      walk.push_back(at);
      kind = MappedDatatypeKind(Iri(at));
      if (kind >= 0) break;
    }
    for (const TermId visited : walk) derivedKind_[visited] = kind;
    return kind;
  }

  // The kind and type name of a property, from its ranges: a mapped
  // datatype (the lowest kind among several) wins over an unmapped datatype,
  // which wins over a class of the model, which wins over an unknown IRI.
  std::pair<int32_t, std::string> KindOf(TermId property) {
    int32_t best = -1;
    TermId bestRange = kNoTerm;
    TermId unmapped = kNoTerm;
    TermId cls = kNoTerm;
    TermId unknown = kNoTerm;
    for (const TermId range : st_.Related(RdfStatements::Relation::kRange, property)) {
      const std::string_view iri = Iri(range);
      int32_t kind = MappedDatatypeKind(iri);
      if (kind < 0 && IsClass(range)) kind = DerivedDatatypeKind(range);
      if (kind >= 0) {
        if (best < 0 || kind < best) {
          best = kind;
          bestRange = range;
        }
      } else if (IsBuiltInDatatype(iri) || st_.IsDatatype(range)) {
        if (unmapped == kNoTerm) unmapped = range;
      } else if (IsClass(range)) {
        if (cls == kNoTerm) cls = range;
      } else if (unknown == kNoTerm) {
        unknown = range;
      }
    }
    if (best >= 0) return {best, LocalName(bestRange)};
    if (unmapped != kNoTerm) return {Info::AttrKind::kUnmapped, LocalName(unmapped)};
    if (cls != kNoTerm) return {Info::AttrKind::kComplex, LocalName(cls)};
    if (unknown != kNoTerm) return {Info::AttrKind::kUnmapped, LocalName(unknown)};
    return {Info::AttrKind::kText, std::string()};
  }

  bool AddAttributes() {
    std::unordered_map<TermId, std::vector<TermId>> byClass;
    for (const TermId property : st_.Properties()) {
      for (const TermId domain : st_.Related(RdfStatements::Relation::kDomain, property)) {
        if (!IsClass(domain)) continue;
        // The attribute is charged here, before the table that gathers them.
        if (!budget_.Charge(LoadBudget::kAttributeBytes)) return false;
        byClass[domain].push_back(property);
      }
    }
    for (const TermId cls : order_) {
      const auto found = byClass.find(cls);
      if (found == byClass.end() || meta_[cls] == nullptr) continue;
      std::vector<TermId>& properties = found->second;
      std::sort(properties.begin(), properties.end(),
                [this](TermId a, TermId b) { return Iri(a) < Iri(b); });
      for (const TermId property : properties) {
        auto known = kinds_.find(property);
        if (known == kinds_.end()) known = kinds_.emplace(property, KindOf(property)).first;
        Info::MetaAttrInfo info{LocalName(property), LibraryName(property), known->second.first,
                                known->second.second};
        if (!budget_.Charge(info.name.size() + info.scopeName.size() + 2 * info.typeName.size())) {
          return false;
        }
        meta_[cls]->AddAttribute(info);
      }
    }
    return true;
  }

  const RdfStatements& st_;
  const std::string& sourceName_;
  OntologyModel& model_;
  std::vector<std::string>& warnings_;
  LoadBudget& budget_;

  // Namespace -> library name; the namespaces are views of the statements'
  // IRIs and prefixes, which outlive the builder, so looking one up copies
  // nothing.
  std::unordered_map<std::string_view, std::string> libraryNames_;
  std::vector<TermId> parent_;                                         // by term; kNoTerm for none
  std::vector<TermId> order_;                                          // classes, parents first
  std::vector<MetaClass*> meta_;                                       // by term
  std::vector<int32_t> derivedKind_;                                   // by term
  std::unordered_map<TermId, std::pair<int32_t, std::string>> kinds_;  // by property
};

}  // namespace

bool BuildModel(const RdfStatements& statements, const std::string& sourceName,
                OntologyModel& model, std::vector<std::string>& warnings, LoadBudget& budget) {
  return Builder(statements, sourceName, model, warnings, budget).Run();
}

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX
