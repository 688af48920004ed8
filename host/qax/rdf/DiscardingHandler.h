// A handler that keeps nothing: for parsing a document again only to place
// an error. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_DISCARDINGHANDLER_H_
#define QAX_HOST_QAX_RDF_DISCARDINGHANDLER_H_

#include <cstddef>
#include <string_view>

#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/TripleHandler.h"

namespace qaxoi::rdf {

// Takes every prefix and statement and keeps none, so its budget is never
// exhausted.
class DiscardingHandler final : public TripleHandler {
 public:
  explicit DiscardingHandler(std::size_t documentBytes) : budget_(documentBytes) {}

  void Prefix(std::string_view /*name*/, std::string_view /*iri*/) override {}
  void Statement(const Term& /*subject*/, std::string_view /*predicate*/,
                 const Term& /*object*/) override {}
  const LoadBudget& Budget() const override { return budget_; }

 private:
  LoadBudget budget_;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_DISCARDINGHANDLER_H_
