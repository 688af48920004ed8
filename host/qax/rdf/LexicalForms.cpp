#include "host/qax/rdf/LexicalForms.h"

#include <cctype>

namespace qaxoi::rdf {

namespace {

constexpr char kXsd[] = "http://www.w3.org/2001/XMLSchema#";

// A cursor over a text that matches the pieces of XML Schema's lexical forms.
class Scan {
 public:
  explicit Scan(const std::string& text) : text_(text) {}
  bool AtEnd() const { return at_ == text_.size(); }
  // Where the scan stands, and a return there.
  std::size_t At() const { return at_; }
  void Back(std::size_t at) { at_ = at; }
  bool Take(char c) {
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  void TakeSign() {
    if (!Take('+')) Take('-');
  }
  // Takes one or more digits; answers how many.
  std::size_t Digits() {
    const std::size_t start = at_;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
    return at_ - start;
  }
  // Takes exactly `count` digits and answers their value; -1 when there are
  // fewer.
  int Number(std::size_t count) {
    int value = 0;
    for (std::size_t i = 0; i < count; ++i, ++at_) {
      if (at_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[at_]))) return -1;
      value = value * 10 + (text_[at_] - '0');
    }
    return value;
  }

 private:
  const std::string& text_;
  std::size_t at_ = 0;
};

// [+-]? digits ('.' digits?)? | [+-]? '.' digits
bool ScanDecimal(Scan& scan) {
  scan.TakeSign();
  const std::size_t whole = scan.Digits();
  if (scan.Take('.')) return whole + scan.Digits() > 0;
  return whole > 0;
}

bool IsInteger(const std::string& text) {
  Scan scan(text);
  scan.TakeSign();
  return scan.Digits() > 0 && scan.AtEnd();
}

bool IsDecimal(const std::string& text) {
  Scan scan(text);
  return ScanDecimal(scan) && scan.AtEnd();
}

bool IsDouble(const std::string& text) {
  if (text == "INF" || text == "+INF" || text == "-INF" || text == "NaN") return true;
  Scan scan(text);
  if (!ScanDecimal(scan)) return false;
  if (scan.Take('e') || scan.Take('E')) {
    scan.TakeSign();
    if (scan.Digits() == 0) return false;
  }
  return scan.AtEnd();
}

// -?YYYY-MM-DD with a year of four digits or more (no leading zero beyond
// four), a month 01-12 and a day 01-31.
bool ScanDate(Scan& scan) {
  scan.Take('-');
  const int first = scan.Number(1);
  if (first < 0) return false;
  const std::size_t rest = scan.Digits();
  if (rest < 3 || (rest > 3 && first == 0)) return false;
  if (!scan.Take('-')) return false;
  const int month = scan.Number(2);
  if (month < 1 || month > 12 || !scan.Take('-')) return false;
  const int day = scan.Number(2);
  return day >= 1 && day <= 31;
}

// An optional time zone: Z, or +hh:mm / -hh:mm up to 14:00.
bool ScanZone(Scan& scan) {
  if (scan.AtEnd() || scan.Take('Z')) return true;
  if (!scan.Take('+') && !scan.Take('-')) return false;
  const int hours = scan.Number(2);
  if (hours < 0 || !scan.Take(':')) return false;
  const int minutes = scan.Number(2);
  return minutes >= 0 && minutes <= 59 && (hours < 14 || (hours == 14 && minutes == 0));
}

bool IsDate(const std::string& text) {
  Scan scan(text);
  return ScanDate(scan) && ScanZone(scan) && scan.AtEnd();
}

// hh:mm:ss with an optional fraction; 24:00:00 only whole.
bool ScanTime(Scan& scan) {
  const int hours = scan.Number(2);
  if (hours < 0 || hours > 24 || !scan.Take(':')) return false;
  const int minutes = scan.Number(2);
  if (minutes < 0 || minutes > 59 || !scan.Take(':')) return false;
  const int seconds = scan.Number(2);
  if (seconds < 0 || seconds > 59) return false;
  bool fraction = false;
  if (scan.Take('.')) {
    if (scan.Digits() == 0) return false;
    fraction = true;
  }
  return hours < 24 || (minutes == 0 && seconds == 0 && !fraction);
}

// A date, 'T', a time and an optional time zone.
bool IsDateTime(const std::string& text) {
  Scan scan(text);
  return ScanDate(scan) && scan.Take('T') && ScanTime(scan) && ScanZone(scan) && scan.AtEnd();
}

// -? digits (4 or more, no leading zero beyond four)
bool ScanYear(Scan& scan) {
  scan.Take('-');
  const int first = scan.Number(1);
  if (first < 0) return false;
  const std::size_t rest = scan.Digits();
  return rest >= 3 && !(rest > 3 && first == 0);
}

bool ScanMonth(Scan& scan) {
  const int month = scan.Number(2);
  return month >= 1 && month <= 12;
}

bool ScanDay(Scan& scan) {
  const int day = scan.Number(2);
  return day >= 1 && day <= 31;
}

// -?P then years, months, days, and after T hours, minutes, seconds (with a
// fraction), each optional, at least one, and one after a T. `dates` and
// `times` allow the parts before and after T.
bool IsDuration(const std::string& text, bool dates, bool times) {
  Scan scan(text);
  scan.Take('-');
  if (!scan.Take('P')) return false;
  std::size_t parts = 0;
  const auto part = [&](char unit, bool allowed) {
    const std::size_t saved = scan.At();
    if (scan.Digits() == 0) return true;
    if (!scan.Take(unit)) {
      scan.Back(saved);  // a number of a later part
      return true;
    }
    if (!allowed) return false;
    ++parts;
    return true;
  };
  if (!part('Y', dates) || !part('M', dates) || !part('D', true)) return false;
  if (scan.Take('T')) {
    if (!times) return false;
    const std::size_t before = parts;
    if (!part('H', true) || !part('M', true)) return false;
    const std::size_t saved = scan.At();
    const std::size_t whole = scan.Digits();
    bool fraction = false;
    if (scan.Take('.')) fraction = scan.Digits() > 0;
    if (whole > 0 || fraction) {
      if (!scan.Take('S')) return false;
      ++parts;
    } else {
      scan.Back(saved);
    }
    if (parts == before) return false;
  }
  return parts > 0 && scan.AtEnd();
}

// The digits of an integer text without sign and leading zeros ("0" for
// zero) and its sign; false for no integer.
bool IntegerParts(const std::string& text, std::string* digits, bool* negative) {
  if (!IsInteger(text)) return false;
  *negative = text[0] == '-';
  const std::size_t start = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  const std::size_t first = text.find_first_not_of('0', start);
  *digits = first == std::string::npos ? "0" : text.substr(first);
  if (*digits == "0") *negative = false;
  return true;
}

// Whether the magnitude `digits` is at most `bound` (both without leading
// zeros).
bool AtMost(const std::string& digits, std::string_view bound) {
  if (digits.size() != bound.size()) return digits.size() < bound.size();
  return digits <= bound;
}

// The bounds of XML Schema's integer types: the most negative magnitude
// (empty: none below zero allowed; "-": unbounded) and the largest
// positive one (the same), and whether zero is allowed.
struct IntegerBounds {
  std::string_view type;
  std::string_view lowest;   // magnitude of the lowest value; "" none negative
  std::string_view highest;  // "" none positive
  bool zero;
};
constexpr std::string_view kUnbounded = "-";
constexpr IntegerBounds kIntegerTypes[] = {
    {"integer", kUnbounded, kUnbounded, true},
    {"nonNegativeInteger", "", kUnbounded, true},
    {"positiveInteger", "", kUnbounded, false},
    {"nonPositiveInteger", kUnbounded, "", true},
    {"negativeInteger", kUnbounded, "", false},
    {"long", "9223372036854775808", "9223372036854775807", true},
    {"int", "2147483648", "2147483647", true},
    {"short", "32768", "32767", true},
    {"byte", "128", "127", true},
    {"unsignedLong", "", "18446744073709551615", true},
    {"unsignedInt", "", "4294967295", true},
    {"unsignedShort", "", "65535", true},
    {"unsignedByte", "", "255", true},
};

bool InBounds(const IntegerBounds& bounds, const std::string& text) {
  std::string digits;
  bool negative = false;
  if (!IntegerParts(text, &digits, &negative)) return false;
  if (digits == "0") return bounds.zero;
  const std::string_view limit = negative ? bounds.lowest : bounds.highest;
  if (limit.empty()) return false;
  return limit == kUnbounded || AtMost(digits, limit);
}

bool IsHexBinary(const std::string& text) {
  if (text.size() % 2 != 0) return false;
  for (const char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// The checks of the date, time and g* types, by local name.
bool IsTemporal(std::string_view local, const std::string& text, bool* known) {
  *known = true;
  Scan scan(text);
  if (local == "date") return IsDate(text);
  if (local == "dateTime") return IsDateTime(text);
  if (local == "dateTimeStamp") {
    return IsDateTime(text) &&
           (text.back() == 'Z' || (text.size() > 6 && text[text.size() - 3] == ':' &&
                                   (text[text.size() - 6] == '+' || text[text.size() - 6] == '-')));
  }
  if (local == "time") return ScanTime(scan) && ScanZone(scan) && scan.AtEnd();
  if (local == "gYear") return ScanYear(scan) && ScanZone(scan) && scan.AtEnd();
  if (local == "gYearMonth") {
    return ScanYear(scan) && scan.Take('-') && ScanMonth(scan) && ScanZone(scan) && scan.AtEnd();
  }
  if (local == "gMonth") {
    return scan.Take('-') && scan.Take('-') && ScanMonth(scan) && ScanZone(scan) && scan.AtEnd();
  }
  if (local == "gMonthDay") {
    return scan.Take('-') && scan.Take('-') && ScanMonth(scan) && scan.Take('-') && ScanDay(scan) &&
           ScanZone(scan) && scan.AtEnd();
  }
  if (local == "gDay") {
    return scan.Take('-') && scan.Take('-') && scan.Take('-') && ScanDay(scan) && ScanZone(scan) &&
           scan.AtEnd();
  }
  if (local == "duration") return IsDuration(text, true, true);
  if (local == "dayTimeDuration") return IsDuration(text, false, true);
  if (local == "yearMonthDuration") return IsDuration(text, true, false);
  *known = false;
  return false;
}

}  // namespace

LexicalCheck CheckLexicalForm(std::string_view datatype, const std::string& text, bool wordsOnly) {
  const std::string_view xsd = kXsd;
  if (datatype.substr(0, xsd.size()) != xsd) return LexicalCheck::kUnchecked;
  const std::string_view local = datatype.substr(xsd.size());
  const auto answer = [](bool valid) {
    return valid ? LexicalCheck::kValid : LexicalCheck::kInvalid;
  };
  if (local == "boolean") {
    return answer(text == "true" || text == "false" ||
                  (!wordsOnly && (text == "1" || text == "0")));
  }
  for (const IntegerBounds& bounds : kIntegerTypes) {
    if (bounds.type == local) return answer(InBounds(bounds, text));
  }
  if (local == "decimal") return answer(IsDecimal(text));
  if (local == "double" || local == "float") return answer(IsDouble(text));
  if (local == "hexBinary") return answer(IsHexBinary(text));
  bool known = false;
  const bool valid = IsTemporal(local, text, &known);
  return known ? answer(valid) : LexicalCheck::kUnchecked;
}

bool IsNativeJsonLiteral(std::string_view datatype, const std::string& text) {
  constexpr std::size_t kMostExactDigits = 15;
  const std::string_view xsd = kXsd;
  if (datatype.substr(0, xsd.size()) != xsd) return false;
  const std::string_view local = datatype.substr(xsd.size());
  if (local == "boolean") return text == "true" || text == "false";
  if (local != "integer" || !IsInteger(text) || text[0] == '+') return false;
  const std::size_t start = text[0] == '-' ? 1 : 0;
  const std::size_t digits = text.size() - start;
  if (digits > kMostExactDigits) return false;
  if (text[start] == '0') return digits == 1 && start == 0;  // "0" only
  return true;
}

std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
  };
  const unsigned lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned low = 0x80;  // bounds of the first continuation byte
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

std::string WellFormedUtf8(const std::string& text, bool* repaired) {
  std::string out;
  out.reserve(text.size());
  bool any = false;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8Length(text, at);
    if (length == 0) {
      out.append("\xEF\xBF\xBD");
      any = true;
      ++at;
    } else {
      out.append(text, at, length);
      at += length;
    }
  }
  if (repaired != nullptr) *repaired = any;
  return out;
}

std::string LiteralDatatype(QAX::Ontology::Info::AttrKind kind, const std::string& text) {
  const char* type = nullptr;
  switch (kind) {
    case QAX::Ontology::Info::AttrKind::kBoolean:
      if (text == "true" || text == "false" || text == "1" || text == "0") type = "boolean";
      break;
    case QAX::Ontology::Info::AttrKind::kInteger:
      if (IsInteger(text)) type = "integer";
      break;
    case QAX::Ontology::Info::AttrKind::kReal:
      if (IsDecimal(text)) {
        type = "decimal";
      } else if (IsDouble(text)) {
        type = "double";
      }
      break;
    case QAX::Ontology::Info::AttrKind::kTemporal:
      if (IsDateTime(text)) {
        type = "dateTime";
      } else if (IsDate(text)) {
        type = "date";
      }
      break;
    default:
      break;
  }
  return type != nullptr ? std::string(kXsd) + type : std::string();
}

}  // namespace qaxoi::rdf
