// Items published to an RDF store by concurrent clients, each group of
// items written as Turtle and PUT as a named graph, against the same items
// written as Turtle to files: what a publish costs over an export.
#include "bench/StoreBench.h"

#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/qax/rdf/Rdf.h"
#include "host/qax/store/StoreClient.h"
#include "tests/support/LoadItems.h"

namespace qaxoi::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Load {
  int clients;
  int groups;
  int items;
  std::string Name() const {
    return std::to_string(clients) + "x" + std::to_string(groups) + "x" + std::to_string(items);
  }
};

// What one side of the pair did: how long the whole load took and how many
// groups could not be stored (with the first reason).
struct Outcome {
  double seconds = 0;
  int failed = 0;
  std::string firstFailure;
};

// Runs `store(client, group, turtle)` for every group of the load, on one
// thread per client, each group written by WriteItems first.
template <typename Store>
Outcome RunLoad(const Load& load, const QAX::Ontology::OntologyModel& model,
                const std::string& subjects, const Store& store) {
  std::atomic<int> failed{0};
  std::string firstFailure;
  std::once_flag firstOnce;
  const Clock::time_point started = Clock::now();
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(load.clients));
  for (int client = 0; client < load.clients; ++client) {
    threads.emplace_back([&, client] {
      auto stored = store.NewClient();
      for (int group = 0; group < load.groups; ++group) {
        const int number = client * load.groups + group;
        const qaxoi::test::LoadGroup items =
            qaxoi::test::MakeLoadGroup(subjects + std::to_string(number) + "/", load.items, number);
        qaxoi::rdf::WrittenItems written;
        qaxoi::Status status =
            qaxoi::rdf::WriteItems(items.subjects, model, qaxoi::rdf::RdfSyntax::kTurtle, &written);
        if (status.ok()) status = stored(number, written.text);
        if (!status.ok()) {
          ++failed;
          std::call_once(firstOnce, [&] { firstFailure = status.message(); });
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  return Outcome{std::chrono::duration<double>(Clock::now() - started).count(), failed.load(),
                 firstFailure};
}

// Each client its own StoreClient; group n goes to graph "<graphs>n".
struct Publisher {
  std::string endpoint;
  std::string graphs;
  auto NewClient() const {
    return [this, client = std::make_shared<qaxoi::store::StoreClient>()](
               int number, const std::string& turtle) {
      return client->PutGraph({endpoint, graphs + std::to_string(number)}, turtle);
    };
  }
};

// Group n goes to the file "<folder>/n.ttl".
struct Exporter {
  std::string folder;
  auto NewClient() const {
    return [this](int number, const std::string& turtle) {
      const std::string path = folder + "/" + std::to_string(number) + ".ttl";
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(turtle.data(), static_cast<std::streamsize>(turtle.size()));
      out.close();
      return out ? qaxoi::Status::Ok() : qaxoi::Status::IoError(path + ": not written");
    };
  }
};

void RunPair(benchmark::State& state, const Load& load, const StoreEndpoint& store) {
  qaxoi::rdf::LoadedModel model;
  if (!qaxoi::rdf::LoadModelText(qaxoi::test::LoadVocabulary(), qaxoi::rdf::RdfSyntax::kTurtle,
                                 "load.ttl", "", &model)
           .ok()) {
    state.SkipWithError("the load's vocabulary does not load");
    return;
  }
  char folder[] = "/tmp/qax-bench-store-XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string graphs = "http://qax.test/bench/" + std::to_string(getpid()) + "/g";
  const Outcome published =
      RunLoad(load, *model.model, graphs + "-", Publisher{store.graphStore, graphs});
  const Outcome exported = RunLoad(load, *model.model, graphs + "-", Exporter{folder});

  // The graphs and files go again; a graph that a refused publish left
  // absent is no failure here.
  qaxoi::store::StoreClient cleaner;
  for (int number = 0; number < load.clients * load.groups; ++number) {
    bool existed = false;
    (void)cleaner.DeleteGraph({store.graphStore, graphs + std::to_string(number)}, &existed);
    std::remove((std::string(folder) + "/" + std::to_string(number) + ".ttl").c_str());
  }
  rmdir(folder);

  const int total = load.clients * load.groups;
  if (published.failed == total || exported.failed > 0) {
    state.SkipWithError((published.failed == total ? published : exported).firstFailure.c_str());
    return;
  }
  if (published.failed > 0) {
    std::fprintf(stderr, "StorePublish/%s: the store refused %d of %d publishes, first: %s\n",
                 load.Name().c_str(), published.failed, total, published.firstFailure.c_str());
  }
  const double items = static_cast<double>(total - published.failed) * load.items;
  ReportFigures(state, Measure::kRate, items / published.seconds,
                static_cast<double>(total) * load.items / exported.seconds);
}

}  // namespace

StoreEndpoint StoreFromEnvironment() {
  StoreEndpoint store;
  if (const char* url = std::getenv("QAX_BENCH_STORE"); url != nullptr && *url != '\0') {
    store.graphStore = url;
    return store;
  }
  const char* folder = std::getenv("QAX_STORE_FIXTURE");
  if (folder == nullptr || *folder == '\0') {
    store.absence =
        "no store server: set QAX_BENCH_STORE to a Graph Store Protocol endpoint "
        "or QAX_STORE_FIXTURE to the store fixture's folder";
    return store;
  }
  std::ifstream in(std::string(folder) + "/endpoints");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("store=", 0) == 0) store.graphStore = line.substr(std::string("store=").size());
  }
  if (store.graphStore.empty()) {
    store.absence = std::string("no store server: ") + folder + "/endpoints names no store=";
  }
  return store;
}

void RegisterStoreBenchmarks(const Plan& plan, const StoreEndpoint& store) {
  for (const Load& load : SizesFor(plan, {Load{2, 5, 100}, Load{8, 200, 100}})) {
    RegisterPair(plan, "StorePublish", load.Name(),
                 [load, store](benchmark::State& state) { RunPair(state, load, store); })
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
  }
}

}  // namespace qaxoi::bench
