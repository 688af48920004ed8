// publish, unpublish and query: items sent to an RDF store as named graphs,
// graphs taken out again, and SPARQL queries answered by a store.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/files/InputFile.h"
#include "host/qax/rdf/ItemWriter.h"
#include "host/qax/store/StoreClient.h"
#include "host/qax/store/VersionedPublish.h"
#include "host/sdk/LoadedGroup.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/RootItems.h"
#include "tools/qax-host/TermTable.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

namespace store = qaxoi::store;

namespace {

// The graph a group is published as when none is named: this namespace and
// the group file's name.
constexpr const char* kGroupGraphNamespace = "urn:qax-host:group:";

// `text` with every byte but letters, digits and "-._~" percent-encoded,
// so that any file name makes an IRI.
std::string IriSegment(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string segment;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      segment.push_back(c);
    } else {
      segment.push_back('%');
      segment.push_back(kHex[byte >> 4]);
      segment.push_back(kHex[byte & 0xfu]);
    }
  }
  return segment;
}

std::string DefaultGraph(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return kGroupGraphNamespace +
         IriSegment(slash == std::string::npos ? path : path.substr(slash + 1));
}

// The IRIs of a published group's root items: the graph's own, so that
// items of two groups never share a subject in the store.
std::string ItemPrefix(const std::string& graph) {
  return graph + (graph.find('#') == std::string::npos ? "#channel-" : "-channel-");
}

// The graph `invocation` names (--graph, or in --store's URL), else the
// default for `path`; kExitOk, or kExitUsage after saying why not.
int ChooseGraph(const Invocation& invocation, const std::string* path,
                store::GraphAddress* address) {
  std::string graph = invocation.graph;
  store::GraphAddress named;
  if (graph.empty() && path != nullptr &&
      !store::ResolveGraphAddress(invocation.store, "", &named).ok()) {
    if (*path == qaxoi::files::kStandardStreamPath) {
      return UsageError("a group read from standard input needs --graph IRI");
    }
    graph = DefaultGraph(*path);
  }
  const qaxoi::Status resolved = store::ResolveGraphAddress(invocation.store, graph, address);
  if (!resolved.ok()) return UsageError("--store: " + Escaped(resolved.message(), Layout::kKeep));
  return kExitOk;
}

std::string VersionText(const std::optional<std::uint64_t>& version) {
  return version ? "version " + std::to_string(*version) : std::string("no version");
}

}  // namespace

int RunPublish(const Invocation& invocation) {
  if (invocation.arguments.size() != 1) {
    return UsageError(OneArgumentMessage("publish", "FILE", invocation.arguments));
  }
  if (invocation.store.empty()) {
    return UsageError("publish needs --store URL, the store's Graph Store Protocol endpoint");
  }
  if (invocation.ifVersion && invocation.sparql.empty()) {
    return UsageError("--if-version needs --sparql URL, the store's SPARQL update endpoint");
  }
  const std::string& path = invocation.arguments[0];
  store::GraphAddress address;
  if (const int failed = ChooseGraph(invocation, &path, &address)) return failed;

  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::unique_ptr<LoadedGroup> group = LoadInput(path, *session);
  if (!group) return kExitFailure;
  std::vector<qaxoi::rdf::ItemSubject> subjects;
  if (!BuildRootItems(*group, *session, ItemPrefix(address.graph), &subjects)) return kExitFailure;
  qaxoi::rdf::WrittenItems written;
  {
    const Activity writing("writing the items as RDF");
    // A publish through the update endpoint puts the statements into a
    // SPARQL update, which takes N-Triples' terms as they are; a PUT sends
    // Turtle.
    const qaxoi::Status status =
        qaxoi::rdf::WriteItems(subjects, session->model(),
                               invocation.sparql.empty() ? qaxoi::rdf::RdfSyntax::kTurtle
                                                         : qaxoi::rdf::RdfSyntax::kNTriples,
                               &written);
    if (!status.ok()) return Fail(status);
  }
  for (const std::string& warning : written.warnings) {
    Warn(warning);
  }

  store::StoreClient client(invocation.session.network);
  std::optional<std::uint64_t> version;
  if (invocation.ifVersion) {
    const Activity publishing("publishing the graph <" + address.graph + "> through " +
                              invocation.sparql);
    store::PublishOutcome outcome;
    const qaxoi::Status status = store::PublishIfVersion(
        client, invocation.sparql, address.graph, written.text, *invocation.ifVersion, &outcome);
    if (!status.ok()) return Fail(status);
    if (!outcome.replaced) {
      return Fail("the graph <" + address.graph + "> is at " + VersionText(outcome.found) +
                  ", not " + VersionText(invocation.ifVersion) +
                  ": nothing published (read it again, then publish with --if-version " +
                  std::to_string(outcome.found.value_or(0)) + ")");
    }
    version = outcome.found;
  } else if (!invocation.sparql.empty()) {
    const Activity publishing("publishing the graph <" + address.graph + "> through " +
                              invocation.sparql);
    const qaxoi::Status status =
        store::ReplaceGraph(client, invocation.sparql, address.graph, written.text);
    if (!status.ok()) return Fail(status);
  } else {
    const Activity publishing("publishing the graph <" + address.graph + "> to " +
                              address.endpoint);
    const qaxoi::Status status = client.PutGraph(address, written.text);
    if (!status.ok()) return Fail(status);
  }
  if (invocation.json) {
    PrintJson({{"graph", address.graph},
               {"store", address.endpoint},
               {"items", subjects.size()},
               {"version", version ? Json(*version) : Json()}});
  }
  Note("published " + Counted(subjects.size(), "item", "items") + " of " +
       Escaped(InputName(path)) + " as the graph <" + Escaped(address.graph) + ">" +
       (version ? " at " + VersionText(version) : std::string()));
  return kExitOk;
}

int RunUnpublish(const Invocation& invocation) {
  if (!invocation.arguments.empty()) {
    return UsageError("unpublish takes no arguments, not '" + invocation.arguments[0] + "'");
  }
  if (invocation.store.empty()) {
    return UsageError("unpublish needs --store URL, the store's Graph Store Protocol endpoint");
  }
  store::GraphAddress address;
  if (const int failed = ChooseGraph(invocation, nullptr, &address)) return failed;
  store::StoreClient client(invocation.session.network);
  bool existed = false;
  const Activity removing("removing the graph <" + address.graph + ">");
  const qaxoi::Status status = client.DeleteGraph(address, &existed);
  if (!status.ok()) return Fail(status);
  if (!existed) return Fail(address.Url() + ": the store has no graph <" + address.graph + ">");
  Note("removed the graph <" + Escaped(address.graph) + ">");
  return kExitOk;
}

int RunQuery(const Invocation& invocation) {
  if (invocation.arguments.size() != 1) {
    return UsageError(OneArgumentMessage("query", "QUERY", invocation.arguments));
  }
  if (invocation.sparql.empty()) {
    return UsageError("query needs --sparql URL, the store's SPARQL query endpoint");
  }
  std::string query = invocation.arguments[0];
  if (query == qaxoi::files::kStandardStreamPath) {
    const qaxoi::Status read = qaxoi::files::ReadInputFile(query, &query);
    if (!read.ok()) return Fail(read);
  }
  store::StoreClient client(invocation.session.network);
  store::QueryResults results;
  {
    const Activity asking("querying " + invocation.sparql);
    const qaxoi::Status status = client.Query(invocation.sparql, query, &results);
    if (!status.ok()) return Fail(status);
  }
  if (invocation.json) {
    PrintJson(ResultsJson(results));
  } else {
    std::fputs(ResultsTable(results).c_str(), stdout);
  }
  return kExitOk;
}

}  // namespace qaxoi::qax_host
