// The options of the benchmark programs that are not Google Benchmark's.
#ifndef QAX_BENCH_OPTIONS_H_
#define QAX_BENCH_OPTIONS_H_

#include "bench/Harness.h"

namespace qaxoi::bench {

struct Options {
  Plan plan;
  bool header = true;
};

// Takes "--smoke" (each side once, smallest sizes only), "--once" (each side
// once) and "--no-header" out of the arguments, leaving the rest for Google
// Benchmark.
Options TakeOptions(int& argc, char** argv);

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_OPTIONS_H_
