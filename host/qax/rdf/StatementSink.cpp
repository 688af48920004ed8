#include "host/qax/rdf/StatementSink.h"

#include <cstring>

namespace qaxoi::rdf {
namespace {

// The count a cardinality literal gives: its decimal digits, held at
// kLargestCount when larger; false for anything but digits.
constexpr uint32_t kLargestCount = ExpressionFacts::kUnbounded - 1;
bool ReadCount(const Term& object, uint32_t* count) {
  if (object.kind != Term::Kind::kLiteral || object.text.empty()) return false;
  uint64_t value = 0;
  for (const char c : object.text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > kLargestCount) value = kLargestCount;
  }
  *count = static_cast<uint32_t>(value);
  return true;
}

// What a term of QAX::Ontology::TermSuccession's numbers is recorded as
// (the model layer's enum is not needed here).
constexpr uint8_t kReplacedBy = 0;
constexpr uint8_t kEquivalent = 1;

// The kind and source of a text that `predicate` gives; false for a
// predicate that gives none.
bool TextOf(Predicate predicate, RdfStatements::TextKind* kind, RdfStatements::TextSource* source) {
  using Kind = RdfStatements::TextKind;
  using Source = RdfStatements::TextSource;
  switch (predicate) {
    case Predicate::kLabel:
      *kind = Kind::kLabel;
      *source = Source::kFirst;
      return true;
    case Predicate::kPrefLabel:
      *kind = Kind::kLabel;
      *source = Source::kSecond;
      return true;
    case Predicate::kComment:
      *kind = Kind::kDoc;
      *source = Source::kFirst;
      return true;
    case Predicate::kDefinition:
      *kind = Kind::kDoc;
      *source = Source::kSecond;
      return true;
    case Predicate::kDescription:
      *kind = Kind::kDoc;
      *source = Source::kThird;
      return true;
    default:
      return false;
  }
}

}  // namespace

Predicate StatementSink::Classify(std::string_view predicate) {
  if (predicate.empty() || predicate.size() > kRememberedBytes) return ClassifyPredicate(predicate);
  constexpr std::size_t kSpread = 7;
  RememberedPredicate& slot =
      remembered_[(predicate.size() ^ (kSpread * static_cast<unsigned char>(predicate.back()))) %
                  kRememberedPredicates];
  if (slot.size == predicate.size() &&
      std::memcmp(slot.iri, predicate.data(), predicate.size()) == 0) {
    return slot.predicate;
  }
  slot.predicate = ClassifyPredicate(predicate);
  slot.size = predicate.size();
  std::memcpy(slot.iri, predicate.data(), predicate.size());
  return slot.predicate;
}

void StatementSink::Prefix(std::string_view name, std::string_view iri) {
  // The parser keeps every declaration; the statements keep the empty
  // prefix's namespace alone.
  out_.Budget().Charge(LoadBudget::kPrefixBytes + name.size() + iri.size());
  out_.NotePrefix(name, iri);
}

bool StatementSink::Same(NodeRef a, NodeRef b) const {
  if (a.kind != b.kind) return false;
  if (a.kind == NodeRef::Kind::kLiteral) {
    const KeptLiteral& x = out_.Literal(a.id);
    const KeptLiteral& y = out_.Literal(b.id);
    return x.text == y.text && x.datatype == y.datatype && x.language == y.language;
  }
  return a.kind == NodeRef::Kind::kNil || a.kind == NodeRef::Kind::kOther || a.id == b.id;
}

void StatementSink::KeepFiller(NodeRef& kept, bool* severalAnonymous, NodeRef value) const {
  if (value.kind == NodeRef::Kind::kIri) {
    if (kept.kind != NodeRef::Kind::kIri || out_.Iri(value.id) < out_.Iri(kept.id)) kept = value;
  } else if (value.kind == NodeRef::Kind::kBlank) {
    if (kept.kind == NodeRef::Kind::kOther) {
      kept = value;
    } else if (kept.kind == NodeRef::Kind::kBlank && kept.id != value.id &&
               severalAnonymous != nullptr) {
      *severalAnonymous = true;
    }
  }
}

void StatementSink::Statement(const Term& subject, std::string_view predicate, const Term& object) {
  ++out_.statementCount;
  if (subject.kind == Term::Kind::kBlank) {
    AboutBlank(subject.text, predicate, object);
  } else {
    AboutIri(subject.text, predicate, object);
  }
}

void StatementSink::AboutIri(std::string_view subjectIri, std::string_view predicateIri,
                             const Term& object) {
  const Predicate predicate = Classify(predicateIri);
  if (predicate == Predicate::kOther) return;
  RdfStatements::TextKind textKind = RdfStatements::TextKind::kDoc;
  RdfStatements::TextSource textSource = RdfStatements::TextSource::kFirst;
  if (TextOf(predicate, &textKind, &textSource)) {
    if (object.kind != Term::Kind::kLiteral) return;
    // Kept for any subject, the best texts only: whether the subject is a
    // class or property may be told later in the document.
    out_.NoteText(out_.Intern(subjectIri), textKind, textSource, object.text, object.language);
    return;
  }
  if (predicate == Predicate::kReplacedBy || predicate == Predicate::kEquivalentProperty ||
      (predicate == Predicate::kEquivalentClass && object.kind == Term::Kind::kIri)) {
    // Named terms only: an anonymous one has no IRI to be named by.
    if (object.kind != Term::Kind::kIri) return;
    const TermId from = out_.Intern(subjectIri);
    const TermId to = out_.Intern(object.text);
    if (predicate == Predicate::kReplacedBy) {
      out_.NoteSuccessor(from, to, kReplacedBy);
    } else {
      out_.NoteSuccessor(from, to, kEquivalent);
      out_.NoteSuccessor(to, from, kEquivalent);
    }
    return;
  }
  if (predicate == Predicate::kPreferredPrefix || predicate == Predicate::kPreferredNamespace) {
    if (object.kind == Term::Kind::kBlank) return;
    out_.Budget().Charge(2 * (sizeof(RdfStatements::NamespaceNote) + object.text.size()));
    (predicate == Predicate::kPreferredPrefix ? out_.preferredPrefixes : out_.preferredNamespaces)
        .push_back(RdfStatements::NamespaceNote{out_.Intern(subjectIri), std::string(object.text)});
    return;
  }
  if ((predicate == Predicate::kSubClassOf || predicate == Predicate::kEquivalentClass) &&
      object.kind == Term::Kind::kBlank) {
    // Restrictions and intersections, resolved once the whole document is
    // read.
    out_.Budget().Charge(2 * sizeof(RdfStatements::ClassUse));
    const TermId cls = out_.Intern(subjectIri);
    out_.classUses.push_back(RdfStatements::ClassUse{cls, out_.InternBlank(object.text),
                                                     predicate == Predicate::kEquivalentClass});
    return;
  }
  if (predicate == Predicate::kOneOf && object.kind == Term::Kind::kBlank) {
    // A class defined by its individuals; the list is walked once the whole
    // document is read.
    out_.Budget().Charge(2 * sizeof(RdfStatements::ClassOneOf));
    const TermId cls = out_.Intern(subjectIri);
    out_.classOneOfs.push_back(RdfStatements::ClassOneOf{
        cls, NodeRef{NodeRef::Kind::kBlank, out_.InternBlank(object.text)}});
    return;
  }
  if ((predicate == Predicate::kDomain || predicate == Predicate::kRange ||
       predicate == Predicate::kRangeIncludes) &&
      object.kind == Term::Kind::kBlank) {
    // An anonymous class expression: resolved once the whole document is
    // read, since its statements may come in any order.
    out_.Budget().Charge(2 * sizeof(RdfStatements::AnonymousUse));
    const RdfStatements::Relation relation =
        predicate == Predicate::kDomain  ? RdfStatements::Relation::kDomain
        : predicate == Predicate::kRange ? RdfStatements::Relation::kRange
                                         : RdfStatements::Relation::kRangeAny;
    out_.anonymousUses.push_back(RdfStatements::AnonymousUse{out_.Intern(subjectIri), relation,
                                                             out_.InternBlank(object.text)});
    return;
  }
  if (predicate == Predicate::kShapeProperty) {
    // A property shape: what it says is read once the whole document is.
    if (object.kind != Term::Kind::kBlank) return;
    out_.Budget().Charge(2 * sizeof(RdfStatements::ShapeUse));
    const TermId shape = out_.Intern(subjectIri);
    out_.shapeUses.push_back(RdfStatements::ShapeUse{shape, out_.InternBlank(object.text)});
    return;
  }
  if (object.kind != Term::Kind::kIri) return;  // literals and blank nodes name nothing here
  const TermId subject = out_.Intern(subjectIri);
  switch (predicate) {
    case Predicate::kType:
      switch (ClassifyType(object.text)) {
        case TypeMeaning::kClass:
          out_.MarkClass(subject);
          break;
        case TypeMeaning::kProperty:
          out_.MarkProperty(subject);
          break;
        case TypeMeaning::kObjectProperty:
          out_.MarkProperty(subject);
          out_.MarkObjectProperty(subject);
          break;
        case TypeMeaning::kDatatypeProperty:
          out_.MarkProperty(subject);
          out_.MarkDatatypeProperty(subject);
          break;
        case TypeMeaning::kNamedIndividual:
          out_.MarkNamedIndividual(subject);
          break;
        case TypeMeaning::kDatatype:
          out_.MarkDatatype(subject);
          break;
        case TypeMeaning::kFunctional:
          out_.MarkFunctional(subject);
          break;
        case TypeMeaning::kNodeShape:
          out_.MarkNodeShape(subject);
          break;
        case TypeMeaning::kOntology:
          out_.Budget().Charge(2 * sizeof(TermId));
          out_.ontologies.push_back(subject);
          break;
        case TypeMeaning::kOther:
          // A member of a class: a possible value of an enumeration.
          out_.Relate(RdfStatements::Relation::kMember, out_.Intern(object.text), subject);
          break;
        case TypeMeaning::kRestriction:
          break;
      }
      break;
    case Predicate::kSubClassOf:
      out_.Relate(RdfStatements::Relation::kSubClassOf, subject, out_.Intern(object.text));
      break;
    case Predicate::kDomain:
      out_.Relate(RdfStatements::Relation::kDomain, subject, out_.Intern(object.text));
      break;
    case Predicate::kRange:
      out_.Relate(RdfStatements::Relation::kRange, subject, out_.Intern(object.text));
      break;
    case Predicate::kRangeIncludes:
      out_.Relate(RdfStatements::Relation::kRangeAny, subject, out_.Intern(object.text));
      break;
    case Predicate::kTargetClass: {
      const TermId cls = out_.Intern(object.text);
      out_.Budget().Charge(2 * sizeof(std::pair<TermId, TermId>));
      out_.shapeTargets.emplace_back(subject, cls);
      break;
    }
    default:  // the parts of class expressions, which only anonymous nodes have here
      break;
  }
}

NodeRef StatementSink::Ref(const Term& object, bool keepLiteral) {
  switch (object.kind) {
    case Term::Kind::kBlank:
      return NodeRef{NodeRef::Kind::kBlank, out_.InternBlank(object.text)};
    case Term::Kind::kLiteral:
      if (keepLiteral) {
        return NodeRef{NodeRef::Kind::kLiteral,
                       out_.KeepLiteral(object.text, object.datatype, object.language)};
      }
      return NodeRef{NodeRef::Kind::kOther, 0};
    case Term::Kind::kIri:
      break;
  }
  if (object.text == Iri::kRdfNil) return NodeRef{NodeRef::Kind::kNil, 0};
  return NodeRef{NodeRef::Kind::kIri, out_.Intern(object.text)};
}

// Keeps what class expressions are made of: list cells, unions, the marks of
// the other kinds of anonymous class, and what restrictions, intersections
// and datatype restrictions say.
void StatementSink::AboutBlank(std::string_view subject, std::string_view predicateIri,
                               const Term& object) {
  const Predicate predicate = Classify(predicateIri);
  switch (predicate) {
    case Predicate::kOther:
    case Predicate::kComment:
    case Predicate::kDefinition:
    case Predicate::kDescription:
    case Predicate::kLabel:
    case Predicate::kPrefLabel:
    case Predicate::kSubClassOf:
    case Predicate::kDomain:
    case Predicate::kRange:
    case Predicate::kRangeIncludes:
    case Predicate::kEquivalentClass:
    case Predicate::kPreferredPrefix:
    case Predicate::kPreferredNamespace:
    case Predicate::kReplacedBy:
    case Predicate::kEquivalentProperty:
    case Predicate::kShapeProperty:
    case Predicate::kTargetClass:
      return;
    default:
      break;
  }
  if (predicate == Predicate::kType && !(object.kind == Term::Kind::kIri &&
                                         ClassifyType(object.text) == TypeMeaning::kRestriction)) {
    return;
  }
  // The object first: interning it may move the facts of the subject. A
  // list member's literal is kept, for enumerations (owl:oneOf).
  const NodeRef ref = Ref(object, predicate == Predicate::kFirst);
  const BlankId node = out_.InternBlank(subject);
  BlankFacts& facts = out_.Blank(node);
  const auto same = [this](NodeRef a, NodeRef b) { return Same(a, b); };
  switch (predicate) {
    case Predicate::kFirst:
      BlankFacts::Note(facts.first, facts.firsts, ref, same);
      break;
    case Predicate::kRest:
      BlankFacts::Note(facts.rest, facts.rests, ref, same);
      break;
    case Predicate::kUnionOf:
      BlankFacts::Note(facts.unionList, facts.unions, ref, same);
      break;
    case Predicate::kIntersectionOf:
      facts.marks |= BlankFacts::kIntersection;
      AboutExpression(node, predicate, object);
      break;
    case Predicate::kComplementOf:
      facts.marks |= BlankFacts::kComplement;
      break;
    case Predicate::kOneOf:
      facts.marks |= BlankFacts::kOneOf;
      AboutExpression(node, predicate, object);
      break;
    case Predicate::kType:
      facts.marks |= BlankFacts::kRestriction;
      break;
    case Predicate::kOnProperty:
      facts.marks |= BlankFacts::kRestriction;
      AboutExpression(node, predicate, object);
      break;
    case Predicate::kOnDatatype:
      facts.marks |= BlankFacts::kDatatypeRestriction;
      AboutExpression(node, predicate, object);
      break;
    case Predicate::kShapePath:
      // A property shape's property, kept where a restriction keeps its
      // own; the node is no restriction.
      AboutExpression(node, Predicate::kOnProperty, object);
      break;
    case Predicate::kShapeMaxCount:
      AboutExpression(node, Predicate::kMaxCardinality, object);
      break;
    default:  // the constraints of restrictions
      AboutExpression(node, predicate, object);
      break;
  }
}

void StatementSink::AboutExpression(BlankId node, Predicate predicate, const Term& object) {
  // A literal's datatype names the kind of an owl:hasValue: interned before
  // the facts are taken, since interning may move them. A plain literal is
  // an xsd:string, a tagged one an rdf:langString.
  NodeRef ref;
  if (predicate == Predicate::kHasValue && object.kind == Term::Kind::kLiteral) {
    const std::string_view datatype = !object.datatype.empty()  ? object.datatype
                                      : object.language.empty() ? Iri::kXsdString
                                                                : Iri::kRdfLangString;
    ref = NodeRef{NodeRef::Kind::kIri, out_.Intern(datatype)};
  } else {
    ref = Ref(object);
  }
  ExpressionFacts& facts = out_.Expression(node);
  const auto keep = [this, &facts](NodeRef& kept, NodeRef value) {
    KeepFiller(kept, &kept == &facts.filler ? &facts.anonymousFillers : nullptr, value);
  };
  const auto same = [this](NodeRef a, NodeRef b) { return Same(a, b); };
  uint32_t count = 0;
  switch (predicate) {
    case Predicate::kOnProperty:
      BlankFacts::Note(facts.property, facts.properties, ref, same);
      break;
    case Predicate::kIntersectionOf:
      BlankFacts::Note(facts.intersection, facts.intersections, ref, same);
      break;
    case Predicate::kOneOf:
      BlankFacts::Note(facts.oneOf, facts.oneOfs, ref, same);
      break;
    case Predicate::kOnDatatype:
      keep(facts.baseDatatype, ref);
      break;
    case Predicate::kSomeValuesFrom:
      facts.constraints |= ExpressionFacts::kSome;
      facts.min = facts.min > 1 ? facts.min : 1;
      keep(facts.filler, ref);
      break;
    case Predicate::kAllValuesFrom:
      facts.constraints |= ExpressionFacts::kAll;
      keep(facts.filler, ref);
      break;
    case Predicate::kHasValue:
      // An individual's class is not known here: an IRI value leaves the
      // filler to the property's range.
      facts.constraints |= ExpressionFacts::kValue;
      facts.min = facts.min > 1 ? facts.min : 1;
      if (object.kind == Term::Kind::kLiteral) keep(facts.filler, ref);
      break;
    case Predicate::kOnClass:
      keep(facts.filler, ref);
      break;
    case Predicate::kMinCardinality:
    case Predicate::kMaxCardinality:
    case Predicate::kCardinality:
      facts.constraints |= ExpressionFacts::kCount;
      if (!ReadCount(object, &count)) break;
      if (predicate != Predicate::kMaxCardinality && count > facts.min) facts.min = count;
      if (predicate != Predicate::kMinCardinality && count < facts.max) facts.max = count;
      break;
    default:
      break;
  }
}

}  // namespace qaxoi::rdf
