#include "host/qax/shacl/Graph.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

#include "host/qax/model/NameIndex.h"
#include "host/qax/rdf/TextArena.h"
#include "host/qax/rdf/VocabularyTerms.h"

namespace qaxoi::shacl {

namespace {

// A term's identity: kind, text, datatype and the language tag in lower
// case (RDF compares tags without regard to case).
struct TermKey {
  TermKind kind;
  std::string_view text;
  TermId datatype;
  std::string_view language;

  bool operator==(const TermKey& other) const {
    return kind == other.kind && datatype == other.datatype && text == other.text &&
           language == other.language;
  }
};

std::uint32_t HashOf(const TermKey& key) {
  constexpr std::uint32_t kMix = 0x9E3779B9u;
  std::uint32_t hash = QAX::Util::NameIndex::Hash(key.text);
  hash = (hash ^ static_cast<std::uint32_t>(key.kind)) * kMix;
  if (key.kind == TermKind::kLiteral) {
    hash = (hash ^ key.datatype) * kMix;
    hash = (hash ^ QAX::Util::NameIndex::Hash(key.language)) * kMix;
  }
  return hash;
}

bool SubjectOrder(const Triple& a, const Triple& b) {
  return std::tie(a.subject, a.predicate, a.object) < std::tie(b.subject, b.predicate, b.object);
}
bool PredicateOrder(const Triple& a, const Triple& b) {
  return std::tie(a.predicate, a.object, a.subject) < std::tie(b.predicate, b.object, b.subject);
}
bool SameTriple(const Triple& a, const Triple& b) {
  return a.subject == b.subject && a.predicate == b.predicate && a.object == b.object;
}

// Where each term's run starts in `triples`, sorted by `field`: entry t is
// the first triple whose field is t or more, entry `terms` the end.
template <typename Field>
std::vector<std::uint32_t> RunStarts(const std::vector<Triple>& triples, std::size_t terms,
                                     Field field) {
  std::vector<std::uint32_t> starts(terms + 1, 0);
  for (const Triple& triple : triples) ++starts[field(triple) + 1];
  for (std::size_t t = 1; t <= terms; ++t) starts[t] += starts[t - 1];
  return starts;
}

TripleRange RangeOf(const std::vector<Triple>& triples, std::size_t first, std::size_t last) {
  return TripleRange{triples.data() + first, triples.data() + last};
}

}  // namespace

struct Graph::Store {
  struct Record {
    TermKey key;
    std::string_view language;  // as first written
  };
  // The intern table: open addressing, at most half full; a slot holds a
  // term's id plus one (0: empty) and its key's hash.
  struct Slot {
    std::uint32_t idPlusOne = 0;
    std::uint32_t hash = 0;
  };
  static constexpr std::size_t kInitialSlots = 64;

  rdf::TextArena texts;
  std::vector<Record> terms;
  std::vector<Slot> slots;
  std::vector<Triple> bySubject;    // sorted and unique once sealed
  std::vector<Triple> byPredicate;  // sealed only
  std::vector<std::uint32_t> subjectStarts;
  std::vector<std::uint32_t> predicateStarts;
  bool sealed = true;
  TermId xsdString = kNoTerm;
  TermId langString = kNoTerm;

  TermId Find(const TermKey& key, std::uint32_t hash) const {
    if (slots.empty()) return kNoTerm;
    const std::size_t mask = slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      const Slot& slot = slots[at];
      if (slot.idPlusOne == 0) return kNoTerm;
      if (slot.hash == hash && terms[slot.idPlusOne - 1].key == key) return slot.idPlusOne - 1;
    }
  }

  static void Place(std::vector<Slot>& table, Slot slot) {
    const std::size_t mask = table.size() - 1;
    std::size_t at = slot.hash & mask;
    while (table[at].idPlusOne != 0) at = (at + 1) & mask;
    table[at] = slot;
  }

  // Indexes every term again, in a table for `count` terms.
  void Reindex(std::size_t count) {
    std::size_t size = kInitialSlots;
    while (size < 2 * count) size *= 2;
    std::vector<Slot> table(size);
    for (std::size_t id = 0; id < terms.size(); ++id) {
      Place(table, Slot{static_cast<std::uint32_t>(id + 1), HashOf(terms[id].key)});
    }
    slots.swap(table);
  }

  TermId Intern(TermKind kind, std::string_view text, TermId datatype, std::string_view language) {
    // Tags are compared in lower case; the tag as written is kept for view.
    std::string lower(language);
    for (char& c : lower) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    TermKey key{kind, text, datatype, lower};
    const std::uint32_t hash = HashOf(key);
    const TermId found = Find(key, hash);
    if (found != kNoTerm) return found;
    if (terms.size() >= kNoTerm - 1) throw std::bad_alloc();
    if (2 * (terms.size() + 1) > slots.size()) Reindex(terms.size() + 1);
    key.text = texts.Keep(text);
    key.language = texts.Keep(lower);
    const std::string_view written = lower == language ? key.language : texts.Keep(language);
    terms.push_back(Record{key, written});
    const auto id = static_cast<TermId>(terms.size() - 1);
    Place(slots, Slot{id + 1, hash});
    return id;
  }

  TermId Iri(std::string_view iri) { return Intern(TermKind::kIri, iri, kNoTerm, {}); }
};

Graph::Graph() : store_(std::make_unique<Store>()) {}
Graph::~Graph() = default;
Graph::Graph(Graph&&) noexcept = default;
Graph& Graph::operator=(Graph&&) noexcept = default;

TermId Graph::Iri(std::string_view iri) { return store_->Iri(iri); }

TermId Graph::Blank(std::string_view label) {
  return store_->Intern(TermKind::kBlank, label, kNoTerm, {});
}

TermId Graph::Literal(std::string_view text, std::string_view datatype, std::string_view language) {
  Store& store = *store_;
  TermId type = kNoTerm;
  if (!language.empty()) {
    if (store.langString == kNoTerm) store.langString = store.Iri(rdf::Iri::kRdfLangString);
    type = store.langString;
  } else if (datatype.empty() || datatype == rdf::Iri::kXsdString) {
    if (store.xsdString == kNoTerm) store.xsdString = store.Iri(rdf::Iri::kXsdString);
    type = store.xsdString;
  } else {
    type = store.Iri(datatype);
  }
  return store.Intern(TermKind::kLiteral, text, type, language);
}

TermId Graph::FindIri(std::string_view iri) const {
  const TermKey key{TermKind::kIri, iri, kNoTerm, {}};
  return store_->Find(key, HashOf(key));
}

TermView Graph::Term(TermId term) const {
  const Store::Record& record = store_->terms[term];
  TermView view;
  view.kind = record.key.kind;
  view.text = record.key.text;
  if (record.key.kind == TermKind::kLiteral) {
    view.datatype = store_->terms[record.key.datatype].key.text;
    view.language = record.language;
  }
  return view;
}

std::size_t Graph::TermCount() const { return store_->terms.size(); }

void Graph::Add(TermId subject, TermId predicate, TermId object) {
  store_->bySubject.push_back(Triple{subject, predicate, object});
  store_->sealed = false;
}

void Graph::Seal() {
  Store& store = *store_;
  if (store.sealed) return;
  std::sort(store.bySubject.begin(), store.bySubject.end(), SubjectOrder);
  store.bySubject.erase(std::unique(store.bySubject.begin(), store.bySubject.end(), SameTriple),
                        store.bySubject.end());
  std::vector<Triple> byPredicate(store.bySubject);
  std::sort(byPredicate.begin(), byPredicate.end(), PredicateOrder);
  auto subjectStarts = RunStarts(store.bySubject, store.terms.size(),
                                 [](const Triple& triple) { return triple.subject; });
  auto predicateStarts = RunStarts(byPredicate, store.terms.size(),
                                   [](const Triple& triple) { return triple.predicate; });
  store.byPredicate.swap(byPredicate);
  store.subjectStarts.swap(subjectStarts);
  store.predicateStarts.swap(predicateStarts);
  store.sealed = true;
}

std::size_t Graph::HeldTriples() const { return store_->bySubject.size(); }

void Graph::Truncate(std::size_t terms, std::size_t triples) {
  Store& store = *store_;
  if (triples < store.bySubject.size()) store.bySubject.resize(triples);
  if (terms < store.terms.size()) {
    store.terms.resize(terms);
    if (store.xsdString != kNoTerm && store.xsdString >= terms) store.xsdString = kNoTerm;
    if (store.langString != kNoTerm && store.langString >= terms) store.langString = kNoTerm;
    store.Reindex(terms);
  }
  store.sealed = false;
  Seal();
}

bool Graph::Sealed() const { return store_->sealed; }

std::size_t Graph::TripleCount() const { return store_->sealed ? store_->bySubject.size() : 0; }

TripleRange Graph::About(TermId subject) const {
  const Store& store = *store_;
  if (!store.sealed || subject >= store.terms.size() || store.subjectStarts.empty()) return {};
  return RangeOf(store.bySubject, store.subjectStarts[subject], store.subjectStarts[subject + 1]);
}

TripleRange Graph::WithPredicate(TermId predicate) const {
  const Store& store = *store_;
  if (!store.sealed || predicate >= store.terms.size() || store.predicateStarts.empty()) {
    return {};
  }
  return RangeOf(store.byPredicate, store.predicateStarts[predicate],
                 store.predicateStarts[predicate + 1]);
}

TripleRange Graph::Objects(TermId subject, TermId predicate) const {
  const TripleRange about = About(subject);
  const auto [first, last] =
      std::equal_range(about.first, about.last, Triple{subject, predicate, 0},
                       [](const Triple& a, const Triple& b) { return a.predicate < b.predicate; });
  return TripleRange{first, last};
}

TripleRange Graph::Subjects(TermId predicate, TermId object) const {
  const TripleRange with = WithPredicate(predicate);
  const auto [first, last] =
      std::equal_range(with.first, with.last, Triple{0, predicate, object},
                       [](const Triple& a, const Triple& b) { return a.object < b.object; });
  return TripleRange{first, last};
}

TripleRange Graph::All() const {
  if (!store_->sealed) return {};
  return RangeOf(store_->bySubject, 0, store_->bySubject.size());
}

bool Graph::Has(TermId subject, TermId predicate, TermId object) const {
  const TripleRange objects = Objects(subject, predicate);
  return std::binary_search(objects.first, objects.last, Triple{subject, predicate, object},
                            [](const Triple& a, const Triple& b) { return a.object < b.object; });
}

}  // namespace qaxoi::shacl
