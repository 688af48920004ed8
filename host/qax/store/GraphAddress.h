// Where a named graph lives in a store that speaks the SPARQL 1.1 Graph
// Store HTTP Protocol.
#ifndef QAX_HOST_QAX_STORE_GRAPHADDRESS_H_
#define QAX_HOST_QAX_STORE_GRAPHADDRESS_H_

#include <string>

#include "host/qax/QAXExport.h"
#include "host/status/Status.h"

namespace qaxoi::store {

struct QAX_API GraphAddress {
  // The store's Graph Store Protocol endpoint, without the graph parameter
  // (Virtuoso: http://HOST:PORT/sparql-graph-crud; Fuseki: .../DATASET/data;
  // Oxigraph: .../store).
  std::string endpoint;
  // The graph's IRI.
  std::string graph;
  // The request URL: the endpoint with "graph=<IRI>" added, percent-encoded.
  std::string Url() const;
};

// Splits `storeUrl` into the endpoint and a graph given in its query
// ("graph=IRI", or "graph-uri=IRI" as Virtuoso's endpoint documents it),
// and takes `graph` when the URL names none. Fails with kInvalidArgument
// when the URL is no http or https URL, carries credentials (they belong in
// a .netrc file or the environment, not in a URL that messages repeat),
// names a graph that `graph` contradicts, or neither names one, or when the
// graph is no absolute IRI.
QAX_API qaxoi::Status ResolveGraphAddress(const std::string& storeUrl, const std::string& graph,
                                          GraphAddress* address);

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_GRAPHADDRESS_H_
