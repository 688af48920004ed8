// Optimistic concurrency for a published graph: the graph carries its
// version, and a publish that expects a version replaces the graph only
// when the graph still carries it.
#ifndef QAX_HOST_QAX_STORE_VERSIONEDPUBLISH_H_
#define QAX_HOST_QAX_STORE_VERSIONEDPUBLISH_H_

#include <cstdint>
#include <optional>
#include <string>

#include "host/qax/QAXExport.h"
#include "host/qax/store/StoreClient.h"
#include "host/status/Status.h"

namespace qaxoi::store {

// The statement "<graph> <kVersionPredicate> N" (an xsd:integer) that a
// versioned publish writes into the graph, and the publish's own token.
inline constexpr const char* kVersionPredicate = "urn:qax:store:version";
inline constexpr const char* kPublicationPredicate = "urn:qax:store:publication";
// Where a versioned publish notes, for the length of its request, that the
// check held: "<graph> <kPublicationPredicate> token", taken out again by
// the same request.
inline constexpr const char* kClaimsGraph = "urn:qax:store:claims";

struct PublishOutcome {
  // True when this publish replaced the graph, which now carries
  // `expected` + 1.
  bool replaced = false;
  // The version the graph carries after the request: `expected` + 1 when
  // replaced, else what another publish left (nullopt: the graph carries
  // no version; it is absent, empty, or published without one).
  std::optional<std::uint64_t> found;
};

// Replaces the graph `graph` with the statements `ntriples` (N-Triples) and
// the version `expected` + 1, if the graph carries version `expected` (0:
// carries no version). The check and the replacement are one SPARQL update
// request to `sparqlEndpoint` (docs/store.md shows it), so a store that runs a request as one
// transaction lets at most one of several racing publishes with the same
// expectation win; a second request reads the version back and tells this
// publish whether it won. Fails (store errors as StoreClient says) with
// `outcome` unchanged; a publish that lost is no failure: `outcome` says so.
QAX_API qaxoi::Status PublishIfVersion(StoreClient& client, const std::string& sparqlEndpoint,
                                       const std::string& graph, const std::string& ntriples,
                                       std::uint64_t expected, PublishOutcome* outcome);

// Replaces the graph `graph` with the statements `ntriples` (N-Triples) in
// one SPARQL update request to `sparqlEndpoint` (DROP SILENT of the graph,
// then INSERT of the statements), for stores whose Graph Store Protocol PUT is not one
// transaction under concurrent writers (Virtuoso 7 leaves the union of two
// racing PUTs) but which run an update request as one. The graph carries no
// version afterwards. Fails as StoreClient::Update does.
QAX_API qaxoi::Status ReplaceGraph(StoreClient& client, const std::string& sparqlEndpoint,
                                   const std::string& graph, const std::string& ntriples);

// The version the graph carries (nullopt: none), read through a query.
QAX_API qaxoi::Status ReadGraphVersion(StoreClient& client, const std::string& sparqlEndpoint,
                                       const std::string& graph,
                                       std::optional<std::uint64_t>* version);

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_VERSIONEDPUBLISH_H_
