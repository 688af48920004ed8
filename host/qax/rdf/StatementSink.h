// Where every RDF parser hands the statements it reads: keeps what matters to
// an ontology model in RdfStatements. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_STATEMENTSINK_H_
#define QAX_HOST_QAX_RDF_STATEMENTSINK_H_

#include <string_view>

#include "host/qax/rdf/RdfStatements.h"
#include "host/qax/rdf/VocabularyTerms.h"

namespace QAX {
namespace Ontology {
namespace Rdf {

// One term of a statement as a parser hands it over. The views are the
// parser's and need to stay valid only during the call.
struct Term {
  enum class Kind : uint8_t { kIri, kBlank, kLiteral };
  Kind kind = Kind::kIri;
  // An absolute IRI (kIri), a blank node's label, unique within the document
  // (kBlank), or a literal's lexical form (kLiteral).
  std::string_view text;
  // A literal's language tag; empty when it has none.
  std::string_view language;
  // A literal's datatype IRI; empty for a plain or language-tagged literal.
  std::string_view datatype;

  static Term Iri(std::string_view iri) { return Term{Kind::kIri, iri, {}, {}}; }
  static Term Blank(std::string_view label) { return Term{Kind::kBlank, label, {}, {}}; }
  static Term Literal(std::string_view text, std::string_view language,
                      std::string_view datatype = {}) {
    return Term{Kind::kLiteral, text, language, datatype};
  }
};

// Gathers statements into `out`, which must outlive the sink. The parsers
// resolve every IRI before handing it over, so the sink sees only absolute
// IRIs, and tells the sink what they read in document order. What the sink
// keeps is charged to the statements' budget; the parser checks
// `out.Budget().Exhausted()` after each call and stops reading once it is.
// Every function throws std::bad_alloc when memory runs out; the statements
// must then be thrown away.
class StatementSink {
 public:
  explicit StatementSink(RdfStatements& out) : out_(out) {}

  // A namespace prefix declared as `name` (empty for the default prefix).
  void Prefix(std::string_view name, std::string_view iri);

  // One statement. `subject` is an IRI or a blank node; `predicate` an
  // absolute IRI.
  void Statement(const Term& subject, std::string_view predicate, const Term& object);

 private:
  void AboutIri(std::string_view subject, std::string_view predicate, const Term& object);
  void AboutBlank(std::string_view subject, std::string_view predicate, const Term& object);
  // The object of a statement about an anonymous node, as class expressions
  // use it; a literal is kept (RdfStatements::KeepLiteral) when
  // `keepLiteral`, else is kOther.
  NodeRef Ref(const Term& object, bool keepLiteral = false);
  // What a restriction's or intersection's statement says about `node`.
  void AboutExpression(BlankId node, Predicate predicate, const Term& object);
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

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDF_STATEMENTSINK_H_
