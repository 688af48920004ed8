// Prints the paired measurements as one table: benchmark, size, module,
// baseline, ratio.
#ifndef QAX_BENCH_TABLEREPORTER_H_
#define QAX_BENCH_TABLEREPORTER_H_

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace qaxoi::bench {

// Writes one row per benchmark as it finishes (so a long run shows its
// progress), in a Markdown table. Benchmarks are named "<benchmark>/<size>";
// their figures come from ComparePair or ReportFigures.
class TableReporter : public benchmark::BenchmarkReporter {
 public:
  // With `header` false only rows are written, for appending to a table that
  // another run began.
  TableReporter(std::FILE* out, bool header);

  bool ReportContext(const Context& context) override;
  void ReportRuns(const std::vector<Run>& runs) override;

  // True when a benchmark could not run (its row shows why).
  bool AnyFailed() const { return anyFailed_; }

 private:
  std::FILE* const out_;
  const bool header_;
  bool anyFailed_ = false;
};

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_TABLEREPORTER_H_
