// qax-bench-store: items published to an RDF store against the same items
// exported to files, as rows of qax-bench's table.
//
//   qax-bench-store [--smoke | --once] [--no-header] [Google Benchmark flags]
//
// The store comes from $QAX_BENCH_STORE or $QAX_STORE_FIXTURE; without one
// the program says so and succeeds, so that a smoke run passes on a machine
// without a server.
#include <cstdio>

#include "bench/Options.h"
#include "bench/StoreBench.h"
#include "bench/TableReporter.h"

int main(int argc, char** argv) {
  const qaxoi::bench::Options options = qaxoi::bench::TakeOptions(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  const qaxoi::bench::StoreEndpoint store = qaxoi::bench::StoreFromEnvironment();
  if (store.graphStore.empty()) {
    std::fprintf(stderr, "qax-bench-store: skipped: %s\n", store.absence.c_str());
    return 0;
  }
  qaxoi::bench::RegisterStoreBenchmarks(options.plan, store);
  qaxoi::bench::TableReporter reporter(stdout, options.header);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.AnyFailed() ? 1 : 0;
}
