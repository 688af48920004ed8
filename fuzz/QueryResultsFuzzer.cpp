// libFuzzer entry point of qaxoi::fuzz::FuzzQueryResults (fuzz/FuzzTargets.h).
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = qaxoi::fuzz::FuzzQueryResults(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, "property broken: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
