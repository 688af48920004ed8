#include "host/qax/rdf/VocabularyMapper.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <memory>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "host/qax/model/AttrValueType.h"
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

// Words that many ontologies end their IRIs with, which say nothing about
// the ontology.
constexpr std::string_view kSaysNothing[] = {"ns",         "ontology", "ontologies", "vocab",
                                             "vocabulary", "voc",      "core",       "terms",
                                             "schema",     "owl",      "rdf"};

bool IsFillerWord(std::string_view segment) {
  return std::any_of(std::begin(kSaysNothing), std::end(kSaysNothing), [&](std::string_view word) {
    return word.size() == segment.size() &&
           std::equal(word.begin(), word.end(), segment.begin(), [](char a, char b) {
             return a == std::tolower(static_cast<unsigned char>(b));
           });
  });
}

// The last path segment of an ontology IRI without its extension:
// "https://a.org/ont/pizza.owl#" gives "pizza". Empty for a segment that
// says nothing about the ontology: a version ("v1", "0.1") or a word that
// many ontologies end their IRI with ("ns", "ontology", "core", ...).
std::string_view LastSegment(std::string_view iri) {
  while (!iri.empty() && (iri.back() == '#' || iri.back() == '/')) iri.remove_suffix(1);
  const std::size_t slash = iri.rfind('/');
  if (slash != std::string_view::npos) iri.remove_prefix(slash + 1);
  const std::size_t dot = iri.rfind('.');
  if (dot != std::string_view::npos) iri = iri.substr(0, dot);
  const bool version = iri.size() > 1 && (iri[0] == 'v' || iri[0] == 'V') &&
                       std::all_of(iri.begin() + 1, iri.end(), [](char c) {
                         return std::isdigit(static_cast<unsigned char>(c));
                       });
  if (version || IsFillerWord(iri)) return std::string_view();
  return iri;
}

// True for a path segment that is a version: digits, with '.', '-' or '_'
// between them, after an optional 'v' ("v1", "0.1", "2023-01-19").
bool IsVersion(std::string_view segment) {
  if (!segment.empty() && (segment[0] == 'v' || segment[0] == 'V')) segment.remove_prefix(1);
  if (segment.empty() || !std::isdigit(static_cast<unsigned char>(segment[0]))) return false;
  return std::all_of(segment.begin(), segment.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
  });
}

// `segment` without an extension that names an RDF syntax or web page
// (".owl", ".ttl", ".rdf", ...): "pizza.owl" gives "pizza".
std::string_view WithoutExtension(std::string_view segment) {
  static constexpr std::string_view kExtensions[] = {"owl",  "ttl",  "rdf",  "rdfs", "nt",
                                                     "nq",   "n3",   "trig", "xml",  "jsonld",
                                                     "json", "html", "htm"};
  const std::size_t dot = segment.rfind('.');
  if (dot == std::string_view::npos) return segment;
  std::string extension(segment.substr(dot + 1));
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return std::find(std::begin(kExtensions), std::end(kExtensions), extension) !=
                 std::end(kExtensions)
             ? segment.substr(0, dot)
             : segment;
}

// A library name made from the namespace IRI itself: its last path segment
// that says something (not a version, not a filler word), without an
// extension, walking up from the end ("http://example.org/zoo#" gives
// "zoo", "http://e.org/people/v2/" gives "people"). Never the host name,
// nothing for an IRI without a path ("urn:isbn:") and nothing when the
// segment found is no valid name. Linear in the IRI's length.
std::string_view NameFromNamespace(std::string_view ns) {
  const std::size_t scheme = ns.find("://");
  if (scheme == std::string_view::npos) return std::string_view();
  std::string_view path = ns.substr(scheme + 3);
  const std::size_t host = path.find('/');
  if (host == std::string_view::npos) return std::string_view();
  path.remove_prefix(host);
  path = path.substr(0, path.find('?'));
  for (;;) {
    while (!path.empty() && (path.back() == '/' || path.back() == '#')) path.remove_suffix(1);
    if (path.empty()) return std::string_view();
    const std::size_t cut = path.find_last_of("/#");
    const std::string_view segment = WithoutExtension(path.substr(cut + 1));
    path = path.substr(0, cut);
    if (segment.empty() || IsVersion(segment) || IsFillerWord(segment)) continue;
    return IsLibraryName(segment) ? segment : std::string_view();
  }
}

// The subject of a namespace note, or a subject itself, for searches among
// notes sorted by subject.
TermId SubjectOf(const RdfStatements::NamespaceNote* note) { return note->subject; }
TermId SubjectOf(TermId subject) { return subject; }

// The choices of a library name, in their order (Builder::NameNamespaces).
enum NameChoice : int {
  kByPreferredPrefix = 1,
  kByOntologySegment,
  kByCustomaryPrefix,
  kByNamespaceIri,
};

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
      const TermId property = st_.enumerations[e].property;
      if (property == kNoTerm) continue;
      const auto [kept, added] = enumerationOf_.emplace(property, e);
      if (!added && EnumerationBefore(e, kept->second)) kept->second = e;
    }
    if (!NameNamespaces()) return false;
    ChooseParents();
    FollowSuperclasses();
    if (!AddClasses() || !AddAttributes() || !AddSuccessors()) return false;
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

  // Names the namespaces that need a name (those of classes, of
  // properties and of superclasses), from the graph alone. The candidates,
  // in the order of choice: 1. for an ontology's own namespace (its IRI X
  // when X ends in '#' or '/', X#, X/, its vann:preferredNamespaceUri), the
  // ontology's vann:preferredNamespacePrefix; 2. for such a namespace, the
  // last path segment of the ontology IRI; 3. the namespace's customary
  // prefix; 4. a name made from the namespace IRI (NameFromNamespace). All
  // candidates are sorted by (choice, namespace IRI, name) in byte order and
  // taken in turn: a namespace takes the first valid name that no other has
  // taken; a namespace left without one is named by its IRI (5). Costs
  // O(c log c) for c candidates, at most 4 per namespace plus 3 per
  // ontology's preferred prefix and namespace.
  bool NameNamespaces() {
    const std::size_t count = st_.TermCount();
    localStart_.assign(count, 0);
    for (TermId id = 0; id < count; ++id) {
      localStart_[id] = static_cast<uint32_t>(SplitIri(Iri(id)).ns.size());
    }
    // The namespaces that need a name, each once, as views of the IRIs.
    std::unordered_map<std::string_view, std::size_t> needed;  // namespace -> its place
    std::vector<std::string_view> namespaces;
    const auto need = [&](TermId id) {
      const std::string_view ns = Iri(id).substr(0, localStart_[id]);
      if (needed.emplace(ns, namespaces.size()).second) namespaces.push_back(ns);
    };
    for (const TermId cls : st_.Classes()) {
      need(cls);
      for (const TermId super : SuperClasses(cls)) need(super);
    }
    for (const TermId property : st_.Properties()) need(property);
    if (!budget_.Charge((LoadBudget::kLibraryBytes + sizeof(std::string_view)) * namespaces.size()))
      return false;

    struct Candidate {
      int choice;
      std::size_t ns;  // place in `namespaces`
      std::string name;
    };
    std::vector<Candidate> candidates;
    const auto offer = [&](int choice, std::string_view ns, std::string_view name) {
      const auto found = needed.find(ns);
      if (found == needed.end() || !IsLibraryName(name)) return;
      budget_.Charge(sizeof(Candidate) + name.size());
      candidates.push_back(Candidate{choice, found->second, std::string(name)});
    };
    // The ontologies' own namespaces, with their preferred prefixes and
    // their IRIs' last segments; the preferred namespaces sorted by
    // subject, so that each ontology finds its own in O(log n).
    std::vector<const RdfStatements::NamespaceNote*> preferredNamespaces;
    preferredNamespaces.reserve(st_.preferredNamespaces.size());
    for (const auto& note : st_.preferredNamespaces) preferredNamespaces.push_back(&note);
    std::sort(preferredNamespaces.begin(), preferredNamespaces.end(),
              [](const auto* a, const auto* b) { return a->subject < b->subject; });
    const auto ownNamespaces = [&](TermId ontology, const std::string* preferred) {
      const std::string iri = IriText(ontology);
      const std::string_view segment = LastSegment(iri);
      const auto offerFor = [&](std::string_view ns) {
        if (preferred != nullptr) offer(kByPreferredPrefix, ns, *preferred);
        offer(kByOntologySegment, ns, segment);
      };
      const auto notes = std::equal_range(
          preferredNamespaces.begin(), preferredNamespaces.end(), ontology,
          [](const auto& a, const auto& b) { return SubjectOf(a) < SubjectOf(b); });
      for (auto note = notes.first; note != notes.second; ++note) offerFor((*note)->text);
      if (!iri.empty() && (iri.back() == '#' || iri.back() == '/')) offerFor(iri);
      offerFor(iri + "#");
      offerFor(iri + "/");
    };
    for (const auto& note : st_.preferredPrefixes) ownNamespaces(note.subject, &note.text);
    for (const TermId ontology : st_.ontologies) ownNamespaces(ontology, nullptr);
    for (const std::string_view ns : namespaces) {
      offer(kByCustomaryPrefix, ns, WellKnownPrefix(ns));
      offer(kByNamespaceIri, ns, NameFromNamespace(ns));
    }
    if (budget_.Exhausted()) return false;
    std::sort(candidates.begin(), candidates.end(),
              [&namespaces](const Candidate& a, const Candidate& b) {
                if (a.choice != b.choice) return a.choice < b.choice;
                if (a.ns != b.ns) return namespaces[a.ns] < namespaces[b.ns];
                return a.name < b.name;
              });
    std::vector<const std::string*> nameOf(namespaces.size(), nullptr);
    for (Candidate& candidate : candidates) {
      if (nameOf[candidate.ns] != nullptr) continue;
      const auto [named, added] = libraryNames_.emplace(std::move(candidate.name), candidate.ns);
      if (added) nameOf[candidate.ns] = &named->first;
    }
    std::vector<Candidate>().swap(candidates);
    // Names never contain ':', IRIs always do, so a namespace named by its
    // own IRI takes no other namespace's name.
    for (std::size_t at = 0; at < namespaces.size(); ++at) {
      if (nameOf[at] != nullptr) {
        model_.SetNamespace(*nameOf[at], std::string(namespaces[at]));
        continue;
      }
      nameOf[at] = &libraryNames_.emplace(std::string(namespaces[at]), at).first->first;
    }
    libraryOf_.assign(count, nullptr);
    for (TermId id = 0; id < count; ++id) {
      const auto found = needed.find(Iri(id).substr(0, localStart_[id]));
      if (found != needed.end()) libraryOf_[id] = nameOf[found->second];
    }
    model_.SetEmptyPrefixNamespace(st_.EmptyPrefixNamespace());
    return !budget_.Exhausted();
  }

  // The candidates for `cls`'s parent, in the order of choice, into `out`:
  // its named superclasses that are classes of the model, other than
  // itself, those of its own namespace first, then the others, each part in
  // IRI order. The other superclasses are followed in the same order.
  void Candidates(TermId cls, std::vector<TermId>& out) const {
    out.clear();
    const std::string_view ns = Iri(cls).substr(0, localStart_[cls]);
    for (const TermId super : SuperClasses(cls)) {
      if (super != cls && IsClass(super)) out.push_back(super);
    }
    // Related() answers IRI order; a stable partition keeps it within
    // each part.
    std::stable_partition(out.begin(), out.end(), [&](TermId super) {
      return Iri(super).substr(0, localStart_[super]) == ns;
    });
  }

  // Each class's parent: among its candidates (its named superclasses that
  // are classes of the model, other than itself: those rdfs:subClassOf
  // names and the named classes of intersections alike), those in the
  // class's own namespace first, then by IRI in byte order; the first that
  // closes no loop of parents. Classes are decided in IRI order: a
  // candidate closes a loop when the class is already an ancestor of it
  // through the parents decided so far. A class all of whose candidates
  // would close a loop is left a root, with a warning naming it and its
  // first candidate. Loops are told by a union-find of the trees decided so
  // far (a class is the root of its tree while it is undecided), so the
  // whole costs O((c + s) α(c)) for c classes and s superclass relations,
  // whatever the shape of the hierarchy: no chain is walked per class.
  // Then orders the classes parents first (order_), children in IRI order.
  void ChooseParents() {
    const std::size_t count = st_.TermCount();
    const std::size_t classes = st_.Classes().size();
    // Held while choosing: a place per term; per class its union-find link
    // and size, its first child, its place among the children and on the
    // stack.
    constexpr std::size_t kTablesPerClass = 5;
    const std::size_t held =
        sizeof(uint32_t) * count + kTablesPerClass * sizeof(uint32_t) * classes;
    budget_.Charge(held);
    parent_.assign(count, kNoTerm);
    // Classes are numbered by their place in st_.Classes() (IRI order).
    std::vector<uint32_t> place(count, UINT32_MAX);
    for (uint32_t at = 0; at < classes; ++at) place[st_.Classes()[at]] = at;
    std::vector<uint32_t> set(classes);  // union-find: a class's link towards its set's root
    std::vector<uint32_t> size(classes, 1);
    for (uint32_t at = 0; at < classes; ++at) set[at] = at;
    const auto find = [&set](uint32_t at) {
      uint32_t root = at;
      while (set[root] != root) root = set[root];
      while (set[at] != root) {
        const uint32_t next = set[at];
        set[at] = root;
        at = next;
      }
      return root;
    };
    std::vector<TermId> candidates;
    for (const TermId cls : st_.Classes()) {
      Candidates(cls, candidates);
      if (candidates.empty()) continue;
      const uint32_t own = find(place[cls]);
      for (const TermId super : candidates) {
        const uint32_t theirs = find(place[super]);
        if (theirs == own) continue;  // the class is an ancestor of `super`
        parent_[cls] = super;
        // The class's tree goes under `super`'s: union by size.
        if (size[own] < size[theirs]) {
          set[own] = theirs;
          size[theirs] += size[own];
        } else {
          set[theirs] = own;
          size[own] += size[theirs];
        }
        break;
      }
      if (parent_[cls] == kNoTerm) {
        // One warning per class cut, charged: a document of many loops
        // pays for its warnings as for its classes.
        const TermId first = candidates.front();
        warnings_.push_back(sourceName_ + ": <" + IriText(cls) + "> rdfs:subClassOf <" +
                            IriText(first) + "> would close a loop of parents; <" + IriText(cls) +
                            "> is left without a parent");
        budget_.Charge(warnings_.back().size());
      }
    }
    // Parents first: each root, then its subtree, depth first, children in
    // IRI order (a counting sort of the children by parent).
    std::vector<uint32_t> firstChild(classes + 1, 0);
    for (const TermId cls : st_.Classes()) {
      if (parent_[cls] != kNoTerm) ++firstChild[place[parent_[cls]] + 1];
    }
    for (std::size_t at = 1; at <= classes; ++at) firstChild[at] += firstChild[at - 1];
    std::vector<TermId>& children = candidates;
    children.assign(firstChild.back(), kNoTerm);
    {
      std::vector<uint32_t>& next = set;
      next.assign(firstChild.begin(), firstChild.end() - 1);
      for (const TermId cls : st_.Classes()) {
        if (parent_[cls] != kNoTerm) children[next[place[parent_[cls]]]++] = cls;
      }
    }
    order_.reserve(classes);
    std::vector<TermId> stack;
    for (auto root = st_.Classes().rbegin(); root != st_.Classes().rend(); ++root) {
      if (parent_[*root] == kNoTerm) stack.push_back(*root);
    }
    while (!stack.empty()) {
      const TermId cls = stack.back();
      stack.pop_back();
      order_.push_back(cls);
      const uint32_t at = place[cls];
      for (uint32_t child = firstChild[at + 1]; child > firstChild[at]; --child) {
        stack.push_back(children[child - 1]);
      }
    }
    budget_.Release(held);
  }

  // Which superclass edges the walks follow, and the order in which the
  // classes' walks are formed (docs/vocabularies.md, "Every superclass").
  // The strongly connected components of the superclass graph among the
  // model's classes (Tarjan's algorithm, iterative: hierarchies may be
  // hundreds of thousands deep) tell the classes that are subclasses of
  // each other; an edge other than the parent's is followed only between
  // two components, so no walk goes round a loop. Those not followed are
  // counted in one warning. walkOrder_ lists the classes by component,
  // components in the order Tarjan's algorithm closes them (every
  // superclass's before its subclass's), and within one component in
  // order_ (parents first): every class after the classes its walk
  // follows. Also numbers the parent tree (treeAt_, treeEnd_), so that "is
  // A an ancestor of B" is two comparisons. O(c + s) time for c classes
  // and s superclass relations; three numbers per term kept, two more and
  // three per class while the components are found, charged.
  void FollowSuperclasses() {
    const std::size_t count = st_.TermCount();
    constexpr uint32_t kUnvisited = UINT32_MAX;
    constexpr uint32_t kPlaced = UINT32_MAX - 1;  // index of a class whose component is known
    constexpr std::size_t kFramePerClass = 3;     // a call frame and a place on the stack
    const std::size_t held = sizeof(uint32_t) * (count + kFramePerClass * st_.Classes().size());
    budget_.Charge(sizeof(uint32_t) * count + held);
    // Tarjan's index and low link; a class's low link becomes its component
    // once that is known, and its index kPlaced.
    std::vector<uint32_t> index(count, kUnvisited);
    component_.assign(count, kUnvisited);
    std::vector<uint32_t>& low = component_;
    std::vector<TermId> stack;
    struct Frame {
      TermId cls;
      uint32_t edge;  // the next superclass of Related() to look at
    };
    std::vector<Frame> frames;
    uint32_t counter = 0;
    uint32_t components = 0;
    // The next superclass of frame's class that is a class of the model
    // (other than itself), advancing the frame; kNoTerm when none is left.
    const auto nextEdge = [this](Frame& frame) {
      const TermList supers = SuperClasses(frame.cls);
      const std::size_t edges = static_cast<std::size_t>(supers.end() - supers.begin());
      while (frame.edge < edges) {
        const TermId super = supers.begin()[frame.edge++];
        if (super != frame.cls && IsClass(super)) return super;
      }
      return kNoTerm;
    };
    const auto visit = [&](TermId cls) {
      index[cls] = low[cls] = counter++;
      stack.push_back(cls);
      frames.push_back(Frame{cls, 0});
    };
    for (const TermId start : st_.Classes()) {
      if (index[start] != kUnvisited) continue;
      visit(start);
      while (!frames.empty()) {
        Frame& frame = frames.back();
        const TermId cls = frame.cls;
        const TermId super = nextEdge(frame);
        if (super != kNoTerm) {
          if (index[super] == kUnvisited) {
            visit(super);
          } else if (index[super] != kPlaced) {  // still on the stack
            low[cls] = std::min(low[cls], index[super]);
          }
          continue;
        }
        frames.pop_back();
        if (!frames.empty()) low[frames.back().cls] = std::min(low[frames.back().cls], low[cls]);
        if (low[cls] != index[cls]) continue;
        TermId member = kNoTerm;
        do {
          member = stack.back();
          stack.pop_back();
          index[member] = kPlaced;
          component_[member] = components;
        } while (member != cls);
        ++components;
      }
    }
    std::vector<uint32_t>().swap(index);
    std::vector<TermId>().swap(stack);
    std::vector<Frame>().swap(frames);
    budget_.Release(held);

    // The parent tree's numbering: order_ is a preorder, so a class's
    // subtree is the run of order_ from its place to its place plus its
    // size.
    constexpr std::size_t kTreeTables = 2;
    budget_.Charge(sizeof(uint32_t) * kTreeTables * count);
    treeAt_.assign(count, 0);
    treeEnd_.assign(count, 0);
    for (uint32_t at = 0; at < order_.size(); ++at) {
      treeAt_[order_[at]] = at;
      treeEnd_[order_[at]] = at + 1;
    }
    for (auto at = order_.rbegin(); at != order_.rend(); ++at) {
      if (parent_[*at] != kNoTerm) {
        treeEnd_[parent_[*at]] = std::max(treeEnd_[parent_[*at]], treeEnd_[*at]);
      }
    }

    // By component, then in order_: a counting sort.
    {
      std::vector<uint32_t> firstOf(components + 1, 0);
      budget_.Charge(sizeof(uint32_t) * firstOf.size());
      for (const TermId cls : order_) ++firstOf[component_[cls] + 1];
      for (std::size_t c = 1; c < firstOf.size(); ++c) firstOf[c] += firstOf[c - 1];
      walkOrder_.assign(order_.size(), kNoTerm);
      for (const TermId cls : order_) walkOrder_[firstOf[component_[cls]]++] = cls;
      budget_.Release(sizeof(uint32_t) * firstOf.size());
    }

    // The edges left out, counted, with the first class by IRI as example.
    // A class left without a parent is passed over: every superclass of it
    // is in its loop, and the warning of ChooseParents names it already.
    std::size_t cut = 0;
    TermId exampleClass = kNoTerm;
    TermId exampleSuper = kNoTerm;
    std::vector<TermId> candidates;
    for (const TermId cls : st_.Classes()) {
      if (parent_[cls] == kNoTerm) continue;
      Candidates(cls, candidates);
      for (const TermId super : candidates) {
        if (super == parent_[cls]) continue;
        if (component_[super] != component_[cls]) {
          followsOthers_ = true;
          continue;
        }
        if (cut++ == 0) {
          exampleClass = cls;
          exampleSuper = super;
        }
      }
    }
    if (cut != 0) {
      warnings_.push_back(sourceName_ + ": " + std::to_string(cut) +
                          (cut == 1 ? " superclass would close a loop of superclasses and gives "
                                      "its class no attributes"
                                    : " superclasses would close a loop of superclasses and give "
                                      "their classes no attributes") +
                          " (for example <" + IriText(exampleClass) + "> rdfs:subClassOf <" +
                          IriText(exampleSuper) + ">)");
    }
  }

  // True when class `above` is `cls` or one of its ancestors through the
  // parents.
  bool Above(TermId above, TermId cls) const {
    return treeAt_[above] <= treeAt_[cls] && treeAt_[cls] < treeEnd_[above];
  }

  // Spends one step of the walks' budget; false, and remembered, when
  // none is left.
  bool Step() {
    if (stepsLeft_ == 0) {
      outOfSteps_ = true;
      return false;
    }
    --stepsLeft_;
    return true;
  }

  // True when class `member` is in the walk of class `cls` (kNoTerm: an
  // empty walk): an ancestor of `cls`, or brought in by one. False when the
  // steps run out.
  bool InWalk(TermId member, TermId cls) {
    if (cls == kNoTerm) return false;
    if (Above(member, cls)) return true;
    if (!followsOthers_) return false;
    for (uint32_t at = bringers_[member]; at != kNoLink; at = links_[at].next) {
      if (!Step()) return false;
      if (Above(links_[at].cls, cls)) return true;
    }
    return false;
  }

  // True when the walk of class `cls` (kNoTerm: an empty walk) meets
  // `property`: some class of the walk declares it. Looks up the chain for
  // a class that presents it, as many classes as declare it, then asks
  // those that declare it whether they are in the walk: at most twice what
  // the cheaper way costs, whichever that is. False when the steps run out.
  bool Met(TermId property, TermId cls) {
    if (cls == kNoTerm) return false;
    const auto found = declarers_.find(property);
    if (found == declarers_.end()) return false;
    const Declarers& declarers = found->second;
    std::size_t looked = 0;
    for (TermId at = cls; at != kNoTerm; at = parent_[at]) {
      if (looked++ == declarers.count) break;
      if (!Step()) return false;
      if (presentedAt_.count(PairKey(at, property)) != 0) return true;
      if (parent_[at] == kNoTerm) return false;  // the whole chain is looked at
    }
    for (uint32_t at = declarers.head; at != kNoLink; at = links_[at].next) {
      if (!Step()) return false;
      if (InWalk(links_[at].cls, cls)) return true;
    }
    return false;
  }

  // Appends `cls` to the list that starts at `head`.
  void Link(uint32_t& head, TermId cls) {
    links_.push_back(LinkEntry{cls, head});
    head = static_cast<uint32_t>(links_.size() - 1);
  }

  // The classes that class `cls` brings into its walk: those of the walks
  // of its followed superclasses other than the parent, in candidate order,
  // each walk in its order, that the parent's walk does not have, each
  // once. Appends them to `out`; false when the steps run out (`out` then
  // holds a part).
  bool Brought(TermId cls, std::vector<TermId>& candidates, std::vector<TermId>& chain,
               std::vector<TermId>& out) {
    const TermId parent = parent_[cls];
    Candidates(cls, candidates);
    for (const TermId super : candidates) {
      if (super == parent || component_[super] == component_[cls]) continue;
      chain.clear();
      for (TermId at = super; at != kNoTerm; at = parent_[at]) {
        if (!Step()) return false;
        chain.push_back(at);
      }
      const auto take = [&](TermId member) {
        if (seenBy_[member] == cls) return true;
        seenBy_[member] = cls;
        const bool inParents = InWalk(member, parent);
        if (outOfSteps_) return false;
        if (!inParents) out.push_back(member);
        return true;
      };
      for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
        for (uint32_t i = broughtBegin_[*at]; i < broughtEnd_[*at]; ++i) {
          if (!Step() || !take(brought_[i])) return false;
        }
        if (!take(*at)) return false;
      }
    }
    return true;
  }

  // "library.name" for an IRI whose namespace has a prefix, else "<IRI>".
  std::string DisplayName(TermId id) const {
    const std::string& library = LibraryName(id);
    if (library == Iri(id).substr(0, localStart_[id])) return "<" + IriText(id) + ">";
    return library + "." + LocalName(id);
  }

  // What the class's `doc` says besides its documentation text, which the
  // model puts before it (OntologyModel::SetClassTexts).
  std::string Documentation(TermId cls) const {
    std::string doc;
    std::string others;
    for (const TermId super : SuperClasses(cls)) {
      if (super == parent_[cls] || super == cls) continue;
      others.append(others.empty() ? "" : ", ").append(DisplayName(super));
    }
    if (!others.empty()) {
      doc.append("Also a subclass of ").append(others).append(".");
    }
    return doc;
  }

  // Adds the classes parents first, into libraries made beforehand in the
  // byte order of their names, then lists each library's classes by IRI:
  // orders of the graph alone.
  bool AddClasses() {
    meta_.assign(st_.TermCount(), nullptr);
    model_.ReserveClasses(order_.size());
    {
      std::vector<const std::string*> names;
      for (const TermId cls : st_.Classes()) names.push_back(&LibraryName(cls));
      std::sort(names.begin(), names.end(),
                [](const std::string* a, const std::string* b) { return *a < *b; });
      names.erase(std::unique(names.begin(), names.end()), names.end());
      for (const std::string* name : names) model_.AddLibrary(*name);
    }
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
      if (!AddTermTexts(cls, meta_[cls])) return false;
    }
    // Every direct superclass that is a class of the model, followed or not:
    // a class with others besides its parent holds a list of them.
    constexpr std::size_t kSuperclassListBytes = 128;
    std::vector<TermId> candidates;
    for (const TermId cls : order_) {
      Candidates(cls, candidates);
      const std::size_t others = candidates.size() - (parent_[cls] == kNoTerm ? 0 : 1);
      if (others != 0 && !budget_.Charge(kSuperclassListBytes)) return false;
      for (const TermId super : candidates) {
        if (super == parent_[cls]) continue;
        if (!budget_.Charge(sizeof(void*))) return false;
        meta_[cls]->AddSuperclass(meta_[super]);
      }
    }
    model_.SortClassesByHandle();
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

  // What decided a kind among a property's ranges, best first.
  enum class Rank : uint8_t { kMapped, kUnmappedDatatype, kClass, kUnknown, kNone };
  // A kind of attribute, the term whose local name is its type name
  // (kNoTerm for none), and what decided it.
  struct Kind {
    QAX::Ontology::Info::AttrKind kind;
    TermId type;
    Rank rank = Rank::kNone;
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
    if (best != kNotMapped) return {best, bestRange, Rank::kMapped};
    if (unmapped != kNoTerm) {
      return {QAX::Ontology::Info::AttrKind::kUnmapped, unmapped, Rank::kUnmappedDatatype};
    }
    if (cls != kNoTerm) return {QAX::Ontology::Info::AttrKind::kComplex, cls, Rank::kClass};
    if (unknown != kNoTerm)
      return {QAX::Ontology::Info::AttrKind::kUnmapped, unknown, Rank::kUnknown};
    return {QAX::Ontology::Info::AttrKind::kText, kNoTerm, Rank::kNone};
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

  // The kind an attribute of `property` gets and how its values are
  // written (`*valueType`, shared by every attribute that writes alike; null
  // for a literal whose kind decides), from the kind its ranges give
  // (`kind`), the ranges themselves (`fillers`, or the property's own when
  // null) and its enumeration. No attribute keeps kUnmapped: an unmapped or
  // unknown datatype is text written with that datatype, and a resource
  // (an object property's value, owl:Thing, rdfs:Resource, schema:URL, a
  // class of another vocabulary, an enumeration) is text written as an IRI
  // (docs/vocabularies.md, "What a value is").
  Kind Values(TermId property, Kind kind, const std::vector<TermId>* fillers, uint32_t enumeration,
              std::shared_ptr<const QAX::Ontology::AttrValueType>* valueType) {
    using QAX::Ontology::AttrValueForm;
    using QAX::Ontology::Info::AttrKind;
    QAX::Ontology::AttrValueType type;
    std::string key;  // what the record says, to share it
    const auto reference = [&](std::string source) {
      type.form = AttrValueForm::kReference;
      key = "r" + std::move(source);
      kind.kind = AttrKind::kText;
    };
    bool iriEnumeration = enumeration != RdfStatements::kNoEnumeration;
    if (iriEnumeration) {
      for (const QAX::Ontology::AttrValue& value : st_.enumerations[enumeration].values) {
        iriEnumeration = iriEnumeration && value.isIri;
      }
    }
    // Whose individuals a reference takes, gathered only for a record not
    // made before: the walk costs the members of the class and below it.
    TermId individualsOf = kNoTerm;
    uint32_t individualsList = RdfStatements::kNoEnumeration;
    if (iriEnumeration) {
      reference("e" + std::to_string(enumeration));
      individualsList = enumeration;
    } else {
      switch (kind.rank) {
        case Rank::kMapped:
          if (kind.kind == AttrKind::kText && SplitIri(Iri(kind.type)).localName == "URL" &&
              IsSchemaIri(Iri(kind.type))) {
            reference("");
          } else {
            LiteralDatatypes(property, kind, fillers, type);
          }
          break;
        case Rank::kUnmappedDatatype:
          kind.kind = AttrKind::kText;
          type.datatype = IriText(kind.type);
          break;
        case Rank::kClass:
          if (IsAnyResource(kind.type)) {
            reference("");
          } else if (IsEnumerationClass(kind.type) || HoldsIndividualsOnly(kind.type)) {
            reference("c" + std::to_string(kind.type));
            individualsOf = kind.type;
            individualsList = ClassEnumeration(kind.type);
          }
          break;
        case Rank::kUnknown:
          // A datatype property's unknown range is a datatype of another
          // vocabulary; anything else a class of one, far the commoner.
          if (st_.IsDatatypeProperty(property) && !IsAnyResource(kind.type)) {
            kind.kind = AttrKind::kText;
            type.datatype = IriText(kind.type);
          } else {
            reference("");
          }
          break;
        case Rank::kNone:
          if (st_.IsObjectProperty(property)) reference("");
          break;
      }
    }
    if (key.empty()) {
      if (type.datatype.empty() && type.orDatatypes.empty()) return kind;  // the kind decides
      key = "l" + type.datatype + (type.textAllowed ? "|t" : "|");
      for (const std::string& datatype : type.orDatatypes) key += " " + datatype;
    }
    const auto [kept, added] = valueTypes_.emplace(std::move(key), nullptr);
    if (added) {
      if (type.IsReference()) type.individuals = Individuals(individualsOf, individualsList);
      std::size_t bytes = LoadBudget::kRangeBytes + kept->first.size();
      for (const auto& individual : type.individuals) {
        bytes += LoadBudget::kRangeTermBytes + individual.iri.size() + individual.name.size();
      }
      budget_.Charge(bytes);
      kept->second = std::make_shared<const QAX::Ontology::AttrValueType>(std::move(type));
    }
    *valueType = kept->second;
    return kind;
  }

  static bool IsSchemaIri(std::string_view iri) {
    return iri.substr(0, rdf::Iri::kSchemaHttp.size()) == rdf::Iri::kSchemaHttp ||
           iri.substr(0, rdf::Iri::kSchemaHttps.size()) == rdf::Iri::kSchemaHttps;
  }

  // owl:Thing and rdfs:Resource: any resource at all, whether the document
  // declares them as classes or not.
  bool IsAnyResource(TermId term) const {
    return Iri(term) == rdf::Iri::kOwlThing || Iri(term) == rdf::Iri::kRdfsResource;
  }

  // The datatypes a literal of a mapped range is written with: a single
  // XML Schema datatype of a kind other than text as itself; several
  // datatypes as each one's (ordered by kind, so that an integer is tried
  // before a decimal), text among them allowing any text.
  void LiteralDatatypes(TermId property, const Kind& kind, const std::vector<TermId>* fillers,
                        QAX::Ontology::AttrValueType& type) {
    using QAX::Ontology::Info::AttrKind;
    std::vector<std::pair<AttrKind, TermId>> datatypes;
    const auto see = [&](TermId term) {
      AttrKind mapped = MappedDatatypeKind(Iri(term));
      if (mapped == kNotMapped && IsClass(term)) mapped = DerivedDatatypeKind(term);
      if (mapped == kNotMapped) return;
      if (std::find(datatypes.begin(), datatypes.end(), std::make_pair(mapped, term)) ==
          datatypes.end()) {
        datatypes.emplace_back(mapped, term);
      }
    };
    if (fillers != nullptr) {
      for (const TermId term : *fillers) see(term);
    } else {
      for (const TermId term : st_.Related(RdfStatements::Relation::kRange, property)) see(term);
      for (const TermId term : st_.Related(RdfStatements::Relation::kRangeAny, property)) see(term);
    }
    if (datatypes.size() <= 1) {
      const std::string_view iri = Iri(kind.type);
      if (kind.kind != AttrKind::kText && iri.substr(0, rdf::Iri::kXsd.size()) == rdf::Iri::kXsd) {
        type.datatype = std::string(iri);
      }
      return;
    }
    std::stable_sort(datatypes.begin(), datatypes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [mapped, term] : datatypes) {
      if (mapped == AttrKind::kText) {
        type.textAllowed = true;
        continue;
      }
      for (std::string& written : WrittenDatatypes(mapped, term)) {
        if (std::find(type.orDatatypes.begin(), type.orDatatypes.end(), written) ==
            type.orDatatypes.end()) {
          type.orDatatypes.push_back(std::move(written));
        }
      }
    }
  }

  // The XML Schema datatypes a value of datatype `term` (of kind `mapped`)
  // is written as: an XML Schema datatype as itself, schema.org's as their
  // XML Schema equivalents, a class derived from a datatype by its kind.
  std::vector<std::string> WrittenDatatypes(QAX::Ontology::Info::AttrKind mapped, TermId term) {
    using QAX::Ontology::Info::AttrKind;
    const std::string xsd(rdf::Iri::kXsd);
    const std::string_view iri = Iri(term);
    if (iri.substr(0, rdf::Iri::kXsd.size()) == rdf::Iri::kXsd) return {std::string(iri)};
    const std::string_view local = SplitIri(iri).localName;
    if (IsSchemaIri(iri)) {
      if (local == "Float") return {xsd + "double"};
      if (local == "Date") return {xsd + "date"};
      if (local == "DateTime") return {xsd + "dateTime"};
      if (local == "Time") return {xsd + "time"};
    }
    switch (mapped) {
      case AttrKind::kBoolean:
        return {xsd + "boolean"};
      case AttrKind::kInteger:
        return {xsd + "integer"};
      case AttrKind::kReal:
        return {xsd + "decimal", xsd + "double"};
      case AttrKind::kTemporal:
        return {xsd + "dateTime", xsd + "date"};
      default:
        return {};
    }
  }

  // The classes below each class (the subjects of its rdfs:subClassOf and
  // of the intersections it is in), made once when first needed: those of
  // `cls` are children_[firstChild_[cls]] to children_[firstChild_[cls + 1]].
  void IndexSubclasses() {
    if (!firstChild_.empty()) return;
    const std::size_t count = st_.TermCount();
    firstChild_.assign(count + 1, 0);
    std::size_t pairs = 0;
    for (const TermId cls : st_.Classes()) {
      for (const TermId super : SuperClasses(cls)) {
        if (super != cls) ++firstChild_[super + 1], ++pairs;
      }
    }
    budget_.Charge(sizeof(uint32_t) * (count + 1 + pairs));
    for (std::size_t at = 1; at <= count; ++at) firstChild_[at] += firstChild_[at - 1];
    children_.assign(pairs, kNoTerm);
    std::vector<uint32_t> next(firstChild_.begin(), firstChild_.end() - 1);
    for (const TermId cls : st_.Classes()) {
      for (const TermId super : SuperClasses(cls)) {
        if (super != cls) children_[next[super]++] = cls;
      }
    }
  }

  // `cls` and the classes below it, each once, spending the shared steps of
  // the walks down the hierarchy; once they are spent the walk stops there,
  // with one warning for the whole load.
  std::vector<TermId> Below(TermId cls) {
    IndexSubclasses();
    if (!downStepsSet_) {
      downStepsSet_ = true;
      downStepsLeft_ = kListStepsBase + kListStepsPerStatement * st_.statementCount;
    }
    std::vector<TermId> found{cls};
    std::unordered_set<TermId> seen{cls};
    for (std::size_t at = 0; at < found.size(); ++at) {
      const TermId from = found[at];
      for (uint32_t child = firstChild_[from]; child < firstChild_[from + 1]; ++child) {
        if (downStepsLeft_ == 0) {
          if (!downStepsWarned_) {
            downStepsWarned_ = true;
            warnings_.push_back(sourceName_ +
                                ": more subclasses to look through for individuals than the "
                                "document's size allows; some enumerations may miss values");
          }
          return found;
        }
        --downStepsLeft_;
        if (seen.insert(children_[child]).second) found.push_back(children_[child]);
      }
    }
    return found;
  }

  // True for a subclass, through its superclasses, of schema:Enumeration
  // (either scheme), or a class defined by owl:oneOf. Worked out for all
  // classes at once, walking down from schema:Enumeration.
  bool IsEnumerationClass(TermId cls) {
    if (enumerationClass_.empty()) {
      enumerationClass_.assign(st_.TermCount(), false);
      budget_.Charge(st_.TermCount() / CHAR_BIT + 1);
      for (const RdfStatements::Enumeration& e : st_.enumerations) {
        if (e.cls != kNoTerm) enumerationClass_[e.cls] = true;
      }
      for (TermId id = 0; id < st_.TermCount(); ++id) {
        const std::string_view iri = Iri(id);
        if (!IsSchemaIri(iri) || SplitIri(iri).localName != "Enumeration") continue;
        for (const TermId below : Below(id)) enumerationClass_[below] = true;
      }
    }
    return enumerationClass_[cls];
  }

  // The least enumeration that defines `cls` (EnumerationBefore), or
  // kNoEnumeration.
  uint32_t ClassEnumeration(TermId cls) const {
    uint32_t least = RdfStatements::kNoEnumeration;
    for (uint32_t e = 0; e < st_.enumerations.size(); ++e) {
      if (st_.enumerations[e].cls != cls) continue;
      if (least == RdfStatements::kNoEnumeration || EnumerationBefore(e, least)) least = e;
    }
    return least;
  }

  // True for a class of no attributes of its own whose members (subjects
  // typed with it or a class below it) are all owl:NamedIndividuals, and
  // that has at least one: a class of named values, not of items.
  // Worked out once per class.
  bool HoldsIndividualsOnly(TermId cls) {
    if (HasOwnAttributes(cls)) return false;
    const auto [known, added] = individualsOnly_.emplace(cls, false);
    if (!added) return known->second;
    budget_.Charge(LoadBudget::kPairBytes);
    bool any = false;
    for (const TermId below : Below(cls)) {
      for (const TermId member : st_.Related(RdfStatements::Relation::kMember, below)) {
        if (!st_.IsNamedIndividual(member)) return false;
        any = true;
      }
    }
    known->second = any;
    return any;
  }

  // Whether a domain or a restriction gives `cls` an attribute.
  bool HasOwnAttributes(TermId cls) {
    if (ownAttributes_.empty()) {
      ownAttributes_.assign(st_.TermCount(), false);
      budget_.Charge(st_.TermCount() / CHAR_BIT + 1);
      for (const TermId property : st_.Properties()) {
        for (const TermId domain : st_.Related(RdfStatements::Relation::kDomain, property)) {
          ownAttributes_[domain] = true;
        }
      }
      for (const RdfStatements::Restriction& r : st_.restrictions) ownAttributes_[r.cls] = true;
    }
    return ownAttributes_[cls];
  }

  // The individuals an attribute may name: the IRIs of `enumeration` (when
  // there is one) and the members of `cls` and the classes below it (when
  // it is a term), in IRI order without repeats, each with its shown name.
  std::vector<QAX::Ontology::AttrIndividual> Individuals(TermId cls, uint32_t enumeration) {
    std::vector<std::string> iris;
    if (cls != kNoTerm) {
      std::vector<TermId> members;
      for (const TermId below : Below(cls)) {
        const TermList of = st_.Related(RdfStatements::Relation::kMember, below);
        members.insert(members.end(), of.begin(), of.end());
      }
      std::sort(members.begin(), members.end());
      members.erase(std::unique(members.begin(), members.end()), members.end());
      for (const TermId member : members) iris.push_back(IriText(member));
    }
    if (enumeration != RdfStatements::kNoEnumeration) {
      for (const QAX::Ontology::AttrValue& value : st_.enumerations[enumeration].values) {
        if (value.isIri) iris.push_back(value.text);
      }
    }
    std::sort(iris.begin(), iris.end());
    iris.erase(std::unique(iris.begin(), iris.end()), iris.end());
    std::vector<QAX::Ontology::AttrIndividual> individuals;
    individuals.reserve(iris.size());
    for (std::string& iri : iris) {
      std::string name = ShownName(iri);
      individuals.push_back(QAX::Ontology::AttrIndividual{std::move(iri), std::move(name)});
    }
    return individuals;
  }

  // "library:Local" for an IRI in a namespace that has a library name,
  // else "<IRI>".
  std::string ShownName(const std::string& iri) {
    if (libraryOfNamespace_.empty()) {
      for (const auto& named : libraryNames_) {
        const std::string& ns = model_.GetNamespace(named.first);
        if (!ns.empty()) libraryOfNamespace_.emplace(ns, &named.first);
      }
    }
    const IriParts parts = SplitIri(iri);
    const auto found = libraryOfNamespace_.find(std::string(parts.ns));
    if (found == libraryOfNamespace_.end() || parts.localName.empty()) return "<" + iri + ">";
    return *found->second + ":" + std::string(parts.localName);
  }

  // One range term as the model keeps it, charged to the budget.
  QAX::Ontology::AttrRangeTerm RangeTerm(TermId term) {
    budget_.Charge(LoadBudget::kRangeTermBytes + Iri(term).size());
    return QAX::Ontology::AttrRangeTerm{
        IriText(term), QAX::Ontology::Info::KindValue(KindOfRanges(&term, &term + 1).kind)};
  }

  // True when enumeration `a` comes before `b` in the order that chooses
  // one of several: by their values, one by one (an IRI before a literal,
  // then by text, datatype and language), a shorter list first when one
  // begins the other. An order of the values alone, not of the document.
  bool EnumerationBefore(uint32_t a, uint32_t b) const {
    const auto key = [](const QAX::Ontology::AttrValue& v) {
      return std::tie(v.isIri, v.text, v.datatype, v.language);
    };
    const std::vector<QAX::Ontology::AttrValue>& x = st_.enumerations[a].values;
    const std::vector<QAX::Ontology::AttrValue>& y = st_.enumerations[b].values;
    return std::lexicographical_compare(
        x.begin(), x.end(), y.begin(), y.end(),
        [&key](const QAX::Ontology::AttrValue& v, const QAX::Ontology::AttrValue& w) {
          // IRIs first: isIri true sorts before false.
          if (v.isIri != w.isIri) return v.isIri;
          return key(v) < key(w);
        });
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
      if (r.enumeration != RdfStatements::kNoEnumeration &&
          (entry.enumeration == RdfStatements::kNoEnumeration ||
           EnumerationBefore(r.enumeration, entry.enumeration))) {
        entry.enumeration = r.enumeration;
      }
      entry.cardinality.min = std::max(entry.cardinality.min, r.min);
      entry.cardinality.max = std::min(entry.cardinality.max, r.max);
      if (r.filler != kNoTerm &&
          std::find(entry.fillers.begin(), entry.fillers.end(), r.filler) == entry.fillers.end()) {
        entry.fillers.push_back(r.filler);
      }
    }
    // The fillers in IRI order, as a property's ranges are.
    for (auto& [cls, entries] : byClass) {
      for (Planned& entry : entries) std::sort(entry.fillers.begin(), entry.fillers.end());
    }
    return byClass;
  }

  // The least sh:maxCount that the vocabulary's node shapes give each
  // (class, property) pair (PairKey). Charged to the budget with the records.
  std::unordered_map<uint64_t, uint32_t> ShapeMaxCounts() const {
    std::unordered_map<uint64_t, uint32_t> least;
    least.reserve(st_.shapeCounts.size());
    for (const RdfStatements::ShapeCount& count : st_.shapeCounts) {
      const auto [at, added] = least.emplace(PairKey(count.cls, count.property), count.max);
      if (!added && count.max < at->second) at->second = count.max;
    }
    return least;
  }

  // The classes that `cls` brings into its walk (Brought), recorded, into
  // `found`, and what they declare that the walk has not met, into
  // `presented`. Once the steps have run out a class brings in nothing and
  // is counted for the warning. False when the budget is exhausted.
  bool BringIn(TermId cls, std::vector<TermId>& found,
               std::vector<const QAX::Ontology::MetaAttr*>& presented) {
    if (!outOfSteps_ && !Brought(cls, candidates_, chain_, found)) found.clear();
    if (outOfSteps_ && found.empty() && FollowsOthers(cls)) {
      ++leftOut_;
      leftOutExample_ = std::min(leftOutExample_, cls);
    }
    broughtBegin_[cls] = static_cast<uint32_t>(brought_.size());
    if (!budget_.Charge(kWalkEntryBytes * 2 * found.size())) return false;
    const TermId parent = parent_[cls];
    for (const TermId member : found) {
      brought_.push_back(member);
      Link(bringers_[member], cls);
      const QAX::Ontology::MetaClass* const memberMeta = meta_[member];
      if (memberMeta == nullptr) continue;
      const std::vector<const QAX::Ontology::MetaAttr*>& declared =
          memberMeta->GetDeclaredAttributes();
      for (std::size_t i = 0; i < declared.size(); ++i) {
        const TermId property = declaredProperties_[declaredBegin_[member] + i];
        if (presentedAt_.count(PairKey(cls, property)) != 0 || Met(property, parent)) continue;
        if (!budget_.Charge(LoadBudget::kPairBytes * 2 + sizeof(void*))) return false;
        presentedAt_.insert(PairKey(cls, property));
        presented.push_back(declared[i]);
      }
    }
    broughtEnd_[cls] = static_cast<uint32_t>(brought_.size());
    return true;
  }

  // Sets up the walks' step budget (Brought, Met) and, when some class
  // follows a superclass other than its parent, the tables of what classes
  // bring in, charged.
  bool StartWalks() {
    stepsLeft_ = kListStepsBase + kListStepsPerStatement * st_.statementCount;
    if (!followsOthers_) return true;
    const std::size_t count = st_.TermCount();
    constexpr std::size_t kTablesPerTerm = 5;
    if (!budget_.Charge(sizeof(uint32_t) * kTablesPerTerm * count)) return false;
    bringers_.assign(count, kNoLink);
    broughtBegin_.assign(count, 0);
    broughtEnd_.assign(count, 0);
    declaredBegin_.assign(count, 0);
    seenBy_.assign(count, kNoTerm);
    return true;
  }

  // True when `cls` has a superclass other than its parent that its walk
  // follows.
  bool FollowsOthers(TermId cls) {
    Candidates(cls, candidates_);
    return std::any_of(candidates_.begin(), candidates_.end(), [&](TermId super) {
      return super != parent_[cls] && component_[super] != component_[cls];
    });
  }

  // Once the walks' steps ran out: one warning that says what was left out.
  void WarnOutOfSteps() {
    if (!outOfSteps_) return;
    std::string warning =
        sourceName_ + ": more superclasses to look through than the document's size allows (" +
        std::to_string(kListStepsBase + kListStepsPerStatement * st_.statementCount) + " steps); ";
    if (leftOut_ != 0) {
      warning += std::to_string(leftOut_) +
                 (leftOut_ == 1 ? " class gets the attributes of its parents only, not those of "
                                  "its other superclasses"
                                : " classes get the attributes of their parents only, not those "
                                  "of their other superclasses") +
                 " (for example <" + IriText(leftOutExample_) + ">), and ";
    }
    warning += "some attributes may repeat an inherited one";
    warnings_.push_back(std::move(warning));
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
    }
    const std::unordered_map<uint64_t, uint32_t> shapeMax = ShapeMaxCounts();
    if (!StartWalks()) return false;
    std::vector<Planned> planned;
    std::vector<TermId> found;
    std::vector<const QAX::Ontology::MetaAttr*> presented;
    for (const TermId cls : walkOrder_) {
      const TermId parent = parent_[cls];
      QAX::Ontology::MetaClass* const meta = meta_[cls];
      if (meta == nullptr) continue;
      // The classes the walk brings in, and what they declare that the walk
      // has not met yet.
      found.clear();
      presented.clear();
      if (followsOthers_ && !BringIn(cls, found, presented)) return false;

      // The class's own attributes, those the walk has not met.
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
          } else {
            if (!budget_.Charge(LoadBudget::kAttributeBytes)) return false;
            planned.push_back(std::move(entry));
          }
        }
      }
      planned.erase(std::remove_if(planned.begin(), planned.end(),
                                   [&](const Planned& entry) {
                                     return presentedAt_.count(PairKey(cls, entry.property)) != 0 ||
                                            Met(entry.property, parent);
                                   }),
                    planned.end());
      std::sort(planned.begin(), planned.end(), [this](const Planned& a, const Planned& b) {
        return Iri(a.property) < Iri(b.property);
      });
      if (!budget_.Charge((LoadBudget::kPairBytes * 2 + kWalkEntryBytes + kDeclarersBytes) *
                          planned.size())) {
        return false;
      }
      if (followsOthers_) declaredBegin_[cls] = static_cast<uint32_t>(declaredProperties_.size());
      if (!planned.empty()) meta->ReserveAttributes(planned.size());
      std::vector<const QAX::Ontology::MetaAttr*> own;
      for (const Planned& entry : planned) {
        const bool ownRanges = entry.fromDomain || entry.fillers.empty();
        std::shared_ptr<const QAX::Ontology::AttrValueType> valueType;
        const Kind kind = Values(
            entry.property,
            ownRanges
                ? KindOf(entry.property)
                : KindOfRanges(entry.fillers.data(), entry.fillers.data() + entry.fillers.size()),
            ownRanges ? nullptr : &entry.fillers,
            entry.fromDomain || entry.enumeration == RdfStatements::kNoEnumeration
                ? EnumerationOf(entry.property)
                : entry.enumeration,
            &valueType);
        QAX::Ontology::Info::MetaAttrInfo info = AttributeInfo(entry.property, kind);
        if (!budget_.Charge(info.name.size() + info.scopeName.size() + 2 * info.typeName.size())) {
          return false;
        }
        std::shared_ptr<const QAX::Ontology::AttrRange> range =
            entry.fromDomain ? RangeOf(entry.property)
                             : RestrictedRange(entry.property, entry.fillers, entry.enumeration);
        // A functional property takes one value on every class; a larger
        // minimum stays as stated (a class no item satisfies says so).
        QAX::Ontology::MetaAttr::Cardinality counts = entry.cardinality;
        if (st_.IsFunctional(entry.property) && counts.max > 1) counts.max = 1;
        const auto shaped = shapeMax.find(PairKey(cls, entry.property));
        if (shaped != shapeMax.end() && shaped->second < counts.max) counts.max = shaped->second;
        // A class that presents nothing for its superclasses keeps one list.
        if (presented.empty()) {
          meta->AddAttribute(std::move(info), counts, std::move(range), std::move(valueType));
        } else {
          own.push_back(meta->DeclareAttribute(std::move(info), counts, std::move(range),
                                               std::move(valueType)));
        }
        if (followsOthers_) declaredProperties_.push_back(entry.property);
        Declarers& declarers = declarers_[entry.property];
        Link(declarers.head, cls);
        ++declarers.count;
        presentedAt_.insert(PairKey(cls, entry.property));
        meta->SetAttributeTexts(meta->GetDeclaredAttributes().size() - 1,
                                PropertyTexts(entry.property));
        if (budget_.Exhausted()) return false;
      }
      for (const QAX::Ontology::MetaAttr* attribute : presented) meta->PresentAttribute(attribute);
      for (const QAX::Ontology::MetaAttr* attribute : own) meta->PresentAttribute(attribute);
    }
    WarnOutOfSteps();
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
      std::shared_ptr<const QAX::Ontology::AttrValueType> valueType;
      QAX::Ontology::Info::MetaAttrInfo info = AttributeInfo(
          property,
          Values(property, KindOf(property), nullptr, EnumerationOf(property), &valueType));
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

  // What the vocabulary names in place of its terms (RdfStatements::
  // successions, already in order and without repeats, so each is appended).
  bool AddSuccessors() {
    for (const RdfStatements::Succession& succession : st_.successions) {
      if (!budget_.Charge(LoadBudget::kSuccessorBytes + Iri(succession.from).size() +
                          Iri(succession.to).size())) {
        return false;
      }
      model_.AddSuccessor(
          IriText(succession.from),
          QAX::Ontology::TermSuccessor{IriText(succession.to),
                                       static_cast<QAX::Ontology::TermSuccession>(succession.how)});
    }
    return true;
  }

  // The labels and documentation texts the statements keep for `term`;
  // empty when none. Charged to the budget.
  QAX::Ontology::TermTexts TextsOf(TermId term) {
    QAX::Ontology::TermTexts texts;
    const auto copy = [&](RdfStatements::TextKind kind, std::vector<QAX::Ontology::LangText>& out) {
      const auto [begin, end] = st_.Texts(term, kind);
      out.reserve(static_cast<std::size_t>(end - begin));
      for (const RdfStatements::KeptText* at = begin; at != end; ++at) {
        const std::string_view language = st_.Language(at->language);
        budget_.Charge(LoadBudget::kLangTextBytes + at->text.size() + language.size());
        out.push_back(QAX::Ontology::LangText{std::string(at->text), std::string(language)});
      }
    };
    copy(RdfStatements::TextKind::kLabel, texts.labels);
    copy(RdfStatements::TextKind::kDoc, texts.docs);
    if (!texts.Empty()) budget_.Charge(LoadBudget::kTermTextsBytes);
    return texts;
  }

  // Gives class `cls` (`meta`, null when the model refused it) its texts.
  bool AddTermTexts(TermId cls, QAX::Ontology::MetaClass* meta) {
    QAX::Ontology::TermTexts texts = TextsOf(cls);
    if (meta == nullptr || texts.Empty()) return !budget_.Exhausted();
    model_.SetClassTexts(meta, std::move(texts));
    // The doc now holds a copy of the chosen text.
    return budget_.Charge(meta->GetInfo().doc.size());
  }

  // The texts record of `property`, shared by its attributes on every
  // class and made (and charged) once; null when it has no texts.
  std::shared_ptr<const QAX::Ontology::TermTexts> PropertyTexts(TermId property) {
    const auto [kept, added] = propertyTexts_.emplace(property, nullptr);
    if (!added) return kept->second;
    // The table's entry: its node and its share of the buckets.
    budget_.Charge(sizeof(*kept) + 2 * sizeof(void*));
    QAX::Ontology::TermTexts texts = TextsOf(property);
    if (!texts.Empty()) {
      kept->second = std::make_shared<const QAX::Ontology::TermTexts>(std::move(texts));
    }
    return kept->second;
  }

  const RdfStatements& st_;
  const std::string& sourceName_;
  QAX::Ontology::OntologyModel& model_;
  std::vector<std::string>& warnings_;
  LoadBudget& budget_;

  // Library name -> the namespace it names (a place in NameNamespaces'
  // list); the names that libraryOf_ points at.
  std::unordered_map<std::string, std::size_t> libraryNames_;
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
  std::vector<Kind> kinds_;  // by property; kNotWorkedOut until worked out
  // The walks (docs/vocabularies.md, "Every superclass"), by term unless
  // said otherwise: the component of the superclass graph; the place in
  // order_ and the end of the subtree there; the classes in the order
  // their walks are formed.
  std::vector<uint32_t> component_;
  std::vector<uint32_t> treeAt_;
  std::vector<uint32_t> treeEnd_;
  std::vector<TermId> walkOrder_;
  bool followsOthers_ = false;  // some class follows a superclass other than its parent
  // Lists of classes kept in links_, each entry pointing at the next; by
  // class the classes that bring it in (only when some class follows a
  // superclass other than its parent), by property the classes that
  // declare it (and how many).
  static constexpr uint32_t kNoLink = UINT32_MAX;
  struct LinkEntry {
    TermId cls;
    uint32_t next;
  };
  // What a list entry, a brought class or a declared property costs.
  static constexpr std::size_t kWalkEntryBytes = 16;
  std::vector<LinkEntry> links_;
  std::vector<uint32_t> bringers_;
  struct Declarers {
    uint32_t head = kNoLink;
    uint32_t count = 0;
  };
  // What an entry of declarers_ costs, the hash table's share included.
  static constexpr std::size_t kDeclarersBytes = 32;
  std::unordered_map<TermId, Declarers> declarers_;
  // The classes each class brings in: brought_[broughtBegin_[c]] to
  // brought_[broughtEnd_[c]]; the properties of each class's declared
  // attributes, in their order, from declaredProperties_[declaredBegin_[c]].
  std::vector<TermId> brought_;
  std::vector<uint32_t> broughtBegin_;
  std::vector<uint32_t> broughtEnd_;
  std::vector<TermId> declaredProperties_;
  std::vector<uint32_t> declaredBegin_;
  std::vector<TermId> seenBy_;  // the class whose walk last looked at a class (Brought)
  std::unordered_set<uint64_t> presentedAt_;  // (class, property) pairs presented
  std::vector<TermId> candidates_;            // scratch lists of Brought and FollowsOthers
  std::vector<TermId> chain_;
  std::size_t leftOut_ = 0;  // classes that follow only their parent for want of steps
  TermId leftOutExample_ = kNoTerm;
  bool outOfSteps_ = false;
  // Range records by their content (SharedRange), and by property its first
  // enumeration range, an index in the statements' enumerations.
  std::unordered_map<std::string, std::shared_ptr<const QAX::Ontology::AttrRange>> sharedRanges_;
  std::unordered_map<TermId, uint32_t> enumerationOf_;
  // Value types by their content (Values); the classes below each class
  // (IndexSubclasses); by term, whether it is an enumeration class and
  // whether it has attributes of its own, each made when first needed.
  std::unordered_map<std::string, std::shared_ptr<const QAX::Ontology::AttrValueType>> valueTypes_;
  std::vector<uint32_t> firstChild_;
  std::vector<TermId> children_;
  std::vector<bool> enumerationClass_;
  std::vector<bool> ownAttributes_;
  std::unordered_map<TermId, bool> individualsOnly_;  // by class: HoldsIndividualsOnly
  std::unordered_map<std::string, const std::string*> libraryOfNamespace_;  // for ShownName
  std::size_t downStepsLeft_ = 0;  // for walks down the subclasses
  bool downStepsSet_ = false;
  bool downStepsWarned_ = false;
  std::unordered_map<TermId, std::shared_ptr<const QAX::Ontology::TermTexts>> propertyTexts_;
  std::size_t stepsLeft_ = 0;  // for the walks
};

}  // namespace

bool BuildModel(const RdfStatements& statements, const std::string& sourceName,
                QAX::Ontology::OntologyModel& model, std::vector<std::string>& warnings,
                LoadBudget& budget) {
  return Builder(statements, sourceName, model, warnings, budget).Run();
}

}  // namespace qaxoi::rdf
