// The store benchmark: items published to an RDF store against the same
// items exported to files. It needs a store server, found through the
// environment.
#ifndef QAX_BENCH_STOREBENCH_H_
#define QAX_BENCH_STOREBENCH_H_

#include <string>

#include "bench/Harness.h"

namespace qaxoi::bench {

struct StoreEndpoint {
  // The store's Graph Store Protocol endpoint; empty when there is none.
  std::string graphStore;
  // Why there is none, for the message that skips the benchmark.
  std::string absence;
};

// $QAX_BENCH_STORE (a Graph Store Protocol endpoint), else the "store="
// line of $QAX_STORE_FIXTURE/endpoints (the test suite's store fixture).
StoreEndpoint StoreFromEnvironment();

// "StorePublish/CxGxI": C clients each publishing G groups of I items (each
// group a named graph, written as Turtle by WriteItems) against the same
// clients writing each group to a file, as items per second. One run of
// each side: the full load takes a minute. Smallest first (2x5x100), then
// 8x200x100.
void RegisterStoreBenchmarks(const Plan& plan, const StoreEndpoint& store);

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_STOREBENCH_H_
