#include "host/qax/store/VersionedPublish.h"

#include <cerrno>
#include <cstdlib>
#include <random>

namespace qaxoi::store {

namespace {

// The bits of a publish's token: enough that two publishes never draw the
// same one.
constexpr int kTokenWords = 4;

std::string NewToken() {
  std::random_device device;
  std::string token;
  static const char kHex[] = "0123456789abcdef";
  for (int word = 0; word < kTokenWords; ++word) {
    const unsigned int bits = device();
    for (int shift = 28; shift >= 0; shift -= 4) token.push_back(kHex[(bits >> shift) & 0xfu]);
  }
  return token;
}

std::string Iri(const std::string& iri) { return "<" + iri + ">"; }

// The update that replaces the graph if it carries `expected`, in four
// operations of one request: the check claims the graph for this publish
// (a statement in a graph of claims, kClaimsGraph) only if it carries the
// version expected; then, only where the claim is, the graph is emptied and
// filled with the items and the next version; then the claim goes. The
// check comes first because its answer must survive the emptying.
// "Carries no version" is a count that must be 0, rather than NOT EXISTS
// or OPTIONAL with !BOUND: stores differ in how they evaluate those over a
// group with no other pattern (Virtuoso 7 takes NOT EXISTS as always true
// there), while an aggregate gives one row everywhere.
std::string ConditionalUpdate(const std::string& graph, const std::string& ntriples,
                              std::uint64_t expected, const std::string& token) {
  const std::string g = Iri(graph);
  const std::string version = Iri(kVersionPredicate);
  const std::string claim = "GRAPH " + Iri(kClaimsGraph) + " { " + g + " " +
                            Iri(kPublicationPredicate) + " \"" + token + "\" }";
  std::string update = "INSERT { " + claim + " }\nWHERE { ";
  if (expected == 0) {
    update += "{ SELECT (COUNT(*) AS ?versions) WHERE { GRAPH " + g + " { " + g + " " + version +
              " ?v } } }\n  FILTER (?versions = 0) }";
  } else {
    update += "GRAPH " + g + " { " + g + " " + version + " " + std::to_string(expected) + " } }";
  }
  update += " ;\nDELETE { GRAPH " + g + " { ?s ?p ?o } }\nWHERE { " + claim + " GRAPH " + g +
            " { ?s ?p ?o } } ;\nINSERT { GRAPH " + g + " {\n" + ntriples + g + " " + version + " " +
            std::to_string(expected + 1) + " .\n" + g + " " + Iri(kPublicationPredicate) + " \"" +
            token + "\" .\n} }\nWHERE { " + claim + " } ;\nDELETE DATA { " + claim + " }\n";
  return update;
}

bool ParseVersion(const std::string& text, std::uint64_t* version) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
  if (errno != 0) return false;
  *version = value;
  return true;
}

// The version the graph carries and the publications' tokens, read back.
qaxoi::Status ReadState(StoreClient& client, const std::string& sparqlEndpoint,
                        const std::string& graph, std::optional<std::uint64_t>* version,
                        std::vector<std::string>* tokens) {
  const std::string g = Iri(graph);
  QueryResults results;
  qaxoi::Status read = client.Query(sparqlEndpoint,
                                    "SELECT ?version ?token WHERE { GRAPH " + g + " { " + g + " " +
                                        Iri(kVersionPredicate) + " ?version . OPTIONAL { " + g +
                                        " " + Iri(kPublicationPredicate) + " ?token } } }",
                                    &results);
  if (!read.ok()) return read;
  std::optional<std::uint64_t> found;
  for (const std::vector<ResultTerm>& row : results.rows) {
    std::uint64_t value = 0;
    if (!row.empty() && ParseVersion(row[0].value, &value) && (!found || value > *found)) {
      found = value;
    }
    if (row.size() > 1 && row[1].kind == ResultTerm::Kind::kLiteral)
      tokens->push_back(row[1].value);
  }
  *version = found;
  return qaxoi::Status::Ok();
}

}  // namespace

qaxoi::Status PublishIfVersion(StoreClient& client, const std::string& sparqlEndpoint,
                               const std::string& graph, const std::string& ntriples,
                               std::uint64_t expected, PublishOutcome* outcome) {
  const std::string token = NewToken();
  if (qaxoi::Status updated =
          client.Update(sparqlEndpoint, ConditionalUpdate(graph, ntriples, expected, token));
      !updated.ok()) {
    return updated;
  }
  std::optional<std::uint64_t> found;
  std::vector<std::string> tokens;
  if (qaxoi::Status read = ReadState(client, sparqlEndpoint, graph, &found, &tokens); !read.ok()) {
    return read;
  }
  bool replaced = false;
  for (const std::string& seen : tokens) replaced = replaced || seen == token;
  outcome->replaced = replaced;
  outcome->found = found;
  return qaxoi::Status::Ok();
}

qaxoi::Status ReplaceGraph(StoreClient& client, const std::string& sparqlEndpoint,
                           const std::string& graph, const std::string& ntriples) {
  const std::string g = Iri(graph);
  // INSERT with an empty pattern rather than INSERT DATA: stores differ on
  // blank nodes in INSERT DATA (Virtuoso 7 refuses them), and a template
  // instantiated by the one empty solution makes each blank node once.
  return client.Update(sparqlEndpoint, "DROP SILENT GRAPH " + g + " ;\nINSERT { GRAPH " + g +
                                           " {\n" + ntriples + "} }\nWHERE {}\n");
}

qaxoi::Status ReadGraphVersion(StoreClient& client, const std::string& sparqlEndpoint,
                               const std::string& graph, std::optional<std::uint64_t>* version) {
  std::vector<std::string> tokens;
  return ReadState(client, sparqlEndpoint, graph, version, &tokens);
}

}  // namespace qaxoi::store
