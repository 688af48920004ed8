// Runs every input committed under fuzz/corpus/<target>/ (seeds) and
// fuzz/regressions/<target>/ (inputs that once found a fault) through its
// fuzz target: each must keep every property, and the sanitizer and valgrind
// runs see no fault.
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "fuzz/FuzzTargets.h"

namespace {

void RunCommittedInputs(const char* target, std::string (*run)(const std::uint8_t*, std::size_t)) {
  std::size_t inputs = 0;
  for (const char* folder : {"corpus", "regressions"}) {
    const std::filesystem::path path = std::filesystem::path(QAX_FUZZ_DIR) / folder / target;
    if (!std::filesystem::is_directory(path)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      std::ifstream file(entry.path(), std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
      EXPECT_EQ("", run(bytes.data(), bytes.size())) << entry.path();
      ++inputs;
    }
  }
  EXPECT_GT(inputs, 0u) << "no inputs for " << target;
}

TEST(FuzzRegression, ItemRecords) {
  RunCommittedInputs("item_records", qaxoi::fuzz::FuzzItemRecords);
}
TEST(FuzzRegression, GroupFile) { RunCommittedInputs("group_file", qaxoi::fuzz::FuzzGroupFile); }
TEST(FuzzRegression, Vocabulary) { RunCommittedInputs("vocabulary", qaxoi::fuzz::FuzzVocabulary); }
TEST(FuzzRegression, WellFormedGroup) {
  RunCommittedInputs("well_formed_group", qaxoi::fuzz::FuzzWellFormedGroup);
}
TEST(FuzzRegression, Diagnostics) {
  RunCommittedInputs("diagnostics", qaxoi::fuzz::FuzzDiagnostics);
}
#ifdef QAX_FUZZ_STORE
TEST(FuzzRegression, QueryResults) {
  RunCommittedInputs("query_results", qaxoi::fuzz::FuzzQueryResults);
}
#endif
TEST(FuzzRegression, VocabularyRelease) {
  RunCommittedInputs("vocabulary_release", qaxoi::fuzz::FuzzVocabularyRelease);
}
TEST(FuzzRegression, Validation) { RunCommittedInputs("validation", qaxoi::fuzz::FuzzValidation); }
TEST(FuzzRegression, ValidationCost) {
  RunCommittedInputs("validation_cost", qaxoi::fuzz::FuzzValidationCost);
}

}  // namespace
