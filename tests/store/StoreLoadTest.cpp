// The store client under load against the test suite's Virtuoso server:
// clients publishing at once, to graphs they share, lose nothing and leave
// each graph as the last publish to it wrote it; versioned publishes that
// race for one version let at most one win.
//
// QAX_STORE_LOAD="CLIENTS,GROUPS,ITEMS" shrinks the load for slow builds
// (sanitizers, valgrind); the default is 8 clients of 200 groups of 100
// items. QAX_STORE_RACE_ROUNDS sets the rounds of racing publishes (20).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "host/qax/rdf/Rdf.h"
#include "host/qax/store/StoreClient.h"
#include "host/qax/store/VersionedPublish.h"
#include "tests/support/LoadItems.h"
#include "tests/support/SameGraph.h"
#include "tests/support/StoreFixture.h"

namespace {

using Clock = std::chrono::steady_clock;
using qaxoi::store::GraphAddress;
using qaxoi::store::PublishOutcome;
using qaxoi::store::RemoteDocument;
using qaxoi::store::StoreClient;
using qaxoi::test::Canonical;
using qaxoi::test::CanonicalGraph;
using qaxoi::test::GraphDifference;

struct LoadSize {
  int clients = 8;
  int groups = 200;
  int items = 100;
};

// The largest figure the environment may ask for, per dimension, and the
// most clients (each a thread and a connection).
constexpr int kMaxLoadFigure = 100'000;
constexpr int kMaxClients = 64;
constexpr int kDefaultRaceRounds = 20;
// Rounds of racing replacements: each takes seconds, as the store resolves
// its deadlocks.
constexpr int kReplaceRounds = 5;
// The items of each racing versioned publish's document.
constexpr int kRaceItems = 5;
// How many graphs unlike their last publish a failure shows, and how many
// differing statements of each.
constexpr std::size_t kShownMismatches = 3;
constexpr std::size_t kShownDifferences = 6;
// The items of each document that racing publishes of one graph write.
constexpr int kContestedItems = 50;

int Figure(const char* text, int fallback) {
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return value > 0 && *end == '\0' && value <= kMaxLoadFigure ? static_cast<int>(value) : fallback;
}

LoadSize SizeFromEnvironment() {
  LoadSize size;
  const char* text = std::getenv("QAX_STORE_LOAD");
  if (text == nullptr) return size;
  const std::string figures(text);
  const std::size_t first = figures.find(',');
  const std::size_t second = figures.find(',', first == std::string::npos ? first : first + 1);
  if (first == std::string::npos || second == std::string::npos) return size;
  size.clients = std::min(kMaxClients, Figure(figures.substr(0, first).c_str(), size.clients));
  size.groups = Figure(figures.substr(first + 1, second - first - 1).c_str(), size.groups);
  size.items = Figure(figures.substr(second + 1).c_str(), size.items);
  return size;
}

// One of racing publishes as its client saw it: when it was asked and when
// it was answered. The graph's content comes from the publish the store
// ran last, and only a publish that no other one was asked after can be it.
struct Publish {
  int client = 0;
  std::string turtle;
  Clock::time_point asked;
  Clock::time_point answered;
  bool ok = false;
};

// Starts every racer at once: each waits until all have arrived.
class StartingGate {
 public:
  explicit StartingGate(int racers) : waiting_(racers) {}
  void Arrive() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (--waiting_ == 0) {
      open_.notify_all();
      return;
    }
    open_.wait(lock, [this] { return waiting_ == 0; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable open_;
  int waiting_;
};

// What a graph unlike every candidate holds: how many of each publish's
// statements it has, and when each publish was asked and answered.
std::string Explained(const CanonicalGraph& stored, const std::vector<const Publish*>& publishes,
                      const std::vector<const Publish*>& candidates, Clock::time_point started) {
  const auto ms = [started](Clock::time_point at) {
    return std::to_string(
        std::chrono::duration_cast<std::chrono::milliseconds>(at - started).count());
  };
  std::string text = "holds " + std::to_string(stored.lines.size()) + " statements";
  for (const Publish* publish : publishes) {
    const CanonicalGraph written = Canonical(publish->turtle);
    std::size_t shared = 0;
    for (const std::string& line : written.lines) {
      shared += std::binary_search(stored.lines.begin(), stored.lines.end(), line) ? 1 : 0;
    }
    const bool candidate =
        std::find(candidates.begin(), candidates.end(), publish) != candidates.end();
    text += "; client " + std::to_string(publish->client) + (candidate ? " (a last publish)" : "") +
            ", asked at " + ms(publish->asked) + " ms, answered at " + ms(publish->answered) +
            " ms, wrote " + std::to_string(written.lines.size()) + " of which " +
            std::to_string(shared) + " are there";
  }
  return text;
}

class StoreLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    const qaxoi::testing::StoreEndpoints* endpoints = qaxoi::testing::StoreServer();
    if (endpoints == nullptr) GTEST_SKIP() << qaxoi::testing::StoreServerAbsence();
    store_ = endpoints->store;
    sparql_ = endpoints->sparql;
    const qaxoi::Status loaded = qaxoi::rdf::LoadModelText(
        qaxoi::test::LoadVocabulary(), qaxoi::rdf::RdfSyntax::kTurtle, "load.ttl", "", &model_);
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    // Graphs of this run alone: the server outlives runs and is shared.
    prefix_ = "http://qax.test/load/" + std::to_string(getpid()) + "-" +
              std::to_string(Clock::now().time_since_epoch().count()) + "/";
  }

  GraphAddress Address(const std::string& graph) const { return GraphAddress{store_, graph}; }

  // The group written as Turtle or N-Triples; a failure is the test's.
  std::string Written(const qaxoi::test::LoadGroup& group, qaxoi::rdf::RdfSyntax syntax) const {
    qaxoi::rdf::WrittenItems written;
    const qaxoi::Status status =
        qaxoi::rdf::WriteItems(group.subjects, *model_.model, syntax, &written);
    EXPECT_EQ("", status.message());
    EXPECT_EQ(std::vector<std::string>{}, written.warnings);
    return written.text;
  }

  // Empty when the graph `iri` holds the graph of `turtle`; else what
  // differs, or why the graph could not be read.
  std::string StoredDifference(StoreClient& store, const std::string& iri,
                               const std::string& turtle) const {
    RemoteDocument document;
    const qaxoi::Status got = store.GetGraph(Address(iri), &document);
    if (!got.ok()) return got.message();
    if (document.syntax != qaxoi::rdf::RdfSyntax::kTurtle &&
        document.syntax != qaxoi::rdf::RdfSyntax::kNTriples) {
      return "answered as " + document.mediaType;
    }
    return GraphDifference(
        Canonical(turtle),
        Canonical(document.text, document.syntax == qaxoi::rdf::RdfSyntax::kNTriples),
        kShownDifferences);
  }

  // Deletes the graphs g0 ... g<count - 1> of this run. One client deletes:
  // Virtuoso 7.2 answers concurrent deletes with HTTP 500 when their locks
  // deadlock, which is no subject of these tests.
  void DeleteGraphs(int count) {
    StoreClient cleaner;
    for (int graph = 0; graph < count; ++graph) {
      bool existed = false;
      const qaxoi::Status deleted =
          cleaner.DeleteGraph(Address(prefix_ + "g" + std::to_string(graph)), &existed);
      EXPECT_TRUE(deleted.ok()) << deleted.message();
    }
  }

  // Runs `work(thread)` on `threads` threads at once and waits for all.
  static void OnThreads(int threads, const std::function<void(int)>& work) {
    std::vector<std::thread> running;
    running.reserve(static_cast<std::size_t>(threads));
    for (int thread = 0; thread < threads; ++thread) running.emplace_back(work, thread);
    for (std::thread& thread : running) thread.join();
  }

  // Racing replacements of one graph, by PUT or by update requests: each
  // round the graph must be one publish's document whole.
  void RaceReplacements(const std::string& name, bool throughUpdates);

  std::string store_, sparql_, prefix_;
  qaxoi::rdf::LoadedModel model_;
};

// Clients 2k and 2k+1 publish the same graphs in the same order, each
// publish a document of its own, so every graph has two writers on two
// connections and the second overwrites the first. Publishes to one graph
// take turns (a lock per graph, held over the request), which makes the last
// writer known; publishes to different graphs run at once.
TEST_F(StoreLoad, EveryGraphHoldsWhatItsLastPublishWrote) {
  const LoadSize size = SizeFromEnvironment();
  const int graphs = (size.clients + 1) / 2 * size.groups;
  std::vector<std::mutex> turns(static_cast<std::size_t>(graphs));
  std::vector<std::string> lastWritten(static_cast<std::size_t>(graphs));
  std::vector<int> publishedTo(static_cast<std::size_t>(graphs), 0);
  std::mutex failuresMutex;
  std::vector<std::string> failures;
  std::vector<std::string> refusals;
  std::atomic<int> answered{0};

  const Clock::time_point started = Clock::now();
  OnThreads(size.clients, [&](int client) {
    StoreClient store;
    for (int group = 0; group < size.groups; ++group) {
      const std::size_t graph =
          static_cast<std::size_t>(client / 2) * static_cast<std::size_t>(size.groups) +
          static_cast<std::size_t>(group);
      const std::string iri = prefix_ + "g" + std::to_string(graph);
      std::string turtle = Written(
          qaxoi::test::MakeLoadGroup(iri + "/item", size.items, client * size.groups + group),
          qaxoi::rdf::RdfSyntax::kTurtle);
      const std::lock_guard<std::mutex> turn(turns[graph]);
      const qaxoi::Status put = store.PutGraph(Address(iri), turtle);
      ++answered;
      if (put.ok()) {
        lastWritten[graph] = std::move(turtle);
        ++publishedTo[graph];
      } else {
        const std::lock_guard<std::mutex> lock(failuresMutex);
        const bool refused = put.code() == qaxoi::Status::Code::kIoError &&
                             put.message().find(": HTTP 500 ") != std::string::npos;
        (refused ? refusals : failures).push_back(put.message());
      }
    }
  });
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();

  // Every publish answered, and any that failed said so. Virtuoso 7.2
  // refuses some concurrent PUTs with HTTP 500 when its locks deadlock (its
  // log says "lock escalation from shared to exclusive fails frequently"):
  // such a publish is reported, so nothing is lost, and the graph must keep
  // the document before it. Any other failure is a fault.
  EXPECT_EQ(size.clients * size.groups, answered.load());
  EXPECT_EQ(std::vector<std::string>{}, failures);

  // Each graph, read back by one of the clients, is its last document.
  std::mutex mismatchesMutex;
  std::vector<std::string> mismatches;
  int mismatched = 0;
  OnThreads(size.clients, [&](int client) {
    StoreClient store;
    for (int graph = client; graph < graphs; graph += size.clients) {
      const std::string iri = prefix_ + "g" + std::to_string(graph);
      std::string problem;
      if (!lastWritten[graph].empty()) {
        problem = StoredDifference(store, iri, lastWritten[graph]);
      } else if (RemoteDocument document; store.GetGraph(Address(iri), &document).ok()) {
        problem = "every publish to it was refused, yet the store has it";
      }
      if (!problem.empty()) {
        const std::lock_guard<std::mutex> lock(mismatchesMutex);
        ++mismatched;
        if (mismatches.size() < kShownMismatches) mismatches.push_back(iri + ":\n" += problem);
      }
    }
  });
  EXPECT_EQ(0, mismatched) << "graphs unlike their last publish, the first of them:\n"
                           << ::testing::PrintToString(mismatches);
  int overwritten = 0;
  for (const int count : publishedTo) overwritten += count > 1 ? 1 : 0;
  DeleteGraphs(graphs);

  std::cout << size.clients << " clients published " << answered.load() << " groups of "
            << size.items << " items to " << graphs << " graphs (" << overwritten
            << " of them overwritten) in " << seconds
            << " s: " << answered.load() * size.items / seconds << " items/s; " << refusals.size()
            << " refused by the server\n";
}

// Clients that replace one graph at the same moment: the graph ends as one
// of their documents, whole. Virtuoso 7.2 fails this for PUTs: two
// overlapping PUTs of one graph leave the union of both documents (and now
// and then one of them fails with HTTP 500 on a deadlock); update requests
// hold. Run the PUTs' test with --gtest_also_run_disabled_tests against
// another store, or a later Virtuoso, to see whether PUTs that do not take
// turns are safe there.
void StoreLoad::RaceReplacements(const std::string& name, bool throughUpdates) {
  const int racers = SizeFromEnvironment().clients;
  const int rounds =
      std::min(Figure(std::getenv("QAX_STORE_RACE_ROUNDS"), kDefaultRaceRounds), kReplaceRounds);
  const std::string iri = prefix_ + name;
  std::vector<std::unique_ptr<StoreClient>> clients;
  clients.reserve(static_cast<std::size_t>(racers));
  for (int racer = 0; racer < racers; ++racer) clients.push_back(std::make_unique<StoreClient>());
  std::vector<std::string> problems;
  for (int round = 0; round < rounds; ++round) {
    std::vector<Publish> entries(static_cast<std::size_t>(racers));
    for (int racer = 0; racer < racers; ++racer) {
      Publish& entry = entries[static_cast<std::size_t>(racer)];
      entry.client = racer;
      entry.turtle = Written(
          qaxoi::test::MakeLoadGroup(iri + "/item", kContestedItems, round * racers + racer),
          throughUpdates ? qaxoi::rdf::RdfSyntax::kNTriples : qaxoi::rdf::RdfSyntax::kTurtle);
    }
    const Clock::time_point started = Clock::now();
    StartingGate gate(racers);
    OnThreads(racers, [&](int racer) {
      Publish& entry = entries[static_cast<std::size_t>(racer)];
      gate.Arrive();
      entry.asked = Clock::now();
      StoreClient& client = *clients[static_cast<std::size_t>(racer)];
      entry.ok = (throughUpdates ? qaxoi::store::ReplaceGraph(client, sparql_, iri, entry.turtle)
                                 : client.PutGraph(Address(iri), entry.turtle))
                     .ok();
      entry.answered = Clock::now();
    });
    // Only a publish that no other one was asked after can be the last.
    Clock::time_point lastAsked;
    for (const Publish& entry : entries) {
      if (entry.ok) lastAsked = std::max(lastAsked, entry.asked);
    }
    std::vector<const Publish*> all;
    std::vector<const Publish*> candidates;
    for (const Publish& entry : entries) {
      if (!entry.ok) continue;
      all.push_back(&entry);
      if (!(lastAsked > entry.answered)) candidates.push_back(&entry);
    }
    RemoteDocument document;
    const qaxoi::Status got = clients[0]->GetGraph(Address(iri), &document);
    ASSERT_TRUE(got.ok()) << got.message();
    const CanonicalGraph stored =
        Canonical(document.text, document.syntax == qaxoi::rdf::RdfSyntax::kNTriples);
    const bool whole = std::any_of(candidates.begin(), candidates.end(), [&](const Publish* entry) {
      return GraphDifference(Canonical(entry->turtle), stored).empty();
    });
    if (!whole) {
      problems.push_back("round " + std::to_string(round) + ": " +
                         Explained(stored, all, candidates, started));
    }
  }
  bool existed = false;
  EXPECT_TRUE(clients[0]->DeleteGraph(Address(iri), &existed).ok());
  EXPECT_EQ(std::vector<std::string>{}, problems);
}

TEST_F(StoreLoad, DISABLED_PutsRacingForOneGraphLeaveOneDocumentWhole) {
  RaceReplacements("contested-put", false);
}

// The same race through update requests (publish --sparql): one request,
// one transaction, so the graph is always one publish's document whole.
TEST_F(StoreLoad, UpdatesRacingForOneGraphLeaveOneDocumentWhole) {
  RaceReplacements("contested-update", true);
}

struct RaceEntry {
  std::string ntriples;
  qaxoi::Status status = qaxoi::Status::Ok();
  PublishOutcome outcome;
};

// Racers that all expect the graph's current version: at most one replaces
// the graph, the others are told the version it now carries (or fail), and
// the graph is the winner's document, whole, with the new version.
TEST_F(StoreLoad, OfRacingVersionedPublishesAtMostOneWins) {
  const int racers = SizeFromEnvironment().clients;
  const int rounds = Figure(std::getenv("QAX_STORE_RACE_ROUNDS"), kDefaultRaceRounds);
  const std::string graph = prefix_ + "race";
  const std::string version = "<" + graph + "> <" + qaxoi::store::kVersionPredicate + "> ";
  const std::string publication = "<" + graph + "> <" + qaxoi::store::kPublicationPredicate + "> ";
  std::vector<std::unique_ptr<StoreClient>> clients;
  clients.reserve(static_cast<std::size_t>(racers));
  for (int racer = 0; racer < racers; ++racer) clients.push_back(std::make_unique<StoreClient>());
  StoreClient reader;
  int singleWinners = 0;
  int noWinner = 0;
  int failed = 0;

  for (int round = 0; round < rounds; ++round) {
    std::optional<std::uint64_t> current;
    const qaxoi::Status read = qaxoi::store::ReadGraphVersion(reader, sparql_, graph, &current);
    ASSERT_TRUE(read.ok()) << read.message();
    const std::uint64_t expected = current.value_or(0);
    std::vector<RaceEntry> entries(static_cast<std::size_t>(racers));
    for (int racer = 0; racer < racers; ++racer) {
      const qaxoi::test::LoadGroup group =
          qaxoi::test::MakeLoadGroup(graph + "/item", kRaceItems, round * racers + racer);
      entries[static_cast<std::size_t>(racer)].ntriples =
          Written(group, qaxoi::rdf::RdfSyntax::kNTriples);
    }
    StartingGate gate(racers);
    OnThreads(racers, [&](int racer) {
      RaceEntry& entry = entries[static_cast<std::size_t>(racer)];
      gate.Arrive();
      entry.status =
          qaxoi::store::PublishIfVersion(*clients[static_cast<std::size_t>(racer)], sparql_, graph,
                                         entry.ntriples, expected, &entry.outcome);
    });

    const RaceEntry* winner = nullptr;
    int winners = 0;
    for (const RaceEntry& entry : entries) {
      if (!entry.status.ok()) {
        ++failed;
        continue;
      }
      if (entry.outcome.replaced) {
        ++winners;
        winner = &entry;
      }
    }
    EXPECT_LE(winners, 1) << "round " << round;
    singleWinners += winners == 1 ? 1 : 0;
    noWinner += winners == 0 ? 1 : 0;
    for (const RaceEntry& entry : entries) {
      if (entry.status.ok() && !entry.outcome.replaced && winners == 1) {
        EXPECT_EQ(std::optional<std::uint64_t>(expected + 1), entry.outcome.found)
            << "round " << round;
      }
    }
    if (winner == nullptr) continue;

    RemoteDocument document;
    const qaxoi::Status got = reader.GetGraph(Address(graph), &document);
    ASSERT_TRUE(got.ok()) << got.message();
    CanonicalGraph stored =
        Canonical(document.text, document.syntax == qaxoi::rdf::RdfSyntax::kNTriples);
    // The version and the publication's token are the publish's own lines.
    std::vector<std::string> versions;
    int tokens = 0;
    auto own =
        std::remove_if(stored.lines.begin(), stored.lines.end(), [&](const std::string& line) {
          if (line.rfind(version, 0) == 0) versions.push_back(line.substr(version.size()));
          if (line.rfind(publication, 0) == 0) ++tokens;
          return line.rfind(version, 0) == 0 || line.rfind(publication, 0) == 0;
        });
    stored.lines.erase(own, stored.lines.end());
    EXPECT_EQ(std::vector<std::string>{"\"" + std::to_string(expected + 1) +
                                       "\"^^<http://www.w3.org/2001/XMLSchema#integer>"},
              versions)
        << "round " << round;
    EXPECT_EQ(1, tokens) << "round " << round;
    EXPECT_EQ("", GraphDifference(Canonical(winner->ntriples, true), stored, kShownDifferences))
        << "round " << round;
  }
  bool existed = false;
  EXPECT_TRUE(reader.DeleteGraph(Address(graph), &existed).ok());

  std::cout << rounds << " rounds of " << racers << " racing versioned publishes: " << singleWinners
            << " with exactly one winner, " << noWinner << " with none; " << failed
            << " publishes failed\n";
  ::testing::Test::RecordProperty("single_winner_rounds", singleWinners);
}

}  // namespace
