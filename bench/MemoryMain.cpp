// qax-bench-memory: the module's memory against its baselines, as rows of
// the same table as qax-bench's. A program of its own, since it replaces the
// global operator new and delete to count the heap (HeapCounter.cpp).
//
//   qax-bench-memory [--smoke] [--no-header] [Google Benchmark flags]
#include <cstdio>

#include "bench/Benchmarks.h"
#include "bench/Options.h"
#include "bench/TableReporter.h"

int main(int argc, char** argv) {
  const qaxoi::bench::Options options = qaxoi::bench::TakeOptions(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  qaxoi::bench::BenchModel model;
  qaxoi::bench::RegisterMemoryBenchmarks(options.plan, model);

  qaxoi::bench::TableReporter reporter(stdout, options.header);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.AnyFailed() ? 1 : 0;
}
