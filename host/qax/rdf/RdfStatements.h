// The statements of an RDF document that matter for an ontology model,
// gathered by ReadRdf. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_RDFSTATEMENTS_H_
#define QAX_HOST_QAX_RDF_RDFSTATEMENTS_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/qax/model/MetaAttr.h"
#include "host/qax/model/NameIndex.h"
#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/TextArena.h"

namespace qaxoi::rdf {

using TermId = uint32_t;

// Anonymous nodes (blank nodes) are numbered apart from IRIs, per document.
using BlankId = uint32_t;

// The object of a statement about an anonymous node, as class expressions
// use it: an IRI, an anonymous node, rdf:nil, or something else (a literal).
struct NodeRef {
  enum class Kind : uint8_t { kIri, kBlank, kNil, kLiteral, kOther };
  Kind kind = Kind::kOther;
  uint32_t id = 0;  // a TermId for kIri, a BlankId for kBlank, a KeptLiteral's for kLiteral
};

constexpr TermId kNoTerm = UINT32_MAX;

// What the document says about one anonymous node that matters for class
// expressions: list cells (rdf:first, rdf:rest), unions, and marks of the
// other kinds of anonymous class. Of rdf:first, rdf:rest and owl:unionOf
// only the first object is kept, and how many there were (up to two), so
// that a malformed list (a cell with two rdf:first) can be told. What a
// restriction, intersection or datatype restriction says is kept apart
// (ExpressionFacts), since few nodes are one.
struct BlankFacts {
  enum : uint8_t {
    kIntersection = 1,         // owl:intersectionOf
    kComplement = 2,           // owl:complementOf
    kOneOf = 4,                // owl:oneOf
    kRestriction = 8,          // typed owl:Restriction, or has owl:onProperty
    kDatatypeRestriction = 16  // has owl:onDatatype
  };
  static constexpr uint32_t kNoExpression = UINT32_MAX;

  NodeRef first;
  NodeRef rest;
  NodeRef unionList;
  uint8_t firsts = 0;  // statements seen, counted up to kManyStatements
  uint8_t rests = 0;
  uint8_t unions = 0;
  uint8_t marks = 0;
  uint32_t expression = kNoExpression;  // its ExpressionFacts, if any

  bool Has(uint8_t mark) const { return (marks & mark) != 0; }

  static constexpr uint8_t kManyStatements = 2;
  // Keeps `ref` as the object of a predicate counted in `count`, which
  // counts distinct objects: a statement repeated in the document is the
  // same statement of the graph. `same(a, b)` tells whether two objects are
  // one. Which of several distinct objects is kept does not matter, since a
  // node with two is malformed whatever they are.
  template <typename Same>
  static void Note(NodeRef& kept, uint8_t& count, NodeRef ref, Same same) {
    if (count > 0 && same(kept, ref)) return;
    if (count == 0) kept = ref;
    if (count < kManyStatements) ++count;
  }
};

// What the document says about an anonymous restriction, intersection or
// datatype restriction. Of the filler and the base datatype the least IRI
// given is kept, whatever the order of the statements (an anonymous filler
// only when no IRI is given, and none when two different anonymous ones
// are); of the lists the statements are counted (BlankFacts::Note).
struct ExpressionFacts {
  enum : uint8_t { kSome = 1, kAll = 2, kValue = 4, kCount = 8 };  // constraints seen
  static constexpr uint32_t kUnbounded = UINT32_MAX;

  NodeRef property;           // owl:onProperty
  NodeRef filler;             // someValuesFrom, allValuesFrom, onClass, onDataRange; for a
                              // literal hasValue, its datatype
  NodeRef intersection;       // owl:intersectionOf's list
  NodeRef baseDatatype;       // owl:onDatatype
  NodeRef oneOf;              // owl:oneOf's list
  uint32_t min = 0;           // the largest minimum count given
  uint32_t max = kUnbounded;  // the smallest maximum count given
  uint8_t constraints = 0;
  uint8_t properties = 0;  // owl:onProperty statements, counted up to two
  uint8_t intersections = 0;
  uint8_t oneOfs = 0;
  bool anonymousFillers = false;  // two different anonymous fillers were given
};

// A literal as a list member holds it, for enumerations: views of the
// statements' own copies, valid until Group().
struct KeptLiteral {
  std::string_view text;
  std::string_view datatype;
  std::string_view language;
};

// The objects that one subject has for one relation: in IRI order, no
// repeats. Valid until the statements change.
class TermList {
 public:
  TermList(const TermId* begin, const TermId* end) : begin_(begin), end_(end) {}
  const TermId* begin() const { return begin_; }
  const TermId* end() const { return end_; }
  bool empty() const { return begin_ == end_; }

 private:
  const TermId* begin_;
  const TermId* end_;
};

// IRIs are interned: each distinct IRI is kept once and gets one TermId,
// numbered from 0 in the order met while reading, and renumbered by Group()
// in the byte order of the IRIs, so that everything that walks terms in
// id order (classes, properties, a subject's relations) walks them in an
// order of the graph alone, not of the document. Blank nodes are kept
// apart, by BlankId; their labels only tell them apart. Nothing is kept per
// statement but the pairs of the relations, so that the cost is a few
// dozen bytes per distinct IRI or anonymous node and eight per relation.
class RdfStatements {
 public:
  // Charges what it keeps to `budget`, which must outlive it.
  explicit RdfStatements(LoadBudget& budget) : budget_(budget) {}
  RdfStatements(const RdfStatements&) = delete;
  RdfStatements& operator=(const RdfStatements&) = delete;

  // Every function that adds throws std::bad_alloc when memory runs out;
  // the statements must then be thrown away. What they keep is charged to
  // the budget, and may exhaust it: the caller checks.
  LoadBudget& Budget() { return budget_; }
  const LoadBudget& Budget() const { return budget_; }

  TermId Intern(std::string_view iri);
  std::string_view Iri(TermId id) const { return iris_[id]; }
  std::size_t TermCount() const { return iris_.size(); }

  bool IsClass(TermId id) const { return (flags_[id] & kClass) != 0; }
  bool IsProperty(TermId id) const { return (flags_[id] & kProperty) != 0; }
  // Typed rdfs:Datatype.
  bool IsDatatype(TermId id) const { return (flags_[id] & kDatatype) != 0; }
  // Typed owl:FunctionalProperty: an item has at most one value of it.
  bool IsFunctional(TermId id) const { return (flags_[id] & kFunctional) != 0; }
  // Typed sh:NodeShape.
  bool IsNodeShape(TermId id) const { return (flags_[id] & kNodeShape) != 0; }
  // Typed owl:ObjectProperty, owl:DatatypeProperty, owl:NamedIndividual.
  bool IsObjectProperty(TermId id) const { return (flags_[id] & kObjectProperty) != 0; }
  bool IsDatatypeProperty(TermId id) const { return (flags_[id] & kDatatypeProperty) != 0; }
  bool IsNamedIndividual(TermId id) const { return (flags_[id] & kNamedIndividual) != 0; }

  // Marks `id` as a class (typed rdfs:Class or owl:Class), a property (typed
  // rdf:Property, owl:DatatypeProperty or owl:ObjectProperty) or a datatype.
  // The lists below are in id order once grouped (IRI order), in the order
  // terms were first marked before.
  void MarkClass(TermId id);
  void MarkProperty(TermId id);
  void MarkDatatype(TermId id) { flags_[id] |= kDatatype; }
  void MarkFunctional(TermId id) { flags_[id] |= kFunctional; }
  void MarkNodeShape(TermId id) { flags_[id] |= kNodeShape; }
  void MarkObjectProperty(TermId id) { flags_[id] |= kObjectProperty; }
  void MarkDatatypeProperty(TermId id) { flags_[id] |= kDatatypeProperty; }
  void MarkNamedIndividual(TermId id) { flags_[id] |= kNamedIndividual; }
  const std::vector<TermId>& Classes() const { return classes_; }
  const std::vector<TermId>& Properties() const { return properties_; }

  // What a text of a term says: what the term is called (rdfs:label,
  // skos:prefLabel) or what it is (rdfs:comment, skos:definition,
  // dcterms:description).
  enum class TextKind : uint8_t { kLabel, kDoc };
  // Where a text comes from, in the order of preference within its kind:
  // kFirst is rdfs:label and rdfs:comment, kSecond skos:prefLabel and
  // skos:definition, kThird dcterms:description.
  enum class TextSource : uint8_t { kFirst, kSecond, kThird };
  // One text kept of a term: `text` views the statements' own copy, valid
  // as long as the statements; `language` names a tag for Language().
  struct KeptText {
    TermId subject;
    uint32_t language;
    TextKind kind;
    TextSource source;
    std::string_view text;
  };
  // A label or documentation text of `subject`, any subject (whether it is
  // a class or property is known only once the document is read). Of each
  // kind only the most preferred source the subject has counts, and of it
  // one text per language, the least in byte order, so that what is kept
  // does not depend on the order of the statements and grows with the
  // languages used, not with the statements. Decided as it comes: of each
  // (subject, kind, language) only the best text so far is held (the
  // lesser source, then the lesser text), a new copy charged only when it
  // wins; Group() drops those of a source that the subject's other
  // languages beat. `language` is compared in lower case, as RDF compares
  // tags. Only before Group().
  void NoteText(TermId subject, TextKind kind, TextSource source, std::string_view text,
                std::string_view language);
  // The language tag `id` of a KeptText, in lower case, empty for none.
  std::string_view Language(uint32_t id) const { return languages_[id]; }
  // The texts of `kind` kept for `id`, ordered by language (one per
  // language), empty when there are none. Only after Group(); valid as long
  // as the statements.
  std::pair<const KeptText*, const KeptText*> Texts(TermId id, TextKind kind) const;

  // The anonymous node labelled `label`, made on first use.
  BlankId InternBlank(std::string_view label);
  BlankFacts& Blank(BlankId id) { return blanks_[id]; }
  const BlankFacts& Blank(BlankId id) const { return blanks_[id]; }
  // The expression facts of anonymous node `id`, made on first use (valid
  // until the next call); null from the const form when it has none.
  ExpressionFacts& Expression(BlankId id);
  const ExpressionFacts* FindExpression(BlankId id) const {
    const uint32_t at = blanks_[id].expression;
    return at == BlankFacts::kNoExpression ? nullptr : &expressions_[at];
  }

  // kRange: rdfs:range, every one holds; kRangeAny: schema:rangeIncludes
  // and the members of a union range, any one holds; kMember: a class and
  // the IRIs typed with it (rdf:type of a type that means nothing else to
  // the loader), the individuals of enumerations.
  enum class Relation { kSubClassOf, kDomain, kRange, kRangeAny, kMember };
  static constexpr int kRelations = 5;

  // A domain or range that is an anonymous class expression, as met;
  // ResolveClassExpressions puts them in an order of the graph, drops
  // repeats and turns the unions among them into relations.
  struct AnonymousUse {
    TermId property;
    Relation relation;  // kDomain, kRange or kRangeAny
    BlankId node;
  };
  std::vector<AnonymousUse> anonymousUses;

  // An anonymous class expression in a class's rdfs:subClassOf or
  // owl:equivalentClass, as met; ResolveClassExpressions puts them in an
  // order of the graph, drops repeats and turns the restrictions among them
  // into `restrictions`.
  struct ClassUse {
    TermId cls;
    BlankId node;
    bool equivalent;  // owl:equivalentClass, else rdfs:subClassOf
  };
  std::vector<ClassUse> classUses;

  // A restriction on `property` that class `cls` is a subclass of: its
  // filler (a class or datatype IRI; kNoTerm when the property's own range
  // is to decide), the counts it gives, and the enumeration (an index in
  // `enumerations`, or kNoEnumeration) that its filler is. Kept after Group().
  static constexpr uint32_t kNoEnumeration = UINT32_MAX;
  struct Restriction {
    TermId cls;
    TermId property;
    TermId filler;
    uint32_t min;
    uint32_t max;
    uint32_t enumeration = kNoEnumeration;
  };
  std::vector<Restriction> restrictions;

  // The owl:oneOf enumerations that are ranges of properties, fillers of
  // restrictions or definitions of classes, their values copied out.
  // `property` is the property whose range it is, kNoTerm for a filler or a
  // class; `cls` the class it defines (directly, or as owl:equivalentClass),
  // kNoTerm for the others. Kept after Group().
  struct Enumeration {
    TermId property;
    std::vector<QAX::Ontology::AttrValue> values;
    TermId cls = kNoTerm;
  };
  std::vector<Enumeration> enumerations;

  // A node shape's property shapes (`shape sh:property node`) and the
  // classes it targets (`shape sh:targetClass cls`), as met; let go of by
  // Group().
  struct ShapeUse {
    TermId shape;
    BlankId node;
  };
  std::vector<ShapeUse> shapeUses;
  std::vector<std::pair<TermId, TermId>> shapeTargets;
  // The most values of `property` that a shape the vocabulary states for
  // class `cls` allows (sh:maxCount), once per statement of it;
  // ResolveShapeCounts makes them. Kept after Group().
  struct ShapeCount {
    TermId cls;
    TermId property;
    uint32_t max;
  };
  std::vector<ShapeCount> shapeCounts;
  // A class given as `cls owl:oneOf LIST`, the list's first cell as met;
  // ResolveClassExpressions turns each into an enumeration of the class.
  struct ClassOneOf {
    TermId cls;
    NodeRef list;
  };
  std::vector<ClassOneOf> classOneOfs;

  // Keeps a literal that a list holds and answers its number; Literal(id)
  // gives it back until Group(). `language` is kept in lower case, and the
  // datatype xsd:string as none, so that one literal of the graph is kept
  // alike from every syntax (RDF compares tags whatever their case, and a
  // plain literal is an xsd:string).
  uint32_t KeepLiteral(std::string_view text, std::string_view datatype, std::string_view language);
  const KeptLiteral& Literal(uint32_t id) const { return literals_[id]; }

  // What names an ontology's own namespace: the subjects typed owl:Ontology,
  // and the vann:preferredNamespacePrefix and vann:preferredNamespaceUri of
  // any subject, as met (repeats included): their users treat them as sets.
  struct NamespaceNote {
    TermId subject;
    std::string text;
  };
  std::vector<TermId> ontologies;
  std::vector<NamespaceNote> preferredPrefixes;
  std::vector<NamespaceNote> preferredNamespaces;

  // One term named in another's place (dcterms:isReplacedBy,
  // schema:supersededBy; owl:equivalentClass and owl:equivalentProperty,
  // recorded both ways round). Once grouped: ordered by `from`, then `how`,
  // then `to` (IRI order), without repeats.
  struct Succession {
    TermId from;
    TermId to;
    uint8_t how;  // a QAX::Ontology::TermSuccession
  };
  std::vector<Succession> successions;
  // Records that `to` is named in place of `from`. Only before Group().
  void NoteSuccessor(TermId from, TermId to, uint8_t how);

  // Records that `subject` has `object` for `relation` (rdfs:subClassOf; a
  // domain: rdfs:domain or schema:domainIncludes; a range: rdfs:range or
  // schema:rangeIncludes). Only before Group().
  void Relate(Relation relation, TermId subject, TermId object);
  // Renumbers the terms in IRI order (every TermId kept here and in the
  // public lists above changes with it), gathers the relations by subject,
  // dropping repeats, and lets go of what only gathering needs: the indexes
  // of IRIs and labels, the anonymous nodes, their facts and their uses.
  // Once only, after the last Relate and after class expressions are
  // resolved; Related is answered from then on, and nothing may be
  // interned. Costs O(n log n) for n terms and relations; what it holds
  // for the renumbering (8 bytes a term) is charged while it is held.
  void Group();
  // The objects `subject` has for `relation`, in IRI order. Only after
  // Group().
  TermList Related(Relation relation, TermId subject) const;

  // The empty prefix's namespace (`@prefix : <...>`, RDF/XML's default
  // namespace) when the document declares exactly one, however often;
  // empty when it declares none or several. Other prefixes name nothing:
  // a document's prefixes are not part of its graph.
  void NotePrefix(std::string_view name, std::string_view iri);
  const std::string& EmptyPrefixNamespace() const {
    return severalEmptyPrefixes_ ? noNamespace_ : emptyPrefix_;
  }
  // Every statement read, relevant or not.
  std::size_t statementCount = 0;

 private:
  enum : uint8_t {
    kClass = 1,
    kProperty = 2,
    kDatatype = 4,
    kObjectProperty = 8,
    kDatatypeProperty = 16,
    kNamedIndividual = 32,
    kFunctional = 64,
    kNodeShape = 128
  };

  // The first block of textCopies_: small, since Group() cuts only the last
  // block and many vocabularies have few texts.
  static constexpr std::size_t kFirstTextCopiesBytes = 128;

  // Intern without looking at the IRI interned last.
  TermId InternAnew(std::string_view iri);
  // Keeps, of each subject's texts of one kind, those of the best source,
  // ordered by subject, kind and language, and lets go of the table that
  // found them (Group(), after renumbering). O(n log n) for n texts kept.
  void GroupTexts();
  // The slot of textSlots_ that holds, or would hold, the text of
  // (subject, kind, language). The table must have an empty slot.
  std::size_t TextSlot(TermId subject, TextKind kind, uint32_t language) const;
  // The number of the lower-case tag `language`, kept once.
  uint32_t InternLanguage(std::string_view language);
  // A key of (subject, kind), and how Texts() finds a key among the texts
  // grouped.
  static uint64_t SubjectKind(TermId subject, TextKind kind);
  struct TextOrder {
    bool operator()(const KeptText& a, uint64_t key) const;
    bool operator()(uint64_t key, const KeptText& b) const;
  };

  // One relation's objects, grouped by subject: those of subject s are
  // objects[offsets[s]] to objects[offsets[s + 1]] (offsets is empty when
  // the relation has no pairs).
  struct Grouped {
    std::vector<uint32_t> offsets;
    std::vector<TermId> objects;
  };
  // Puts every TermId in IRI order (Group()).
  void RenumberByIri();

  LoadBudget& budget_;
  std::string emptyPrefix_;
  std::string noNamespace_;
  bool severalEmptyPrefixes_ = false;
  std::string lowered_;                // a language tag in lower case, reused
  std::size_t blankBytes_ = 0;         // charged for anonymous nodes
  TextArena texts_;                    // IRIs, blank labels, literals, tags
  std::deque<std::string_view> iris_;  // grows without copying what it holds
  QAX::Util::NameIndex irisByName_;
  // The two IRIs interned last, the latest first, and their ids.
  std::string_view recentIris_[2];
  TermId recentIds_[2] = {0, 0};
  std::vector<uint8_t> flags_;
  // Until Group(), the best text so far of each (subject, kind, language)
  // met, found through textSlots_; then those kept (GroupTexts).
  std::vector<KeptText> keptTexts_;
  // An open-addressing table of positions in keptTexts_ (kNoText when
  // empty), a power of two in size and at most half full. Until Group().
  std::vector<uint32_t> textSlots_;
  // The copies of the texts in keptTexts_ (and, until the load ends, of those they replaced and of
  // those Group() drops), apart from texts_ so that Group() can cut its
  // last block to what it holds.
  TextArena textCopies_{kFirstTextCopiesBytes};
  // The language tags met, each once, and how they are found until Group().
  std::vector<std::string_view> languages_;
  QAX::Util::NameIndex languagesByName_;
  std::deque<std::string_view> blankLabels_;
  QAX::Util::NameIndex blanksByLabel_;
  std::deque<BlankFacts> blanks_;
  std::vector<ExpressionFacts> expressions_;
  std::vector<KeptLiteral> literals_;
  std::vector<TermId> classes_;
  std::vector<TermId> properties_;
  // Before Group(): per relation, the (subject, object) pairs in the order
  // they were related, repeats included.
  std::vector<std::pair<TermId, TermId>> pairs_[kRelations];
  Grouped grouped_[kRelations];
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_RDFSTATEMENTS_H_
