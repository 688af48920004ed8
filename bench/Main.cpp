// qax-bench: the module's costs against its baselines, as one table.
//
//   qax-bench [--smoke | --once] [--no-header] [Google Benchmark flags]
//
// --smoke runs each benchmark once at its smallest size; --once runs each
// side of each benchmark once, at every size (for callgrind: collect
// '*TimeModule*' or '*TimeBaseline*'); --no-header leaves out the table's
// header, for appending to another run's table.
#include <cstdio>

#include "bench/Benchmarks.h"
#include "bench/Options.h"
#include "bench/TableReporter.h"

int main(int argc, char** argv) {
  const qaxoi::bench::Options options = qaxoi::bench::TakeOptions(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  qaxoi::bench::BenchModel model;
  qaxoi::bench::RegisterLinkBenchmarks(options.plan, model);
  qaxoi::bench::RegisterItemBenchmarks(options.plan, model);
  qaxoi::bench::RegisterNumberTextBenchmarks(options.plan);
  qaxoi::bench::RegisterPersistenceBenchmarks(options.plan, model);
  qaxoi::bench::RegisterRebindingBenchmarks(options.plan);
  qaxoi::bench::RegisterVocabularyBenchmarks(options.plan);
  qaxoi::bench::RegisterValidationBenchmarks(options.plan);

  qaxoi::bench::TableReporter reporter(stdout, options.header);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.AnyFailed() ? 1 : 0;
}
