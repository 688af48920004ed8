#include "host/qax/rdf/VocabularyMapper.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "host/qax/model/MetaInfo.h"
#include "host/qax/rdf/ClassExpressions.h"
#include "host/qax/rdf/VocabularyTerms.h"

namespace qaxoi::rdf {
namespace {

// Properties a warning names, at most, of those that no class has.
constexpr std::size_t kExamplesShown = 3;

// True for a name usable as a library's: ASCII letters, digits, '-' and
// '_', a letter first, so that it is never taken for an IRI.
bool IsLibraryName(std::string_view name) {
  if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
  });
}

// The last path segment of an ontology IRI without its extension:
// "https://a.org/ont/pizza.owl#" gives "pizza". Empty for a segment that
// says nothing about the ontology: a version ("v1", "0.1") or a word that
// many ontologies end their IRI with ("ns", "ontology", "core", ...).
std::string_view LastSegment(std::string_view iri) {
  static constexpr std::string_view kGeneric[] = {"ns",         "ontology", "ontologies", "vocab",
                                                  "vocabulary", "voc",      "core",       "terms",
                                                  "schema",     "owl",      "rdf"};
  while (!iri.empty() && (iri.back() == '#' || iri.back() == '/')) iri.remove_suffix(1);
  const std::size_t slash = iri.rfind('/');
  if (slash != std::string_view::npos) iri.remove_prefix(slash + 1);
  const std::size_t dot = iri.rfind('.');
  if (dot != std::string_view::npos) iri = iri.substr(0, dot);
  const bool version = iri.size() > 1 && (iri[0] == 'v' || iri[0] == 'V') &&
                       std::all_of(iri.begin() + 1, iri.end(), [](char c) {
                         return std::isdigit(static_cast<unsigned char>(c));
                       });
  if (version || std::find(std::begin(kGeneric), std::end(kGeneric), iri) != std::end(kGeneric)) {
    return std::string_view();
  }
  return iri;
}

uint64_t PairKey(TermId cls, TermId property) {
  constexpr int kTermBits = 32;
  return (static_cast<uint64_t>(cls) << kTermBits) | property;
}

class Builder {
 public:
  Builder(const RdfStatements& statements, const std::string& sourceName,
          QAX::Ontology::OntologyModel& model, std::vector<std::string>& warnings,
          LoadBudget& budget)
      : st_(statements),
        sourceName_(sourceName),
        model_(model),
        warnings_(warnings),
        budget_(budget) {}

  // False as soon as the budget is exhausted.
  bool Run() {
    if (!budget_.Charge(LoadBudget::kMapperBytesPerTerm * st_.TermCount())) return false;
    for (uint32_t e = 0; e < st_.enumerations.size(); ++e) {
      if (st_.enumerations[e].property != kNoTerm)
        enumerationOf_.emplace(st_.enumerations[e].property, e);
    }
    if (!NameNamespaces()) return false;
    ChooseParents();
    if (!AddClasses() || !AddAttributes()) return false;
    if (order_.empty()) {
      warnings_.push_back(sourceName_ + ": no classes: " +
                          (st_.statementCount == 0
                               ? std::string("the document holds no statements")
                               : std::string("no subject is typed rdfs:Class or owl:Class")));
    }
    return true;
  }

 private:
  std::string_view Iri(TermId id) const { return st_.Iri(id); }
  std::string IriText(TermId id) const { return std::string(st_.Iri(id)); }
  bool IsClass(TermId id) const { return st_.IsClass(id); }
  TermList SuperClasses(TermId id) const {
    return st_.Related(RdfStatements::Relation::kSubClassOf, id);
  }

  // The local name of `id` and the library name of its namespace, as
  // NameNamespaces found them.
  std::string LocalName(TermId id) const { return std::string(Iri(id).substr(localStart_[id])); }
  const std::string& LibraryName(TermId id) const { return *libraryOf_[id]; }

  // Names every namespace: by the first non-empty prefix the document
  // declares for it; an ontology's own namespace (its IRI, or that IRI with
  // '#' or '/', or its vann:preferredNamespaceUri) by the ontology's
  // vann:preferredNamespacePrefix, else by the last path segment of the
  // ontology IRI; else by its customary prefix;
  // else by its own IRI. A name goes to one namespace only; a
  // namespace whose name is taken falls back to the next choice.
  bool NameNamespaces() {
    std::unordered_set<std::string> taken;
    const auto name = [this](std::string_view ns, std::string library) -> const std::string* {
      budget_.Charge(LoadBudget::kLibraryBytes + 3 * ns.size());
      const std::string* const named = &libraryNames_.emplace(ns, std::move(library)).first->second;
      return budget_.Exhausted() ? nullptr : named;
    };
    for (const auto& [prefix, ns] : st_.prefixes) {
      if (prefix.empty()) {
        if (model_.GetEmptyPrefixNamespace().empty()) model_.SetEmptyPrefixNamespace(ns);
        continue;
      }
      if (libraryNames_.count(ns) != 0 || taken.count(prefix) != 0) continue;
      if (name(ns, prefix) == nullptr) return false;
      taken.insert(prefix);
    }
    // The ontologies' own namespaces: namespace -> (preferred, segment).
    std::unordered_map<std::string, std::pair<std::string, std::string>> own;
    const auto ownNamespaces = [&](TermId ontology, const std::string& preferred) {
      const std::string iri = IriText(ontology);
      const std::string segment(LastSegment(iri));
      const auto add = [&](const std::string& ns) {
        budget_.Charge(LoadBudget::kLibraryBytes + 2 * ns.size());
        own.emplace(ns, std::make_pair(preferred, segment));
      };
      for (const auto& note : st_.preferredNamespaces) {
        if (note.subject == ontology) add(note.text);
      }
      if (!iri.empty() && (iri.back() == '#' || iri.back() == '/')) add(iri);
      add(iri + "#");
      add(iri + "/");
    };
    for (const auto& note : st_.preferredPrefixes) ownNamespaces(note.subject, note.text);
    for (const TermId ontology : st_.ontologies) ownNamespaces(ontology, std::string());
    if (budget_.Exhausted()) return false;
    std::string key;  // a namespace to look up in `own`, reused so as not to allocate per IRI
    libraryOf_.assign(st_.TermCount(), nullptr);
    localStart_.assign(st_.TermCount(), 0);
    for (TermId id = 0; id < st_.TermCount(); ++id) {
      const std::string_view ns = SplitIri(Iri(id)).ns;
      localStart_[id] = static_cast<uint32_t>(ns.size());
      const auto named = libraryNames_.find(ns);
      if (named != libraryNames_.end()) {
        libraryOf_[id] = &named->second;
        continue;
      }
      auto ontology = own.end();
      if (!own.empty()) {
        key.assign(ns);
        ontology = own.find(key);
      }
      std::string library;
      const auto choose = [&](std::string_view candidate) {
        if (!library.empty() || !IsLibraryName(candidate)) return;
        if (taken.count(std::string(candidate)) == 0) library = candidate;
      };
      if (ontology != own.end()) {
        choose(ontology->second.first);
        choose(ontology->second.second);
      }
      choose(WellKnownPrefix(ns));
      if (library.empty()) {
        // Names never contain ':', IRIs always do, so a namespace named by
        // its own IRI takes no prefix's name.
        library = ns;
      } else {
        taken.insert(library);
      }
      libraryOf_[id] = name(ns, std::move(library));
      if (libraryOf_[id] == nullptr) return false;
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
    const std::string& library = LibraryName(id);
    if (library == Iri(id).substr(0, localStart_[id])) return "<" + IriText(id) + ">";
    return library + "." + LocalName(id);
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
      QAX::Ontology::Info::MetaClassInfo info;
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
      QAX::Ontology::MetaClassLibrary* const library = model_.AddLibrary(info.scopeName);
      // Parents come first, handles are distinct IRIs and names within one
      // namespace are distinct, so the model accepts every class.
      meta_[cls] =
          model_.AddClass(library, std::move(info), parent == kNoTerm ? nullptr : meta_[parent]);
    }
    return true;
  }

  // The kind of the datatype that class `cls` derives from through its
  // parents (e.g. schema:PronounceableText from schema:Text); kNotMapped
  // when none. Remembered per class, so every chain is walked once.
  QAX::Ontology::Info::AttrKind DerivedDatatypeKind(TermId cls) {
    if (derivedKind_.empty())
      derivedKind_.assign(st_.TermCount(), QAX::Ontology::Info::KindValue(kNotWorkedOut));
    std::vector<TermId> walk;
    QAX::Ontology::Info::AttrKind kind = kNotMapped;
    for (TermId at = cls; at != kNoTerm; at = parent_[at]) {
      const QAX::Ontology::Info::AttrKind known = QAX::Ontology::Info::AttrKindOf(derivedKind_[at]);
      if (known != kNotWorkedOut) {
        kind = known;
        break;
      }
      walk.push_back(at);
      kind = MappedDatatypeKind(Iri(at));
      if (kind != kNotMapped) break;
    }
    for (const TermId visited : walk) derivedKind_[visited] = QAX::Ontology::Info::KindValue(kind);
    return kind;
  }

  // A kind of attribute, and the term whose local name is its type name
  // (kNoTerm for none).
  struct Kind {
    QAX::Ontology::Info::AttrKind kind;
    TermId type;
  };

  // The kind that the IRIs [begin, end) give as ranges: a mapped datatype
  // (the lowest kind among several) wins over an unmapped datatype, which
  // wins over a class of the model, which wins over an unknown IRI; text
  // and no type for none.
  Kind KindOfRanges(const TermId* begin, const TermId* end) {
    QAX::Ontology::Info::AttrKind best = kNotMapped;
    TermId bestRange = kNoTerm;
    TermId unmapped = kNoTerm;
    TermId cls = kNoTerm;
    TermId unknown = kNoTerm;
    for (const TermId* at = begin; at != end; ++at) {
      const TermId range = *at;
      const std::string_view iri = Iri(range);
      QAX::Ontology::Info::AttrKind kind = MappedDatatypeKind(iri);
      if (kind == kNotMapped && IsClass(range)) kind = DerivedDatatypeKind(range);
      if (kind != kNotMapped) {
        if (best == kNotMapped || kind < best) {
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
    if (best != kNotMapped) return {best, bestRange};
    if (unmapped != kNoTerm) return {QAX::Ontology::Info::AttrKind::kUnmapped, unmapped};
    if (cls != kNoTerm) return {QAX::Ontology::Info::AttrKind::kComplex, cls};
    if (unknown != kNoTerm) return {QAX::Ontology::Info::AttrKind::kUnmapped, unknown};
    return {QAX::Ontology::Info::AttrKind::kText, kNoTerm};
  }

  // The kind of a property from its own ranges, those that all hold and
  // those of which any one does alike, worked out once.
  Kind KindOf(TermId property) {
    if (kinds_.empty()) kinds_.assign(st_.TermCount(), Kind{kNotWorkedOut, kNoTerm});
    Kind& known = kinds_[property];
    if (known.kind == kNotWorkedOut) {
      const TermList all = st_.Related(RdfStatements::Relation::kRange, property);
      const TermList any = st_.Related(RdfStatements::Relation::kRangeAny, property);
      if (any.empty()) {
        known = KindOfRanges(all.begin(), all.end());
      } else if (all.empty()) {
        known = KindOfRanges(any.begin(), any.end());
      } else {
        std::vector<TermId> ranges(all.begin(), all.end());
        ranges.insert(ranges.end(), any.begin(), any.end());
        known = KindOfRanges(ranges.data(), ranges.data() + ranges.size());
      }
    }
    return known;
  }

  // One range term as the model keeps it, charged to the budget.
  QAX::Ontology::AttrRangeTerm RangeTerm(TermId term) {
    budget_.Charge(LoadBudget::kRangeTermBytes + Iri(term).size());
    return QAX::Ontology::AttrRangeTerm{
        IriText(term), QAX::Ontology::Info::KindValue(KindOfRanges(&term, &term + 1).kind)};
  }

  std::vector<QAX::Ontology::AttrValue> EnumerationValues(uint32_t enumeration) {
    std::vector<QAX::Ontology::AttrValue> values = st_.enumerations[enumeration].values;
    budget_.Charge(LoadBudget::kRangeTermBytes * values.size());
    return values;
  }

  // The range record of a property's attribute, shared by every attribute
  // whose range says the same: null when the vocabulary gives it none.
  std::shared_ptr<const QAX::Ontology::AttrRange> RangeOf(TermId property) {
    return SharedRange(st_.Related(RdfStatements::Relation::kRange, property),
                       st_.Related(RdfStatements::Relation::kRangeAny, property),
                       EnumerationOf(property));
  }

  // The range record of an attribute that restrictions alone give: their
  // fillers all hold, or else the property's own ranges do; their
  // enumeration, else the property's.
  std::shared_ptr<const QAX::Ontology::AttrRange> RestrictedRange(
      TermId property, const std::vector<TermId>& fillers, uint32_t enumeration) {
    if (enumeration == RdfStatements::kNoEnumeration) enumeration = EnumerationOf(property);
    if (fillers.empty()) {
      return SharedRange(st_.Related(RdfStatements::Relation::kRange, property),
                         st_.Related(RdfStatements::Relation::kRangeAny, property), enumeration);
    }
    return SharedRange(TermList(fillers.data(), fillers.data() + fillers.size()),
                       TermList(nullptr, nullptr), enumeration);
  }

  uint32_t EnumerationOf(TermId property) const {
    const auto found = enumerationOf_.find(property);
    return found == enumerationOf_.end() ? RdfStatements::kNoEnumeration : found->second;
  }

  // The record of the terms `all` and `any` and the enumeration: made once
  // per distinct content, since most properties of a vocabulary share a few
  // ranges (xsd:string, a handful of classes); null when all are empty.
  std::shared_ptr<const QAX::Ontology::AttrRange> SharedRange(TermList all, TermList any,
                                                              uint32_t enumeration) {
    if (all.empty() && any.empty() && enumeration == RdfStatements::kNoEnumeration) return nullptr;
    std::string key;
    const auto add = [&key](uint32_t id) {
      key.append(reinterpret_cast<const char*>(&id), sizeof(id));
    };
    for (const TermId term : all) add(term);
    add(kNoTerm);
    for (const TermId term : any) add(term);
    add(kNoTerm);
    add(enumeration);
    const auto [kept, added] = sharedRanges_.emplace(std::move(key), nullptr);
    if (!added) return kept->second;
    budget_.Charge(LoadBudget::kRangeBytes + kept->first.size());
    QAX::Ontology::AttrRange range;
    range.allOf.reserve(static_cast<std::size_t>(all.end() - all.begin()));
    range.anyOf.reserve(static_cast<std::size_t>(any.end() - any.begin()));
    for (const TermId term : all) range.allOf.push_back(RangeTerm(term));
    for (const TermId term : any) range.anyOf.push_back(RangeTerm(term));
    if (enumeration != RdfStatements::kNoEnumeration) range.oneOf = EnumerationValues(enumeration);
    kept->second = std::make_shared<const QAX::Ontology::AttrRange>(std::move(range));
    return kept->second;
  }

  // The attribute record of `property` with `kind`.
  QAX::Ontology::Info::MetaAttrInfo AttributeInfo(TermId property, Kind kind) const {
    return QAX::Ontology::Info::MetaAttrInfo{
        LocalName(property), LibraryName(property), QAX::Ontology::Info::KindValue(kind.kind),
        kind.type == kNoTerm ? std::string() : LocalName(kind.type)};
  }

  // One attribute a class gets: from a domain, from restrictions, or both
  // (the domain's kind, the restrictions' counts). What one costs while
  // attributes are gathered, the tables that find it included.
  static constexpr std::size_t kPlannedBytes = 128;
  struct Planned {
    TermId property;
    bool fromDomain;
    std::vector<TermId> fillers;  // the restrictions' named fillers, no repeats
    QAX::Ontology::MetaAttr::Cardinality cardinality;
    uint32_t enumeration = RdfStatements::kNoEnumeration;  // the first enumeration filler
  };

  // The restrictions on each class gathered by property, in the order of
  // the classes; several on one property give one entry, with the tightest
  // counts.
  std::unordered_map<TermId, std::vector<Planned>> RestrictionsByClass() {
    std::unordered_map<TermId, std::vector<Planned>> byClass;
    std::unordered_map<uint64_t, std::size_t> at;  // (class, property) -> index in its list
    for (const RdfStatements::Restriction& r : st_.restrictions) {
      if (!IsClass(r.cls)) continue;
      std::vector<Planned>& planned = byClass[r.cls];
      const auto [found, added] = at.emplace(PairKey(r.cls, r.property), planned.size());
      if (added) {
        budget_.Charge(kPlannedBytes);
        planned.push_back(Planned{r.property, false, {}, QAX::Ontology::MetaAttr::Cardinality()});
      }
      Planned& entry = planned[found->second];
      if (entry.enumeration == RdfStatements::kNoEnumeration) entry.enumeration = r.enumeration;
      entry.cardinality.min = std::max(entry.cardinality.min, r.min);
      entry.cardinality.max = std::min(entry.cardinality.max, r.max);
      if (r.filler != kNoTerm &&
          std::find(entry.fillers.begin(), entry.fillers.end(), r.filler) == entry.fillers.end()) {
        entry.fillers.push_back(r.filler);
      }
    }
    return byClass;
  }

  // True when a class above `cls` already has `property`, from a domain or
  // a restriction. Walks up the parents, spending the shared steps; once
  // they are spent it answers false (the attribute is repeated lower down)
  // and warns once.
  bool HeldAbove(TermId cls, TermId property) {
    for (TermId at = parent_[cls]; at != kNoTerm; at = parent_[at]) {
      if (stepsLeft_ == 0) {
        if (!stepsWarned_) {
          stepsWarned_ = true;
          warnings_.push_back(sourceName_ +
                              ": more parent classes to look through than the document's size "
                              "allows; some restriction attributes may repeat a parent's");
        }
        return false;
      }
      --stepsLeft_;
      if (held_.count(PairKey(at, property)) != 0) return true;
    }
    return false;
  }

  bool AddAttributes() {
    // The properties whose domain each class is, in the order of the
    // properties: those of class c are byClass[firstOf[c]] to
    // byClass[firstOf[c + 1]] (a counting sort by class).
    std::vector<uint32_t> firstOf(st_.TermCount() + 1, 0);
    std::size_t pairs = 0;
    for (const TermId property : st_.Properties()) {
      for (const TermId domain : st_.Related(RdfStatements::Relation::kDomain, property)) {
        if (!IsClass(domain)) continue;
        // The attribute is charged here, before the table that gathers them.
        if (!budget_.Charge(LoadBudget::kAttributeBytes)) return false;
        ++firstOf[domain + 1];
        ++pairs;
      }
    }
    for (std::size_t c = 1; c < firstOf.size(); ++c) firstOf[c] += firstOf[c - 1];
    std::vector<TermId> byClass(pairs);
    {
      std::vector<uint32_t> next(firstOf.begin(), firstOf.end() - 1);
      for (const TermId property : st_.Properties()) {
        for (const TermId domain : st_.Related(RdfStatements::Relation::kDomain, property)) {
          if (IsClass(domain)) byClass[next[domain]++] = property;
        }
      }
    }
    const auto domainsOf = [&](TermId cls) {
      return TermList(byClass.data() + firstOf[cls], byClass.data() + firstOf[cls + 1]);
    };
    std::unordered_map<TermId, std::vector<Planned>> restricted = RestrictionsByClass();
    if (budget_.Exhausted()) return false;
    std::vector<bool> restrictedProperty;
    if (!restricted.empty()) {
      // Only a vocabulary with restrictions pays for the table of who has what.
      restrictedProperty.assign(st_.TermCount(), false);
      for (const RdfStatements::Restriction& r : st_.restrictions) {
        restrictedProperty[r.property] = true;
      }
      for (const TermId cls : st_.Classes()) {
        for (const TermId property : domainsOf(cls)) held_.insert(PairKey(cls, property));
      }
      if (!budget_.Charge(LoadBudget::kPairBytes * 2 * held_.size())) return false;
      stepsLeft_ = kListStepsBase + kListStepsPerStatement * st_.statementCount;
    }
    std::vector<Planned> planned;
    for (const TermId cls : order_) {
      planned.clear();
      for (const TermId property : domainsOf(cls)) {
        planned.push_back(Planned{property, true, {}, QAX::Ontology::MetaAttr::Cardinality()});
      }
      const auto restrictions = restricted.find(cls);
      if (restrictions != restricted.end()) {
        std::unordered_map<TermId, std::size_t> fromDomain;  // property -> place in `planned`
        for (std::size_t i = 0; i < planned.size(); ++i) fromDomain.emplace(planned[i].property, i);
        for (Planned& entry : restrictions->second) {
          const auto own = fromDomain.find(entry.property);
          if (own != fromDomain.end()) {
            // The domain's attribute stands, with the restrictions' counts.
            planned[own->second].cardinality = entry.cardinality;
          } else if (!HeldAbove(cls, entry.property)) {
            if (!budget_.Charge(LoadBudget::kAttributeBytes + LoadBudget::kPairBytes * 2)) {
              return false;
            }
            held_.insert(PairKey(cls, entry.property));
            planned.push_back(std::move(entry));
          }
        }
      }
      if (planned.empty() || meta_[cls] == nullptr) continue;
      std::sort(planned.begin(), planned.end(), [this](const Planned& a, const Planned& b) {
        return Iri(a.property) < Iri(b.property);
      });
      meta_[cls]->ReserveAttributes(planned.size());
      for (const Planned& entry : planned) {
        const Kind kind =
            entry.fromDomain || entry.fillers.empty()
                ? KindOf(entry.property)
                : KindOfRanges(entry.fillers.data(), entry.fillers.data() + entry.fillers.size());
        QAX::Ontology::Info::MetaAttrInfo info = AttributeInfo(entry.property, kind);
        if (!budget_.Charge(info.name.size() + info.scopeName.size() + 2 * info.typeName.size())) {
          return false;
        }
        std::shared_ptr<const QAX::Ontology::AttrRange> range =
            entry.fromDomain ? RangeOf(entry.property)
                             : RestrictedRange(entry.property, entry.fillers, entry.enumeration);
        meta_[cls]->AddAttribute(std::move(info), entry.cardinality, std::move(range));
        if (budget_.Exhausted()) return false;
      }
    }
    return AddPropertiesWithoutClass(restrictedProperty);
  }

  // Keeps the properties with no domain and no restriction in the model and
  // warns about them, naming a few.
  bool AddPropertiesWithoutClass(const std::vector<bool>& restrictedProperty) {
    const auto withoutClass = [&](TermId property) {
      return st_.Related(RdfStatements::Relation::kDomain, property).empty() &&
             (restrictedProperty.empty() || !restrictedProperty[property]);
    };
    // Counted first, so that the model's list and the warning are each
    // allocated once: on a small vocabulary they are much of what the load
    // holds at its peak.
    constexpr std::size_t kWarningWords = 128;
    std::size_t count = 0;
    std::size_t examplesBytes = 0;
    for (const TermId property : st_.Properties()) {
      if (!withoutClass(property)) continue;
      if (count++ < kExamplesShown) examplesBytes += Iri(property).size() + 4;
    }
    if (count == 0) return true;
    std::string warning;
    warning.reserve(sourceName_.size() + kWarningWords + examplesBytes);
    warning.append(sourceName_).append(": ");
    warning += count == 1 ? std::string(
                                "1 property has no domain and no restriction, so no "
                                "class has it as an attribute (")
                          : std::to_string(count) +
                                " properties have no domain and no restriction, so no class "
                                "has them as attributes (";
    if (count > kExamplesShown) warning += "for example ";
    std::size_t shown = 0;
    for (const TermId property : st_.Properties()) {
      if (!withoutClass(property)) continue;
      QAX::Ontology::Info::MetaAttrInfo info = AttributeInfo(property, KindOf(property));
      if (!budget_.Charge(LoadBudget::kAttributeBytes + info.name.size() + info.scopeName.size() +
                          info.typeName.size())) {
        return false;
      }
      model_.AddPropertyWithoutClass(std::move(info), count);
      if (shown++ < kExamplesShown) {
        warning.append(shown == 1 ? "<" : ", <").append(Iri(property)).append(">");
      }
    }
    warning += ")";
    warnings_.push_back(std::move(warning));
    return true;
  }

  const RdfStatements& st_;
  const std::string& sourceName_;
  QAX::Ontology::OntologyModel& model_;
  std::vector<std::string>& warnings_;
  LoadBudget& budget_;

  // Namespace -> library name; the namespaces are views of the statements'
  // IRIs and prefixes, which outlive the builder, so looking one up copies
  // nothing.
  std::unordered_map<std::string_view, std::string> libraryNames_;
  std::vector<const std::string*> libraryOf_;    // by term: its namespace's library name
  std::vector<uint32_t> localStart_;             // by term: where its local name starts
  std::vector<TermId> parent_;                   // by term; kNoTerm for none
  std::vector<TermId> order_;                    // classes, parents first
  std::vector<QAX::Ontology::MetaClass*> meta_;  // by term
  // What derivedKind_ and kinds_ hold for a term whose kind is not worked
  // out yet: an unknown kind, unequal to kNotMapped and to every kind a term
  // can get.
  static constexpr QAX::Ontology::Info::AttrKind kNotWorkedOut =
      QAX::Ontology::Info::AttrKindOf(-2);
  // By term, as numbers (KindValue): the shared library then instantiates,
  // and exports, no vector type it did not have before.
  std::vector<int32_t> derivedKind_;
  std::vector<Kind> kinds_;            // by property; kNotWorkedOut until worked out
  std::unordered_set<uint64_t> held_;  // (class, property) pairs given as attributes
  // Range records by their content (SharedRange), and by property its first
  // enumeration range, an index in the statements' enumerations.
  std::unordered_map<std::string, std::shared_ptr<const QAX::Ontology::AttrRange>> sharedRanges_;
  std::unordered_map<TermId, uint32_t> enumerationOf_;
  std::size_t stepsLeft_ = 0;  // for walks up the parents
  bool stepsWarned_ = false;
};

}  // namespace

bool BuildModel(const RdfStatements& statements, const std::string& sourceName,
                QAX::Ontology::OntologyModel& model, std::vector<std::string>& warnings,
                LoadBudget& budget) {
  return Builder(statements, sourceName, model, warnings, budget).Run();
}

}  // namespace qaxoi::rdf
