// The texts of numeric attribute values.
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "ontology_item/NumberText.h"

namespace {

using Limits = std::numeric_limits<float>;

std::string StreamText(float value) {
  std::ostringstream stream;
  stream << value;
  return stream.str();
}

// Special values first (ties to even at the seventh digit, the ends of the
// fixed notation, six nines below a power of ten, denormals, infinities,
// NaNs), then random bit patterns and ordinary values: RealText must write
// what the stream writes.
TEST(NumberText, RealTextEqualsTheStreamsText) {
  const float special[] = {0.0f,       -0.0f,        0.5f,      999999.0f,  1000000.0f, 0.0001f,
                           0.00001f,   123456.5f,    999999.5f, 99999.95f,  1234565.0f, 1234575.0f,
                           9999995.0f, 0.000099999f, 1e-45f,    0.0999999f, 0.00999999f};
  const float limits[] = {Limits::min(),       Limits::max(),       Limits::lowest(),
                          Limits::infinity(),  -Limits::infinity(), Limits::quiet_NaN(),
                          -Limits::quiet_NaN()};
  for (float value : special) EXPECT_EQ(StreamText(value), RealText(value)) << value;
  for (float value : limits) EXPECT_EQ(StreamText(value), RealText(value)) << value;
  std::mt19937 random(20261205);
  std::uniform_int_distribution<std::uint32_t> bits;
  std::uniform_real_distribution<float> ordinary(-100000.0f, 100000.0f);
  for (int i = 0; i < 200000; ++i) {
    float value = ordinary(random);
    if (i % 2 == 0) {
      const std::uint32_t pattern = bits(random);
      std::memcpy(&value, &pattern, sizeof(value));
    }
    ASSERT_EQ(StreamText(value), RealText(value)) << "bits of " << value;
  }
}

TEST(NumberText, IntegerTextTruncatesTowardZeroAndSaturates) {
  const std::pair<float, const char*> integers[] = {{2.7f, "2"},
                                                    {-2.7f, "-2"},
                                                    {-0.5f, "0"},
                                                    {2147483520.0f, "2147483520"},
                                                    {2147483648.0f, "2147483647"},
                                                    {-2147483648.0f, "-2147483648"},
                                                    {-1e30f, "-2147483648"},
                                                    {Limits::infinity(), "2147483647"},
                                                    {Limits::quiet_NaN(), "0"}};
  for (const auto& [value, text] : integers) EXPECT_EQ(text, IntegerText(value)) << value;
}

TEST(NumberText, BooleanTextIsOneAboveZero) {
  for (float value : {0.25f, Limits::infinity()}) EXPECT_STREQ("1", BooleanText(value));
  for (float value : {0.0f, -0.0f, -3.0f, Limits::quiet_NaN()})
    EXPECT_STREQ("0", BooleanText(value));
}

}  // namespace
