// Runs every input committed under fuzz/corpus/<target>/ (seeds) and
// fuzz/regressions/<target>/ (inputs that once found a fault) through its
// fuzz target: each must keep every property, and the sanitizer and valgrind
// runs see no fault.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/FuzzTargets.h"

namespace {

using Target = std::string (*)(const std::uint8_t*, std::size_t);

struct FuzzTarget {
  const char* name;
  Target run;
};

class FuzzRegression : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzRegression, EveryCommittedInputKeepsTheProperties) {
  std::size_t inputs = 0;
  for (const char* folder : {"corpus", "regressions"}) {
    const std::filesystem::path path =
        std::filesystem::path(QAX_FUZZ_DIR) / folder / GetParam().name;
    if (!std::filesystem::is_directory(path)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      std::ifstream file(entry.path(), std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                            std::istreambuf_iterator<char>()};
      EXPECT_EQ("", GetParam().run(bytes.data(), bytes.size())) << entry.path();
      ++inputs;
    }
  }
  EXPECT_GT(inputs, 0u) << "no inputs for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegression,
                         ::testing::Values(FuzzTarget{"item_records", qax_fuzz::FuzzItemRecords},
                                           FuzzTarget{"group_file", qax_fuzz::FuzzGroupFile},
                                           FuzzTarget{"vocabulary", qax_fuzz::FuzzVocabulary},
                                           FuzzTarget{"diagnostics", qax_fuzz::FuzzDiagnostics}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
