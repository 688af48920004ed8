#include <cstdlib>
#include <string>

#include "bench/Benchmarks.h"

namespace qaxoi::bench {

std::string VocabularyDirectory() {
  const char* const configured = std::getenv("QAX_VOCABULARY_DIR");
  return configured != nullptr ? configured : QAX_VOCABULARY_DIR;
}

}  // namespace qaxoi::bench
