#include "bench/Harness.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>

namespace qaxoi::bench {
namespace {

using Clock = std::chrono::steady_clock;

// A batch long enough that the clock's resolution and call overhead do not
// matter, short enough that many batches fit into the benchmark's time.
constexpr double kBatchSeconds = 200e-6;
constexpr long kMaxBatch = 1 << 20;

double SecondsOf(const Operation& operation, long count) {
  const Clock::time_point start = Clock::now();
  for (long i = 0; i < count; ++i) operation();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Batches run so far by each side, reported with each row. Counting them also
// keeps the two functions below from being identical, which would let the
// linker fold them into one.
long moduleBatches = 0;
long baselineBatches = 0;

// One side each, never inlined, so that callgrind can collect either alone
// (--toggle-collect='*TimeModule*').
[[gnu::noinline]] double TimeModule(const Operation& operation, long count) {
  ++moduleBatches;
  return SecondsOf(operation, count);
}
[[gnu::noinline]] double TimeBaseline(const Operation& operation, long count) {
  ++baselineBatches;
  return SecondsOf(operation, count);
}

long BatchLength(const Operation& operation) {
  long count = 1;
  for (;;) {
    const double seconds = SecondsOf(operation, count);
    if (seconds >= kBatchSeconds / 4 || count >= kMaxBatch) {
      const double perCall = seconds / static_cast<double>(count);
      const long length = perCall > 0 ? static_cast<long>(kBatchSeconds / perCall) : kMaxBatch;
      return std::clamp(length, 1L, kMaxBatch);
    }
    count *= 4;
  }
}

void SetFigures(benchmark::State& state, Measure measure, double module, double baseline) {
  state.counters["module"] = module;
  state.counters["baseline"] = baseline;
  double ratio = 0;
  if (measure == Measure::kThroughput || measure == Measure::kRate) {
    ratio = module > 0 ? baseline / module : 0;
  } else {
    ratio = baseline > 0 ? module / baseline : 0;
  }
  state.counters["ratio"] = ratio;
  switch (measure) {
    case Measure::kTime:
      state.SetLabel("time");
      break;
    case Measure::kThroughput:
      state.SetLabel("throughput");
      break;
    case Measure::kBytes:
      state.SetLabel("bytes");
      break;
    case Measure::kRate:
      state.SetLabel("rate");
      break;
  }
}

}  // namespace

void ComparePair(benchmark::State& state, const Plan& plan, const Operation& module,
                 const Operation& baseline, double itemsPerOperation, double bytesPerOperation) {
  // Both sides run once before timing: caches, lazily built tables and
  // allocator pools are then as warm for one as for the other.
  module();
  baseline();
  const long length = plan.once ? 1 : BatchLength(module);
  const long moduleBatchesBefore = moduleBatches;
  const long baselineBatchesBefore = baselineBatches;
  double bestModule = std::numeric_limits<double>::infinity();
  double bestBaseline = std::numeric_limits<double>::infinity();
  bool moduleFirst = true;
  for (auto _ : state) {
    // Alternate which side goes first, so that neither always runs in the
    // other's wake.
    if (moduleFirst) {
      bestModule = std::min(bestModule, TimeModule(module, length));
      bestBaseline = std::min(bestBaseline, TimeBaseline(baseline, length));
    } else {
      bestBaseline = std::min(bestBaseline, TimeBaseline(baseline, length));
      bestModule = std::min(bestModule, TimeModule(module, length));
    }
    moduleFirst = !moduleFirst;
  }
  // How many batches each side ran (the same for both).
  state.counters["batches"] = static_cast<double>(
      std::min(moduleBatches - moduleBatchesBefore, baselineBatches - baselineBatchesBefore));
  const double perModule = bestModule / static_cast<double>(length);
  const double perBaseline = bestBaseline / static_cast<double>(length);
  if (bytesPerOperation > 0) {
    SetFigures(state, Measure::kThroughput, bytesPerOperation / perModule / 1e6,
               bytesPerOperation / perBaseline / 1e6);
  } else {
    SetFigures(state, Measure::kTime, perModule * 1e9 / itemsPerOperation,
               perBaseline * 1e9 / itemsPerOperation);
  }
}

void ReportFigures(benchmark::State& state, Measure measure, double module, double baseline) {
  for (auto _ : state) {
  }
  SetFigures(state, measure, module, baseline);
}

benchmark::internal::Benchmark* RegisterPair(const Plan& plan, const std::string& name,
                                             const std::string& size,
                                             std::function<void(benchmark::State&)> run) {
  const std::string fullName = name + "/" + size;
  benchmark::internal::Benchmark* registered = benchmark::RegisterBenchmark(
      fullName.c_str(), [run = std::move(run)](benchmark::State& state) { run(state); });
  if (plan.once) registered->Iterations(1);
  return registered;
}

}  // namespace qaxoi::bench
