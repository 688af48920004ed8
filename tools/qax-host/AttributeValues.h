// The values qax-host accepts for attributes held by float channels. The
// float channel has 32 bits and the module writes its value as six-digit
// number text; a value that the channel would change is refused, and one it
// would round is reported, never changed silently.
#ifndef QAX_TOOLS_QAX_HOST_ATTRIBUTEVALUES_H_
#define QAX_TOOLS_QAX_HOST_ATTRIBUTEVALUES_H_

#include <string>

namespace qaxoi::qax_host {

// The largest magnitude up to which a float holds every integer exactly
// (2^24): integer attributes take values from -kFloatExactInteger to
// kFloatExactInteger.
inline constexpr long kFloatExactInteger = 16777216;

// "true", "yes", "on", "1" as 1 and "false", "no", "off", "0" as 0, in any
// letter case. False for anything else.
bool ParseBooleanValue(const std::string& text, float* value);

// A decimal integer, an optional sign and digits only, within
// ±kFloatExactInteger. False for anything else ("2.5", "0x10", " 1", "nan",
// "16777217"), however many digits it has.
bool ParseIntegerValue(const std::string& text, float* value);

// What ParseRealValue made of a text.
enum class RealValue {
  kExact,    // the module writes the number given (perhaps spelled otherwise)
  kRounded,  // the float channel or the six-digit text keeps fewer digits
  kInvalid,  // not a decimal number (nan, inf and hex included)
  kTooLarge  // beyond the float's range: the channel would hold infinity
};

// A decimal number: an optional sign, digits with an optional point, an
// optional exponent ("4.5", "-.5", "1e3"). The value is the nearest float;
// `written` is the text the module writes for it. kRounded when that text is
// another number than `text` ("123456.789" is written "123457").
RealValue ParseRealValue(const std::string& text, float* value, std::string* written);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_ATTRIBUTEVALUES_H_
