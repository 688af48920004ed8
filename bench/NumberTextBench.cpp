// Number texts against std::ostringstream, which writes the texts they must
// equal.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>

#include "bench/Benchmarks.h"
#include "ontology_item/NumberText.h"

namespace qaxoi::bench {
namespace {

constexpr int kValueCount = 1000;

// Floats as attribute values come: half ordinary magnitudes with fractions,
// half any bit pattern of a finite float.
std::vector<float> RealValues() {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> ordinary(-10000.0f, 10000.0f);
  std::uniform_int_distribution<std::uint32_t> bits;
  std::vector<float> values;
  while (values.size() < kValueCount) {
    float value = ordinary(random);
    if (values.size() % 2 == 1) {
      const std::uint32_t pattern = bits(random);
      std::memcpy(&value, &pattern, sizeof(value));
      if (!std::isfinite(value)) continue;
    }
    values.push_back(value);
  }
  return values;
}

std::vector<float> IntegerValues() {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> ordinary(-2e9f, 2e9f);
  std::vector<float> values;
  for (int i = 0; i < kValueCount; ++i) values.push_back(ordinary(random) / (1 << (i % 24)));
  return values;
}

template <typename T>
std::string StreamText(T value) {
  std::ostringstream stream;
  stream << value;
  return stream.str();
}

void RegisterConversion(const Plan& plan, const char* name, std::vector<float> values,
                        std::string (*convert)(float), std::string (*stream)(float)) {
  RegisterPair(plan, name, "per number", [plan, values, convert, stream](benchmark::State& state) {
    for (const float value : values) {
      if (convert(value) != stream(value)) {
        state.SkipWithError("a text differs from the stream's");
        return;
      }
    }
    const auto module = [&] {
      for (const float value : values) benchmark::DoNotOptimize(convert(value));
    };
    const auto baseline = [&] {
      for (const float value : values) benchmark::DoNotOptimize(stream(value));
    };
    ComparePair(state, plan, module, baseline, static_cast<double>(values.size()));
  });
}

}  // namespace

void RegisterNumberTextBenchmarks(const Plan& plan) {
  RegisterConversion(plan, "RealText", RealValues(), &RealText,
                     [](float value) { return StreamText(value); });
  RegisterConversion(plan, "IntegerText", IntegerValues(), &IntegerText,
                     [](float value) { return StreamText(static_cast<std::int32_t>(value)); });
}

}  // namespace qaxoi::bench
