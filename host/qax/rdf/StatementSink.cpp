#include "host/qax/rdf/StatementSink.h"

#include "host/qax/rdf/VocabularyTerms.h"

namespace QAX {
namespace Ontology {
namespace Rdf {

void StatementSink::Prefix(std::string_view name, std::string_view iri) {
  out_.Budget().Charge(LoadBudget::kPrefixBytes + 2 * (name.size() + iri.size()));
  out_.prefixes.emplace_back(std::string(name), std::string(iri));
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
  const Predicate predicate = ClassifyPredicate(predicateIri);
  if (predicate == Predicate::kOther) return;
  if (predicate == Predicate::kComment) {
    if (object.kind != Term::Kind::kLiteral) return;
    out_.NoteComment(out_.Intern(subjectIri), object.text, object.language);
    return;
  }
  if ((predicate == Predicate::kDomain || predicate == Predicate::kRange) &&
      object.kind == Term::Kind::kBlank) {
    // An anonymous class expression: resolved once the whole document is
    // read, since its statements may come in any order.
    out_.Budget().Charge(2 * sizeof(RdfStatements::AnonymousUse));
    out_.anonymousUses.push_back(RdfStatements::AnonymousUse{out_.Intern(subjectIri),
                                                             predicate == Predicate::kDomain
                                                                 ? RdfStatements::Relation::kDomain
                                                                 : RdfStatements::Relation::kRange,
                                                             out_.InternBlank(object.text)});
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
        case TypeMeaning::kDatatype:
          out_.MarkDatatype(subject);
          break;
        case TypeMeaning::kRestriction:
        case TypeMeaning::kOther:
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
    default:  // the parts of class expressions, which only anonymous nodes have here
      break;
  }
}

NodeRef StatementSink::Ref(const Term& object) {
  switch (object.kind) {
    case Term::Kind::kBlank:
      return NodeRef{NodeRef::Kind::kBlank, out_.InternBlank(object.text)};
    case Term::Kind::kLiteral:
      return NodeRef{NodeRef::Kind::kOther, 0};
    case Term::Kind::kIri:
      break;
  }
  if (object.text == Iri::kRdfNil) return NodeRef{NodeRef::Kind::kNil, 0};
  return NodeRef{NodeRef::Kind::kIri, out_.Intern(object.text)};
}

// Keeps what class expressions are made of: list cells, unions, and the
// marks of the kinds of anonymous class that the loader ignores.
void StatementSink::AboutBlank(std::string_view subject, std::string_view predicateIri,
                               const Term& object) {
  const Predicate predicate = ClassifyPredicate(predicateIri);
  if (predicate == Predicate::kOther || predicate == Predicate::kComment ||
      predicate == Predicate::kSubClassOf || predicate == Predicate::kDomain ||
      predicate == Predicate::kRange) {
    return;
  }
  if (predicate == Predicate::kType && !(object.kind == Term::Kind::kIri &&
                                         ClassifyType(object.text) == TypeMeaning::kRestriction)) {
    return;
  }
  // The object first: interning it may move the facts of the subject.
  const NodeRef ref = Ref(object);
  BlankFacts& facts = out_.Blank(out_.InternBlank(subject));
  switch (predicate) {
    case Predicate::kFirst:
      BlankFacts::Note(facts.first, facts.firsts, ref);
      break;
    case Predicate::kRest:
      BlankFacts::Note(facts.rest, facts.rests, ref);
      break;
    case Predicate::kUnionOf:
      BlankFacts::Note(facts.unionList, facts.unions, ref);
      break;
    case Predicate::kIntersectionOf:
      facts.intersection = true;
      break;
    case Predicate::kComplementOf:
      facts.complement = true;
      break;
    case Predicate::kOneOf:
      facts.oneOf = true;
      break;
    case Predicate::kType:
    case Predicate::kOnProperty:
      facts.restriction = true;
      break;
    case Predicate::kOnDatatype:
      facts.datatypeRestriction = true;
      break;
    default:
      break;
  }
}

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX
