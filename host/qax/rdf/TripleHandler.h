// Where the RDF parsers hand what they read. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_TRIPLEHANDLER_H_
#define QAX_HOST_QAX_RDF_TRIPLEHANDLER_H_

#include <string_view>

#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/Term.h"

namespace qaxoi::rdf {

// What a parser tells, in document order: prefix declarations and
// statements. The parsers resolve every IRI before handing it over, so a
// handler sees only absolute IRIs. A handler charges what it keeps to its
// budget; the parser checks Budget().Exhausted() after each call and stops
// reading once it is. A handler may throw std::bad_alloc; the parser then
// frees what it holds and lets it through.
class TripleHandler {
 public:
  virtual ~TripleHandler() = default;

  // A namespace prefix declared as `name` (empty for the default prefix).
  virtual void Prefix(std::string_view name, std::string_view iri) = 0;

  // One statement. `subject` is an IRI or a blank node; `predicate` an
  // absolute IRI.
  virtual void Statement(const Term& subject, std::string_view predicate, const Term& object) = 0;

  // What the handler has spent of the load's allowance.
  virtual const LoadBudget& Budget() const = 0;

 protected:
  TripleHandler() = default;
  TripleHandler(const TripleHandler&) = default;
  TripleHandler& operator=(const TripleHandler&) = default;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_TRIPLEHANDLER_H_
