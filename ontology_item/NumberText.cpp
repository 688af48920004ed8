#include "ontology_item/NumberText.h"

#include <algorithm>
#include <charconv>
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

// `magnitude` times 10^`exponent`, within a few units in the last place:
// every factor is exact and each step rounds once.
double ScaleByPowerOfTen(double magnitude, int exponent) {
  static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr int kLargest = 22;
  if (exponent >= 0) {
    for (; exponent > kLargest; exponent -= kLargest) magnitude *= kExact[kLargest];
    return magnitude * kExact[exponent];
  }
  for (exponent = -exponent; exponent > kLargest; exponent -= kLargest) {
    magnitude /= kExact[kLargest];
  }
  return magnitude / kExact[exponent];
}

// Writes the float `magnitude` (finite and not zero) with a leading minus
// sign when `negative`, as "%g" writes it: rounded to 6 significant digits,
// ties to even, in fixed notation for decimal exponents from -4 to 5 and in
// exponent form otherwise, trailing zeros dropped. Answers the length
// written to `out` (at least 16 bytes), or 0 when the digits lie too close
// to a rounding tie to be decided here.
std::size_t GeneralText(float magnitude, bool negative, char* out) {
  constexpr int kDigits = 6;
  // A float converts to a double exactly, and its scaled value below 10^7
  // is off by far less than this; only a fraction this close to one half
  // can round either way.
  constexpr double kTieMargin = 1e-6;
  const double exact = static_cast<double>(magnitude);
  int binaryExponent = 0;
  std::frexp(exact, &binaryExponent);
  // The decimal exponent is this or one more (log10(2) < 0.30103).
  int exponent = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398120));
  double scaled = 0;
  std::uint32_t digits = 0;
  for (int attempt = 0;; ++attempt) {
    scaled = ScaleByPowerOfTen(exact, kDigits - 1 - exponent);
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < kTieMargin || attempt == 2) return 0;
    // Rounded to the nearest: whole + 1 when the fraction is above one half.
    const double rounded = fraction > 0.5 ? whole + 1 : whole;
    if (rounded >= 1000000.0) {
      ++exponent;
    } else if (rounded < 100000.0) {
      --exponent;
    } else {
      digits = static_cast<std::uint32_t>(rounded);
      break;
    }
  }

  char digitText[kDigits];
  for (int i = kDigits - 1; i >= 0; --i) {
    digitText[i] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  int significant = kDigits;
  while (significant > 1 && digitText[significant - 1] == '0') --significant;

  char* p = out;
  if (negative) *p++ = '-';
  if (exponent >= -4 && exponent < kDigits) {
    if (exponent >= 0) {
      const int whole = exponent + 1;
      for (int i = 0; i < whole; ++i) *p++ = digitText[i];
      if (significant > whole) {
        *p++ = '.';
        for (int i = whole; i < significant; ++i) *p++ = digitText[i];
      }
    } else {
      *p++ = '0';
      *p++ = '.';
      for (int i = -1; i > exponent; --i) *p++ = '0';
      for (int i = 0; i < significant; ++i) *p++ = digitText[i];
    }
  } else {
    *p++ = digitText[0];
    if (significant > 1) {
      *p++ = '.';
      for (int i = 1; i < significant; ++i) *p++ = digitText[i];
    }
    *p++ = 'e';
    *p++ = exponent < 0 ? '-' : '+';
    const int absolute = exponent < 0 ? -exponent : exponent;
    // Two digits at least; a float's decimal exponent has no more.
    *p++ = static_cast<char>('0' + absolute / 10);
    *p++ = static_cast<char>('0' + absolute % 10);
  }
  return static_cast<std::size_t>(p - out);
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
  char text[32];
  if (std::isfinite(magnitude)) {
    const std::size_t length = GeneralText(magnitude, std::signbit(value), text);
    if (length != 0) return std::string(text, length);
  }
  // Infinities and NaNs are written as the C runtime's "%g" writes them, as
  // the stream does (whether a NaN's sign shows differs between runtimes);
  // they hold no decimal point that a locale could change.
  if (!std::isfinite(magnitude)) {
    const int length = std::snprintf(text, sizeof(text), "%g", static_cast<double>(value));
    return length > 0
               ? std::string(text, std::min(static_cast<std::size_t>(length), sizeof(text) - 1))
               : std::string();
  }
  // Values next to a rounding tie. The stream formats a float as the double
  // it converts to, "%g" style, with a decimal point whatever C locale the
  // host has set (snprintf would write a decimal comma in a host that set
  // one, as GUI toolkits do).
  constexpr int kGeneralDigits = 6;
  const std::to_chars_result written =
      std::to_chars(text, text + sizeof(text), static_cast<double>(value),
                    std::chars_format::general, kGeneralDigits);
  if (written.ec != std::errc()) return std::string();
  return std::string(text, written.ptr);
}
