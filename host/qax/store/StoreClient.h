// A client of RDF stores through the SPARQL 1.1 protocols alone: the Graph
// Store HTTP Protocol for whole named graphs, the SPARQL 1.1 Protocol for
// queries and updates, and a plain GET for any RDF document on the web.
// Nothing in it is specific to one store.
#ifndef QAX_HOST_QAX_STORE_STORECLIENT_H_
#define QAX_HOST_QAX_STORE_STORECLIENT_H_

#include <memory>
#include <string>

#include "host/qax/QAXExport.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/qax/store/GraphAddress.h"
#include "host/qax/store/QueryResults.h"
#include "host/qax/store/StoreOptions.h"
#include "host/status/Status.h"

namespace qaxoi::store {

// An RDF document fetched from a server.
struct RemoteDocument {
  // The URL the document came from, after redirects.
  std::string url;
  // The media type the server gave, without parameters ("text/turtle"), or
  // empty when it gave none.
  std::string mediaType;
  // The syntax the media type names, or kDetect when it names none (plain
  // text, XML, none at all) and the bytes must tell.
  qaxoi::rdf::RdfSyntax syntax = qaxoi::rdf::RdfSyntax::kDetect;
  std::string text;
};

// One connection's worth of state (kept alive between requests to the same
// server). Not safe to share between threads: give each thread a client.
//
// Every failure is one line that names the URL (without credentials) and
// what failed: "connection refused", "no answer within 5 s", "HTTP 500
// Internal Server Error: <the body's first line>", "the answer is not RDF
// in a syntax that is read (text/html)", "the answer is larger than 1 GiB". Network and server
// failures are kIoError, an answer beyond a bound kResourceExhausted, an
// answer that cannot be read kInvalidInput, a URL or argument that cannot
// be used kInvalidArgument. A failed request leaves its outputs unchanged.
// Redirects are followed only to the same scheme, host and port, at most
// kMaxRedirects; https certificates are verified unless the options say
// not to.
class QAX_API StoreClient {
 public:
  explicit StoreClient(StoreOptions options = {});
  ~StoreClient();
  StoreClient(const StoreClient&) = delete;
  StoreClient& operator=(const StoreClient&) = delete;

  // GET of the graph, as Turtle (or N-Triples, RDF/XML, JSON-LD, as the
  // server prefers among those the readers know). A graph the store does
  // not have is a failure ("HTTP 404 ...").
  qaxoi::Status GetGraph(const GraphAddress& address, RemoteDocument* document);

  // PUT of `turtle` as the graph's whole content: the store replaces the
  // graph in one request, so no reader sees a mix of old and new.
  qaxoi::Status PutGraph(const GraphAddress& address, const std::string& turtle);

  // DELETE of the graph. `existed` (may be null) tells whether the store
  // had it: a 404 answer is not a failure.
  qaxoi::Status DeleteGraph(const GraphAddress& address, bool* existed);

  // GET of any http or https URL, content-negotiated to a syntax the RDF
  // readers know.
  qaxoi::Status GetDocument(const std::string& url, RemoteDocument* document);

  // A SPARQL query (SELECT, ASK) sent to a SPARQL 1.1 Protocol endpoint
  // (Virtuoso: http://HOST:PORT/sparql), its answer read from the SPARQL
  // results JSON format. An answer in another format (that of CONSTRUCT or
  // DESCRIBE) or nested deeper than the format does is refused
  // (kInvalidInput). The answer to an ASK query that a store gives as a
  // table of one variable and at most one row (Virtuoso 7 does) is read as
  // the boolean it holds: no row, or a value other than 1 or true, is false.
  qaxoi::Status Query(const std::string& endpoint, const std::string& query, QueryResults* results);

  // A SPARQL update sent to a SPARQL 1.1 Protocol endpoint; success is the
  // server's 2xx answer, whatever its body.
  qaxoi::Status Update(const std::string& endpoint, const std::string& update);

 private:
  class Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace qaxoi::store

#endif  // QAX_HOST_QAX_STORE_STORECLIENT_H_
