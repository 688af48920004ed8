// The texts of numeric attribute values.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "ontology_item/NumberText.h"

namespace {

std::string StreamText(float value) {
  std::ostringstream stream;
  stream << value;
  return stream.str();
}

float FromBits(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

TEST(NumberText, RealTextEqualsTheStreamsTextForSpecialValues) {
  const float values[] = {0.0f,
                          -0.0f,
                          1.0f,
                          -1.0f,
                          0.5f,
                          3.0f,
                          999999.0f,
                          1000000.0f,
                          1234567.0f,
                          0.0001f,
                          0.00001f,
                          123456.5f,
                          999999.5f,
                          99999.95f,
                          1234565.0f,  // ties at the seventh digit: to even
                          1234575.0f,
                          9999995.0f,
                          16777215.0f,
                          0.000099999f,
                          1e-45f,
                          std::numeric_limits<float>::min(),
                          std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::lowest(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN(),
                          -std::numeric_limits<float>::quiet_NaN()};
  for (float value : values) EXPECT_EQ(StreamText(value), RealText(value)) << value;
}

TEST(NumberText, RealTextEqualsTheStreamsTextOverManyFloats) {
  std::mt19937 random(20261205);
  std::uniform_int_distribution<std::uint32_t> bits;
  std::uniform_real_distribution<float> ordinary(-100000.0f, 100000.0f);
  for (int i = 0; i < 200000; ++i) {
    const float value = i % 2 == 0 ? FromBits(bits(random)) : ordinary(random);
    ASSERT_EQ(StreamText(value), RealText(value)) << "bits of " << value;
  }
  for (int i = -2000; i <= 2000; ++i) {
    const float value = static_cast<float>(i) / 8.0f;
    ASSERT_EQ(StreamText(value), RealText(value));
  }
}

TEST(NumberText, IntegerTextTruncatesTowardZeroAndSaturates) {
  EXPECT_EQ("2", IntegerText(2.7f));
  EXPECT_EQ("-2", IntegerText(-2.7f));
  EXPECT_EQ("0", IntegerText(-0.5f));
  EXPECT_EQ("0", IntegerText(-0.0f));
  EXPECT_EQ("2147483520", IntegerText(2147483520.0f));
  EXPECT_EQ("2147483647", IntegerText(2147483648.0f));
  EXPECT_EQ("-2147483648", IntegerText(-2147483648.0f));
  EXPECT_EQ("-2147483648", IntegerText(-1e30f));
  EXPECT_EQ("2147483647", IntegerText(std::numeric_limits<float>::infinity()));
  EXPECT_EQ("0", IntegerText(std::numeric_limits<float>::quiet_NaN()));
}

TEST(NumberText, BooleanTextIsOneOnlyAboveZero) {
  EXPECT_STREQ("1", BooleanText(0.25f));
  EXPECT_STREQ("1", BooleanText(std::numeric_limits<float>::infinity()));
  EXPECT_STREQ("0", BooleanText(0.0f));
  EXPECT_STREQ("0", BooleanText(-0.0f));
  EXPECT_STREQ("0", BooleanText(-3.0f));
  EXPECT_STREQ("0", BooleanText(std::numeric_limits<float>::quiet_NaN()));
}

}  // namespace
