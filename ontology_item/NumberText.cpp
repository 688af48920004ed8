#include "ontology_item/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

// Writes the decimal digits of `magnitude` behind an optional minus sign.
std::string DecimalText(bool negative, std::uint64_t magnitude) {
  char digits[24];
  char* end = digits + sizeof(digits);
  char* p = end;
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--p = '-';
  return std::string(p, end);
}

}  // namespace

const char* BooleanText(float value) { return value > 0.0f ? "1" : "0"; }

std::string IntegerText(float value) {
  if (std::isnan(value)) return "0";
  constexpr float kTwoPow31 = 2147483648.0f;  // exactly representable
  std::int64_t truncated;
  if (value >= kTwoPow31) {
    truncated = std::numeric_limits<std::int32_t>::max();
  } else if (value < -kTwoPow31) {
    truncated = std::numeric_limits<std::int32_t>::min();
  } else {
    truncated = static_cast<std::int64_t>(value);  // in range: truncates toward zero
  }
  const bool negative = truncated < 0;
  return DecimalText(negative, static_cast<std::uint64_t>(negative ? -truncated : truncated));
}

std::string RealText(float value) {
  // Whole numbers below 10^6 are written in full by general notation with 6
  // significant digits: take them without formatting machinery. -0 keeps its
  // sign, as the stream writes it.
  const float magnitude = std::fabs(value);
  if (magnitude < 1000000.0f && magnitude == std::floor(magnitude)) {
    return DecimalText(std::signbit(value), static_cast<std::uint64_t>(magnitude));
  }
  // The stream formats a float as the double it converts to, "%g" style.
  char text[32];
  const int length = std::snprintf(text, sizeof(text), "%g", static_cast<double>(value));
  if (length <= 0) return std::string();
  return std::string(text, static_cast<std::size_t>(length) < sizeof(text)
                               ? static_cast<std::size_t>(length)
                               : sizeof(text) - 1);
}
