// Where every RDF parser hands the statements it reads: keeps what matters to
// an ontology model in RdfStatements. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_STATEMENTSINK_H_
#define QAX_HOST_QAX_RDF_STATEMENTSINK_H_

#include <string_view>

#include "host/qax/rdf/RdfStatements.h"
#include "host/qax/rdf/Term.h"
#include "host/qax/rdf/TripleHandler.h"
#include "host/qax/rdf/VocabularyTerms.h"

namespace qaxoi::rdf {

// Gathers what matters to an ontology model into `out`, which must outlive
// the sink. What the sink keeps is charged to the statements' budget. Every
// function throws std::bad_alloc when memory runs out; the statements must
// then be thrown away.
class StatementSink final : public TripleHandler {
 public:
  explicit StatementSink(RdfStatements& out) : out_(out) {}

  void Prefix(std::string_view name, std::string_view iri) override;
  void Statement(const Term& subject, std::string_view predicate, const Term& object) override;
  const LoadBudget& Budget() const override { return out_.Budget(); }

 private:
  void AboutIri(std::string_view subject, std::string_view predicate, const Term& object);
  void AboutBlank(std::string_view subject, std::string_view predicate, const Term& object);
  // The object of a statement about an anonymous node, as class expressions
  // use it; a literal is kept (RdfStatements::KeepLiteral) when
  // `keepLiteral`, else is kOther.
  NodeRef Ref(const Term& object, bool keepLiteral = false);
  // What a restriction's or intersection's statement says about `node`.
  void AboutExpression(BlankId node, Predicate predicate, const Term& object);
  // True when `a` and `b` are one object of the graph.
  bool Same(NodeRef a, NodeRef b) const;
  // Keeps in `kept` the least IRI of those given, else the anonymous node
  // given, noting in `*severalAnonymous` (when not null) that two
  // different anonymous nodes were: the order of the statements decides
  // nothing.
  void KeepFiller(NodeRef& kept, bool* severalAnonymous, NodeRef value) const;
  // ClassifyPredicate(predicate), remembered for the predicates met lately:
  // a document uses few, each in many statements.
  Predicate Classify(std::string_view predicate);

  // A predicate remembered with its meaning, in a slot chosen by its size
  // and last byte; predicates longer than kRememberedBytes are classified
  // each time.
  static constexpr std::size_t kRememberedPredicates = 16;
  static constexpr std::size_t kRememberedBytes = 96;
  struct RememberedPredicate {
    std::size_t size = 0;  // 0: the slot is empty
    char iri[kRememberedBytes] = {};
    Predicate predicate = Predicate::kOther;
  };

  RdfStatements& out_;
  RememberedPredicate remembered_[kRememberedPredicates];
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_STATEMENTSINK_H_
