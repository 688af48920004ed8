// Paired measurements: the module's cost and its baseline's, taken in the
// same run under the same conditions, and the ratio of the two.
#ifndef QAX_BENCH_HARNESS_H_
#define QAX_BENCH_HARNESS_H_

#include <benchmark/benchmark.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace qaxoi::bench {

// What the two figures of a row measure.
enum class Measure {
  kTime,        // nanoseconds per operation (or per item)
  kThroughput,  // megabytes per second
  kBytes,       // bytes
  kRate,        // items per second
};

// How the benchmarks run: in full; or each side of each pair once (for
// counting instructions with callgrind, which can collect exactly the
// functions TimeModule or TimeBaseline); or that at the smallest size only (a
// smoke run that proves the benchmarks still build and work).
struct Plan {
  bool once = false;
  bool smallestOnly = false;
};

// One operation of a pair; called many times, each call doing the whole
// work once.
using Operation = std::function<void()>;

// Runs `module` and `baseline` alternately in batches of equal length and
// reports, for each, the fastest batch's time per operation divided by
// `itemsPerOperation`: the fastest batch is the one least disturbed by other
// work on the machine. With `bytesPerOperation` > 0 the row is reported as
// throughput instead. The ratio is always the module's cost over the
// baseline's, so above 1 means the module is slower.
void ComparePair(benchmark::State& state, const Plan& plan, const Operation& module,
                 const Operation& baseline, double itemsPerOperation = 1.0,
                 double bytesPerOperation = 0.0);

// Reports two figures measured by other means (memory).
void ReportFigures(benchmark::State& state, Measure measure, double module, double baseline);

// Registers `run` as the benchmark "<name>/<size>". A plan that runs each
// side once runs one iteration.
benchmark::internal::Benchmark* RegisterPair(const Plan& plan, const std::string& name,
                                             const std::string& size,
                                             std::function<void(benchmark::State&)> run);

// The sizes to register: all of them, or only the first.
template <typename T>
std::vector<T> SizesFor(const Plan& plan, std::initializer_list<T> all) {
  std::vector<T> sizes(all);
  if (plan.smallestOnly && !sizes.empty()) sizes.resize(1);
  return sizes;
}

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_HARNESS_H_
