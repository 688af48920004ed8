// The answer of a SPARQL query: a table of bindings, or the boolean of ASK.
#ifndef QAX_HOST_QAX_STORE_QUERYRESULTS_H_
#define QAX_HOST_QAX_STORE_QUERYRESULTS_H_

#include <string>
#include <vector>

namespace qaxoi::store {

// One RDF term of an answer, as the SPARQL results format gives it.
struct ResultTerm {
  enum class Kind { kUnbound, kIri, kLiteral, kBlank };
  Kind kind = Kind::kUnbound;
  // The IRI, the literal's lexical form or the blank node's label.
  std::string value;
  // A literal's datatype IRI (empty for a plain or language-tagged string).
  std::string datatype;
  // A literal's language tag, or empty.
  std::string language;
};

struct QueryResults {
  // True for the answer of ASK: `boolean` holds it, the table is empty.
  bool isBoolean = false;
  bool boolean = false;
  // The variables in the order the query selects them, without "?".
  std::vector<std::string> variables;
  // One row per solution, one term per variable (kUnbound where the
  // solution binds none).
  std::vector<std::vector<ResultTerm>> rows;
};

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_QUERYRESULTS_H_
