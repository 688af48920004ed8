#include "tools/qax-host/AttributeValues.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "ontology_item/NumberText.h"

namespace qaxoi::qax_host {

namespace {

constexpr int kDecimalBase = 10;
// Exponents are compared, never computed with: beyond this every number
// given is far outside the float's range anyway.
constexpr long kExponentCap = 100000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number as sign, significant digits (no leading or trailing
// zeros) and the exponent of its first digit: 0.d1d2... × 10^exponent. Zero,
// of either sign, has no digits, is not negative and has exponent 0. Two
// texts are the same number exactly when their forms are equal.
struct DecimalForm {
  bool negative = false;
  std::string digits;
  long exponent = 0;
  bool operator==(const DecimalForm& other) const {
    return negative == other.negative && digits == other.digits && exponent == other.exponent;
  }
};

// Reads `text` as [+-] digits [. digits] [(e|E) [+-] digits], with at least
// one digit before the exponent. False for anything else.
bool ReadDecimal(const std::string& text, DecimalForm* form) {
  std::size_t at = 0;
  const std::size_t size = text.size();
  bool negative = false;
  if (at < size && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::string digits;
  long pointAt = -1;  // digits before the point
  for (; at < size && (IsDigit(text[at]) || (text[at] == '.' && pointAt < 0)); ++at) {
    if (text[at] == '.') {
      pointAt = static_cast<long>(digits.size());
    } else {
      digits += text[at];
    }
  }
  if (digits.empty()) return false;
  if (pointAt < 0) pointAt = static_cast<long>(digits.size());
  long exponent = 0;
  if (at < size && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    bool negativeExponent = false;
    if (at < size && (text[at] == '+' || text[at] == '-')) negativeExponent = text[at++] == '-';
    if (at == size) return false;
    for (; at < size && IsDigit(text[at]); ++at) {
      exponent = std::min(kExponentCap, exponent * kDecimalBase + (text[at] - '0'));
    }
    if (negativeExponent) exponent = -exponent;
  }
  if (at != size) return false;
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) {
    *form = DecimalForm();
    return true;
  }
  const std::size_t last = digits.find_last_not_of('0');
  form->negative = negative;
  form->digits = digits.substr(first, last - first + 1);
  form->exponent = pointAt - static_cast<long>(first) + exponent;
  return true;
}

}  // namespace

bool ParseBooleanValue(const std::string& text, float* value) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "true" || lower == "yes" || lower == "on" || lower == "1") {
    *value = 1.0f;
  } else if (lower == "false" || lower == "no" || lower == "off" || lower == "0") {
    *value = 0.0f;
  } else {
    return false;
  }
  return true;
}

bool ParseIntegerValue(const std::string& text, float* value) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) at = 1;
  if (at == text.size()) return false;
  long magnitude = 0;
  for (; at < text.size(); ++at) {
    if (!IsDigit(text[at])) return false;
    magnitude = magnitude * kDecimalBase + (text[at] - '0');
    // Stops growing at the first digit too many: no overflow, any length.
    if (magnitude > kFloatExactInteger) return false;
  }
  *value = static_cast<float>(negative ? -magnitude : magnitude);
  return true;
}

RealValue ParseRealValue(const std::string& text, float* value, std::string* written) {
  DecimalForm given;
  if (!ReadDecimal(text, &given)) return RealValue::kInvalid;
  // strtof rounds to nearest; it reports underflow as ERANGE, which is a
  // rounding like any other here, and overflow as infinity.
  const float parsed = std::strtof(text.c_str(), nullptr);
  if (std::isinf(parsed)) return RealValue::kTooLarge;
  *value = parsed;
  *written = RealText(parsed);
  DecimalForm kept;
  if (!ReadDecimal(*written, &kept)) return RealValue::kRounded;
  return kept == given ? RealValue::kExact : RealValue::kRounded;
}

}  // namespace qaxoi::qax_host
