// The store client against peers that misbehave: every failure is one line
// that names the URL and what failed, and nothing is taken beyond the
// client's bounds. No store server is needed.
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/store/GraphAddress.h"
#include "host/qax/store/StoreClient.h"
#include "tests/support/FakeServer.h"

namespace {

using qaxoi::store::GraphAddress;
using qaxoi::store::RemoteDocument;
using qaxoi::store::StoreClient;
using qaxoi::store::StoreOptions;
using qaxoi::testing::FakeServer;

// An answer with `status` (the whole status line's tail), `type` and `body`.
std::string Answer(const std::string& status, const std::string& type, const std::string& body,
                   const std::string& extra = "") {
  return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" +
         extra + "\r\n" + body;
}

std::string Redirect(const std::string& status, const std::string& location) {
  return "HTTP/1.1 " + status + "\r\nLocation: " + location +
         "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
}

StoreOptions Quick() {
  StoreOptions options;
  options.totalTimeout = std::chrono::milliseconds(500);
  options.connectTimeout = std::chrono::milliseconds(500);
  options.maxResponseBytes = std::size_t{1} << 20;
  return options;
}

class StoreClientFailures : public ::testing::Test {};

TEST_F(StoreClientFailures, EachPeerThatMisbehavesIsNamedWithWhatItDid) {
  const std::string turtle = "<http://e.org/a> <http://e.org/p> \"x\" .\n";
  struct Row {
    const char* what;
    FakeServer::Behaviour behaviour;
    std::vector<std::string> answers;
    std::string message;  // after "<url>: "
  };
  const Row rows[] = {
      {"no answer", FakeServer::Behaviour::kSilent, {}, "no answer within 0.5 s"},
      {"garbage",
       FakeServer::Behaviour::kAnswer,
       {"garbage, not HTTP\r\n\r\n"},
       "the answer is not HTTP (Received HTTP/0.9 when not allowed)"},
      {"server error",
       FakeServer::Behaviour::kAnswer,
       {Answer("500 Internal Server Error", "text/plain",
               "\n  SR172: Transaction deadlocked\nmore\n")},
       "HTTP 500 Internal Server Error: SR172: Transaction deadlocked"},
      {"an HTML page",
       FakeServer::Behaviour::kAnswer,
       {Answer("404 Not Found", "text/html",
               "<!DOCTYPE html>\n<html><head><title>Nothing here</title></head></html>")},
       "HTTP 404 Not Found: Nothing here"},
      {"not RDF",
       FakeServer::Behaviour::kAnswer,
       {Answer("200 OK", "text/html", "<p>hi</p>")},
       "the answer is not RDF in a syntax that is read (text/html)"},
      {"a length beyond the bound",
       FakeServer::Behaviour::kAnswer,
       {"HTTP/1.1 200 OK\r\nContent-Type: text/turtle\r\nContent-Length: 99999999999\r\n\r\nxx"},
       "the answer is larger than 1 MiB"},
      {"no end", FakeServer::Behaviour::kEndless, {}, "the answer is larger than 1 MiB"},
      {"a redirect elsewhere",
       FakeServer::Behaviour::kAnswer,
       {Redirect("302 Found", "http://elsewhere.invalid/v.ttl")},
       "redirected to another server (http://elsewhere.invalid/v.ttl), not followed"},
      {"a redirect to another port",
       FakeServer::Behaviour::kAnswer,
       {Redirect("301 Moved Permanently", "http://127.0.0.1:1/v.ttl")},
       "redirected to another server (http://127.0.0.1:1/v.ttl), not followed"},
      {"a redirect loop",
       FakeServer::Behaviour::kAnswer,
       {Redirect("307 Temporary Redirect", "http://127.0.0.1:{port}/again")},
       "more than 5 redirects"},
  };
  for (const Row& row : rows) {
    FakeServer server(row.behaviour, row.answers);
    StoreClient client(Quick());
    RemoteDocument document;
    document.text = "untouched";
    const qaxoi::Status status = client.GetDocument(server.Url("/v.ttl"), &document);
    EXPECT_EQ(server.Url("/v.ttl") + ": " + row.message, status.message()) << row.what;
    EXPECT_EQ("untouched", document.text) << row.what;
  }

  StoreClient client(Quick());
  RemoteDocument document;
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(FakeServer::RefusingPort()) + "/v";
  EXPECT_EQ(refused + ": connection refused", client.GetDocument(refused, &document).message());
}

TEST_F(StoreClientFailures, AnAnswerMayHoldTheBoundAndNotOneByteMore) {
  const std::string body(std::size_t{1} << 20, '#');
  FakeServer exact(FakeServer::Behaviour::kAnswer, {Answer("200 OK", "text/turtle", body)});
  StoreClient client(Quick());
  RemoteDocument document;
  ASSERT_TRUE(client.GetDocument(exact.Url("/v.ttl"), &document).ok());
  EXPECT_EQ(body.size(), document.text.size());
  EXPECT_EQ(qaxoi::rdf::RdfSyntax::kTurtle, document.syntax);

  FakeServer over(FakeServer::Behaviour::kAnswer, {Answer("200 OK", "text/turtle", body + "#")});
  EXPECT_EQ(over.Url("/v.ttl") + ": the answer is larger than 1 MiB",
            client.GetDocument(over.Url("/v.ttl"), &document).message());
}

TEST_F(StoreClientFailures, WritesFollowOnlyRedirectsThatKeepTheirMethod) {
  GraphAddress address;
  FakeServer moved(
      FakeServer::Behaviour::kAnswer,
      {Redirect("307 Temporary Redirect", "/elsewhere"), Answer("201 Created", "text/plain", "")});
  ASSERT_TRUE(qaxoi::store::ResolveGraphAddress(moved.Url("/crud"), "urn:g", &address).ok());
  StoreClient client(Quick());
  EXPECT_TRUE(client.PutGraph(address, "<urn:a> <urn:b> <urn:c> .\n").ok());
  EXPECT_EQ(2, moved.requests());

  FakeServer turned(FakeServer::Behaviour::kAnswer, {Redirect("302 Found", "/elsewhere")});
  ASSERT_TRUE(qaxoi::store::ResolveGraphAddress(turned.Url("/crud"), "urn:g", &address).ok());
  EXPECT_EQ(address.Url() +
                ": the server answers the PUT with a redirect (302) that would turn it into a GET, "
                "not followed",
            client.PutGraph(address, "<urn:a> <urn:b> <urn:c> .\n").message());
  EXPECT_EQ(1, turned.requests());
}

TEST_F(StoreClientFailures, FailuresThatMayPassAreRetriedOnlyWhereSendingTwiceChangesNothing) {
  const std::string deadlock = Answer("500 Internal Server Error", "text/plain", "deadlocked\n");
  FakeServer busy(FakeServer::Behaviour::kAnswer,
                  {deadlock, Answer("503 Service Unavailable", "text/plain", "busy\n"),
                   Answer("200 OK", "text/turtle", "<urn:a> <urn:b> <urn:c> .\n")});
  StoreClient client(Quick());
  RemoteDocument document;
  EXPECT_TRUE(client.GetDocument(busy.Url("/v.ttl"), &document).ok());
  EXPECT_EQ(3, busy.requests());

  FakeServer stuck(FakeServer::Behaviour::kAnswer, {deadlock});
  EXPECT_EQ(stuck.Url("/v.ttl") + ": HTTP 500 Internal Server Error: deadlocked",
            client.GetDocument(stuck.Url("/v.ttl"), &document).message());
  EXPECT_EQ(qaxoi::store::kMaxAttempts, stuck.requests());

  FakeServer updating(FakeServer::Behaviour::kAnswer, {deadlock});
  EXPECT_FALSE(client.Update(updating.Url("/sparql"), "CLEAR ALL").ok());
  EXPECT_EQ(1, updating.requests());
}

TEST_F(StoreClientFailures, QueriesTakeOnlyResultsInJson) {
  FakeServer turtle(FakeServer::Behaviour::kAnswer,
                    {Answer("200 OK", "text/turtle", "<urn:a> <urn:b> <urn:c> .\n")});
  StoreClient client(Quick());
  qaxoi::store::QueryResults results;
  EXPECT_EQ(
      turtle.Url("/sparql") + ": the answer is not SPARQL results in JSON (text/turtle)",
      client.Query(turtle.Url("/sparql"), "CONSTRUCT WHERE { ?s ?p ?o }", &results).message());
  FakeServer untyped(
      FakeServer::Behaviour::kAnswer,
      {Answer("200 OK", "application/sparql-results+json",
              R"({"head": {"vars": ["x"]}, "results": {"bindings": [{"x": {"value": "v"}}]}})")});
  EXPECT_EQ(untyped.Url("/sparql") + ": the answer has a term without a type",
            client.Query(untyped.Url("/sparql"), "SELECT ?x {}", &results).message());
}

TEST(GraphAddresses, TheGraphComesFromTheUrlOrTheOptionAndGoesInTheGraphParameter) {
  struct Row {
    std::string store, graph, endpoint, chosen, url;
  };
  const Row rows[] = {
      {"http://h/crud", "urn:g", "http://h/crud", "urn:g", "http://h/crud?graph=urn%3Ag"},
      {"http://h/crud?graph-uri=http%3A%2F%2Fx%2Fg", "", "http://h/crud", "http://x/g",
       "http://h/crud?graph=http%3A%2F%2Fx%2Fg"},
      {"http://h/crud?x=1&graph=urn:a#top", "urn:a", "http://h/crud?x=1", "urn:a",
       "http://h/crud?x=1&graph=urn%3Aa"},
  };
  for (const Row& row : rows) {
    GraphAddress address;
    ASSERT_TRUE(qaxoi::store::ResolveGraphAddress(row.store, row.graph, &address).ok())
        << row.store;
    EXPECT_EQ(row.endpoint, address.endpoint);
    EXPECT_EQ(row.chosen, address.graph);
    EXPECT_EQ(row.url, address.Url());
  }
  GraphAddress address;
  EXPECT_EQ("the graph 'g' is no absolute IRI",
            qaxoi::store::ResolveGraphAddress("http://h/crud?graph=g", "", &address).message());
}

}  // namespace
