#include "host/qax/shacl/LiteralValues.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <utility>

#include "host/qax/shacl/ShaclTerms.h"

namespace qaxoi::shacl {
namespace {

constexpr std::string_view kXsd = QAX_XSD_NS;
constexpr std::string_view kLangStringIri = QAX_RDF_NS "langString";

struct NamedType {
  std::string_view localName;
  XsdType type;
};

constexpr std::array<NamedType, 35> kTypes{{
    {"string", XsdType::kString},
    {"normalizedString", XsdType::kNormalizedString},
    {"token", XsdType::kToken},
    {"language", XsdType::kLanguage},
    {"anyURI", XsdType::kAnyUri},
    {"boolean", XsdType::kBoolean},
    {"decimal", XsdType::kDecimal},
    {"integer", XsdType::kInteger},
    {"nonPositiveInteger", XsdType::kNonPositiveInteger},
    {"negativeInteger", XsdType::kNegativeInteger},
    {"nonNegativeInteger", XsdType::kNonNegativeInteger},
    {"positiveInteger", XsdType::kPositiveInteger},
    {"long", XsdType::kLong},
    {"int", XsdType::kInt},
    {"short", XsdType::kShort},
    {"byte", XsdType::kByte},
    {"unsignedLong", XsdType::kUnsignedLong},
    {"unsignedInt", XsdType::kUnsignedInt},
    {"unsignedShort", XsdType::kUnsignedShort},
    {"unsignedByte", XsdType::kUnsignedByte},
    {"double", XsdType::kDouble},
    {"float", XsdType::kFloat},
    {"dateTime", XsdType::kDateTime},
    {"dateTimeStamp", XsdType::kDateTimeStamp},
    {"date", XsdType::kDate},
    {"time", XsdType::kTime},
    {"gYear", XsdType::kGYear},
    {"gYearMonth", XsdType::kGYearMonth},
    {"gMonth", XsdType::kGMonth},
    {"gMonthDay", XsdType::kGMonthDay},
    {"gDay", XsdType::kGDay},
    {"duration", XsdType::kDuration},
    {"hexBinary", XsdType::kHexBinary},
    {"base64Binary", XsdType::kBase64Binary},
    {"", XsdType::kOther},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A cursor over a lexical form.
struct Scan {
  std::string_view text;
  std::size_t at = 0;
  bool Done() const { return at == text.size(); }
  char Peek() const { return Done() ? '\0' : text[at]; }
  bool Take(char c) {
    if (Peek() != c || Done()) return false;
    ++at;
    return true;
  }
  // Takes a run of digits; answers how many.
  std::size_t Digits() {
    const std::size_t start = at;
    while (!Done() && IsDigit(text[at])) ++at;
    return at - start;
  }
  // Takes exactly `count` digits as a number; -1 when they are not there.
  int Fixed(std::size_t count) {
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (Done() || !IsDigit(text[at])) return -1;
      value = value * 10 + (text[at++] - '0');
    }
    return value;
  }
};

// A decimal number as its digits: the sign, the integer digits without
// leading zeros, the fraction digits without trailing zeros.
struct Decimal {
  bool negative = false;
  std::string_view whole;
  std::string_view fraction;
  bool IsZero() const { return whole.empty() && fraction.empty(); }
};

bool ParseDecimal(std::string_view text, bool allowPoint, Decimal& out) {
  Scan scan{text};
  out.negative = scan.Take('-');
  if (!out.negative) scan.Take('+');
  const std::size_t wholeStart = scan.at;
  const std::size_t wholeDigits = scan.Digits();
  std::size_t fracStart = scan.at;
  std::size_t fracDigits = 0;
  if (allowPoint && scan.Take('.')) {
    fracStart = scan.at;
    fracDigits = scan.Digits();
  }
  if (!scan.Done() || wholeDigits + fracDigits == 0) return false;
  std::string_view whole = text.substr(wholeStart, wholeDigits);
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  std::string_view fraction = text.substr(fracStart, fracDigits);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  out.whole = whole;
  out.fraction = fraction;
  return true;
}

int CompareMagnitude(const Decimal& a, const Decimal& b) {
  if (a.whole.size() != b.whole.size()) return a.whole.size() < b.whole.size() ? -1 : 1;
  if (const int c = a.whole.compare(b.whole); c != 0) return c < 0 ? -1 : 1;
  const int c = a.fraction.compare(b.fraction);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareDecimals(const Decimal& a, const Decimal& b) {
  const bool aNeg = a.negative && !a.IsZero();
  const bool bNeg = b.negative && !b.IsZero();
  if (aNeg != bNeg) return aNeg ? -1 : 1;
  const int magnitude = CompareMagnitude(a, b);
  return aNeg ? -magnitude : magnitude;
}

// Integer types' bounds as decimal digits; empty where there is none.
struct IntegerRange {
  XsdType type;
  std::string_view min;
  std::string_view max;
};

constexpr std::array<IntegerRange, 12> kRanges{{
    {XsdType::kInteger, "", ""},
    {XsdType::kNonPositiveInteger, "", "0"},
    {XsdType::kNegativeInteger, "", "-1"},
    {XsdType::kNonNegativeInteger, "0", ""},
    {XsdType::kPositiveInteger, "1", ""},
    {XsdType::kLong, "-9223372036854775808", "9223372036854775807"},
    {XsdType::kInt, "-2147483648", "2147483647"},
    {XsdType::kShort, "-32768", "32767"},
    {XsdType::kByte, "-128", "127"},
    {XsdType::kUnsignedLong, "0", "18446744073709551615"},
    {XsdType::kUnsignedInt, "0", "4294967295"},
    {XsdType::kUnsignedShort, "0", "65535"},
}};

bool IsIntegerOf(XsdType type, std::string_view text) {
  Decimal value;
  if (!ParseDecimal(text, false, value)) return false;
  if (type == XsdType::kUnsignedByte)
    return !(value.negative && !value.IsZero()) &&
           CompareDecimals(value, Decimal{false, "255", ""}) <= 0;
  for (const IntegerRange& range : kRanges) {
    if (range.type != type) continue;
    Decimal bound;
    if (!range.min.empty() && ParseDecimal(range.min, false, bound) &&
        CompareDecimals(value, bound) < 0)
      return false;
    if (!range.max.empty() && ParseDecimal(range.max, false, bound) &&
        CompareDecimals(value, bound) > 0)
      return false;
    return true;
  }
  return false;
}

bool IsSpecialFloat(std::string_view text) {
  return text == "INF" || text == "+INF" || text == "-INF" || text == "NaN";
}

bool IsFloating(std::string_view text) {
  if (IsSpecialFloat(text)) return true;
  const std::size_t e = text.find_first_of("eE");
  Decimal mantissa;
  if (!ParseDecimal(text.substr(0, e), true, mantissa)) return false;
  if (e == std::string_view::npos) return true;
  Decimal exponent;
  return ParseDecimal(text.substr(e + 1), false, exponent);
}

// A point on the time line: days from 1970-01-01, the second of that day
// (0 to kSecondsPerDay - 1), nanoseconds, and whether the value had a time
// zone (the day and second are UTC when it did, local time when not). Days
// and seconds are kept apart, not as one count of seconds: a year of
// kMaxComparedYearDigits digits is about 3.7e14 days, which fits 64 bits,
// while its seconds (3.2e19) would not.
struct Instant {
  int64_t days = 0;
  int64_t second = 0;
  int32_t nanos = 0;
  bool zoned = false;
};

// Years beyond this many digits are well-formed but not compared. At this
// many the days of any date, within a day of zone offsets either way, stay
// far inside 64 bits (|days| < 4e14).
constexpr std::size_t kMaxComparedYearDigits = 12;
constexpr int64_t kSecondsPerDay = 86400;
constexpr int32_t kNanoDigits = 9;
constexpr int kMaxZoneMinutes = 14 * 60;

bool IsLeap(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int64_t year, int month) {
  constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// What a temporal lexical form holds; fields not in the form keep the
// reference values XML Schema uses for comparing (1972-12-31).
struct Temporal {
  bool comparable = true;
  int64_t year = 1972;
  int month = 12;
  int day = 31;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int32_t nanos = 0;
  bool zoned = false;
  int zoneMinutes = 0;
};

bool ScanYear(Scan& scan, Temporal& out) {
  const bool negative = scan.Take('-');
  const std::size_t start = scan.at;
  const std::size_t digits = scan.Digits();
  if (digits < 4 || (digits > 4 && scan.text[start] == '0')) return false;
  if (digits > kMaxComparedYearDigits) {
    out.comparable = false;
    return true;
  }
  int64_t year = 0;
  for (std::size_t i = start; i < start + digits; ++i) year = year * 10 + (scan.text[i] - '0');
  out.year = negative ? -year : year;
  return true;
}

bool ScanMonth(Scan& scan, Temporal& out) {
  out.month = scan.Fixed(2);
  return out.month >= 1 && out.month <= 12;
}

bool ScanDay(Scan& scan, Temporal& out) {
  out.day = scan.Fixed(2);
  return out.day >= 1 && out.day <= 31;
}

bool ScanTime(Scan& scan, Temporal& out) {
  out.hour = scan.Fixed(2);
  if (out.hour < 0 || !scan.Take(':')) return false;
  out.minute = scan.Fixed(2);
  if (out.minute < 0 || out.minute > 59 || !scan.Take(':')) return false;
  out.second = scan.Fixed(2);
  if (out.second < 0 || out.second > 59) return false;
  bool fractionNonZero = false;
  if (scan.Take('.')) {
    const std::size_t start = scan.at;
    const std::size_t digits = scan.Digits();
    if (digits == 0) return false;
    int32_t nanos = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kNanoDigits); ++i)
      nanos = nanos * 10 + (i < digits ? scan.text[start + i] - '0' : 0);
    out.nanos = nanos;
    for (std::size_t i = start; i < start + digits; ++i)
      fractionNonZero = fractionNonZero || scan.text[i] != '0';
  }
  // 24:00:00 is the end of the day, and nothing later.
  return out.hour < 24 ||
         (out.hour == 24 && out.minute == 0 && out.second == 0 && !fractionNonZero);
}

bool ScanZone(Scan& scan, Temporal& out) {
  if (scan.Done()) return true;
  out.zoned = true;
  if (scan.Take('Z')) return scan.Done();
  const bool negative = scan.Take('-');
  if (!negative && !scan.Take('+')) return false;
  const int hours = scan.Fixed(2);
  if (hours < 0 || !scan.Take(':')) return false;
  const int minutes = scan.Fixed(2);
  if (minutes < 0 || minutes > 59) return false;
  const int total = hours * 60 + minutes;
  if (total > kMaxZoneMinutes) return false;
  out.zoneMinutes = negative ? -total : total;
  return scan.Done();
}

bool ParseTemporal(XsdType type, std::string_view text, Temporal& out) {
  Scan scan{text};
  bool ok = true;
  switch (type) {
    case XsdType::kDateTime:
    case XsdType::kDateTimeStamp:
      ok = ScanYear(scan, out) && scan.Take('-') && ScanMonth(scan, out) && scan.Take('-') &&
           ScanDay(scan, out) && scan.Take('T') && ScanTime(scan, out);
      break;
    case XsdType::kDate:
      ok = ScanYear(scan, out) && scan.Take('-') && ScanMonth(scan, out) && scan.Take('-') &&
           ScanDay(scan, out);
      break;
    case XsdType::kTime:
      ok = ScanTime(scan, out);
      break;
    case XsdType::kGYear:
      ok = ScanYear(scan, out);
      out.month = 1;
      out.day = 1;
      break;
    case XsdType::kGYearMonth:
      ok = ScanYear(scan, out) && scan.Take('-') && ScanMonth(scan, out);
      out.day = 1;
      break;
    case XsdType::kGMonth:
      ok = scan.Take('-') && scan.Take('-') && ScanMonth(scan, out);
      out.day = 1;
      break;
    case XsdType::kGMonthDay:
      ok = scan.Take('-') && scan.Take('-') && ScanMonth(scan, out) && scan.Take('-') &&
           ScanDay(scan, out);
      break;
    case XsdType::kGDay:
      out.month = 1;
      ok = scan.Take('-') && scan.Take('-') && scan.Take('-') && ScanDay(scan, out);
      break;
    default:
      return false;
  }
  if (!ok || !ScanZone(scan, out)) return false;
  if (type == XsdType::kDateTimeStamp && !out.zoned) return false;
  // gMonthDay allows --02-29: its year is any year.
  const int64_t year = type == XsdType::kGMonthDay ? 2000 : out.year;
  return out.day <= DaysInMonth(year, out.month);
}

// `instant` moved by `seconds` (at most a few days' worth), its second
// brought back into one day.
Instant Shifted(Instant instant, int64_t seconds) {
  instant.second += seconds;
  const int64_t carry =
      instant.second / kSecondsPerDay - (instant.second % kSecondsPerDay < 0 ? 1 : 0);
  instant.days += carry;
  instant.second -= carry * kSecondsPerDay;
  return instant;
}

Instant ToInstant(const Temporal& t) {
  Instant instant;
  instant.days = DaysFromCivil(t.year, t.month, t.day);
  instant.nanos = t.nanos;
  instant.zoned = t.zoned;
  // 24:00:00 and a zone of up to 14 hours move the value by at most two days.
  return Shifted(instant, t.hour * 3600LL + t.minute * 60LL + t.second - t.zoneMinutes * 60LL);
}

int CompareInstants(const Instant& a, const Instant& b) {
  if (a.days != b.days) return a.days < b.days ? -1 : 1;
  if (a.second != b.second) return a.second < b.second ? -1 : 1;
  if (a.nanos != b.nanos) return a.nanos < b.nanos ? -1 : 1;
  return 0;
}

Order FromSign(int sign) {
  return sign < 0 ? Order::kLess : (sign > 0 ? Order::kGreater : Order::kEqual);
}

// XML Schema's order: a value without a time zone lies anywhere within
// fourteen hours of its UTC reading, so against a zoned value it is only
// ordered when that whole range is.
Order CompareTemporal(const Instant& a, const Instant& b) {
  if (a.zoned == b.zoned) return FromSign(CompareInstants(a, b));
  const int64_t spread = static_cast<int64_t>(kMaxZoneMinutes) * 60;
  const Instant& local = a.zoned ? b : a;
  const Instant& zoned = a.zoned ? a : b;
  const int low = CompareInstants(Shifted(local, -spread), zoned);
  const int high = CompareInstants(Shifted(local, spread), zoned);
  int sign = 0;
  if (high < 0) {
    sign = -1;
  } else if (low > 0) {
    sign = 1;
  } else {
    return Order::kNone;
  }
  return FromSign(a.zoned ? -sign : sign);
}

bool IsDuration(std::string_view text) {
  Scan scan{text};
  scan.Take('-');
  if (!scan.Take('P')) return false;
  bool any = false;
  bool inTime = false;
  bool timeAny = false;
  const std::string_view dateUnits = "YMD";
  const std::string_view timeUnits = "HMS";
  std::size_t nextUnit = 0;
  while (!scan.Done()) {
    if (!inTime && scan.Take('T')) {
      inTime = true;
      nextUnit = 0;
      continue;
    }
    if (scan.Digits() == 0) return false;
    const std::string_view units = inTime ? timeUnits : dateUnits;
    if (inTime && scan.Take('.')) {
      if (scan.Digits() == 0 || !scan.Take('S')) return false;
      any = timeAny = true;
      nextUnit = units.size();
      continue;
    }
    const std::size_t unit = units.find(scan.Peek(), nextUnit);
    if (unit == std::string_view::npos) return false;
    ++scan.at;
    nextUnit = unit + 1;
    any = true;
    timeAny = timeAny || inTime;
  }
  return any && (!inTime || timeAny);
}

bool IsHex(char c) { return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'f'); }

bool IsBase64(std::string_view text) {
  std::size_t count = 0;
  std::size_t padding = 0;
  for (const char c : text) {
    if (c == ' ') continue;
    if (c == '=') {
      ++padding;
    } else if (padding > 0 || !(IsAlpha(c) || IsDigit(c) || c == '+' || c == '/')) {
      return false;
    }
    ++count;
  }
  return count % 4 == 0 && padding <= 2;
}

bool IsLanguageTag(std::string_view text) {
  std::size_t partLength = 0;
  bool first = true;
  for (const char c : text) {
    if (c == '-') {
      if (partLength == 0) return false;
      partLength = 0;
      first = false;
      continue;
    }
    if (!(IsAlpha(c) || (!first && IsDigit(c))) || ++partLength > 8) return false;
  }
  return partLength > 0;
}

bool IsNumeric(XsdType type) { return type >= XsdType::kDecimal && type <= XsdType::kFloat; }
bool IsTemporal(XsdType type) { return type >= XsdType::kDateTime && type <= XsdType::kGDay; }

// Temporal types that compare with each other.
int TemporalFamily(XsdType type) {
  return type == XsdType::kDateTimeStamp ? static_cast<int>(XsdType::kDateTime)
                                         : static_cast<int>(type);
}

double ToDouble(std::string_view text) {
  if (text == "INF" || text == "+INF") return HUGE_VAL;
  if (text == "-INF") return -HUGE_VAL;
  if (text == "NaN") return std::nan("");
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Beyond double's range: infinite, or zero for a large negative exponent.
    const bool negative = text.front() == '-';
    const std::size_t e = text.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
    if (tiny) return negative ? -0.0 : 0.0;
    return negative ? -HUGE_VAL : HUGE_VAL;
  }
  return value;
}

Order CompareNumbers(XsdType aType, std::string_view a, XsdType bType, std::string_view b) {
  const bool aExact = aType != XsdType::kDouble && aType != XsdType::kFloat;
  const bool bExact = bType != XsdType::kDouble && bType != XsdType::kFloat;
  if (aExact && bExact) {
    Decimal x;
    Decimal y;
    if (!ParseDecimal(a, true, x) || !ParseDecimal(b, true, y)) return Order::kNone;
    return FromSign(CompareDecimals(x, y));
  }
  const double x = ToDouble(a);
  const double y = ToDouble(b);
  if (std::isnan(x) || std::isnan(y)) return Order::kNone;
  return x < y ? Order::kLess : (x > y ? Order::kGreater : Order::kEqual);
}

}  // namespace

XsdType XsdTypeOf(std::string_view datatypeIri) {
  if (datatypeIri == kLangStringIri) return XsdType::kLangString;
  if (datatypeIri.substr(0, kXsd.size()) != kXsd) return XsdType::kOther;
  const std::string_view local = datatypeIri.substr(kXsd.size());
  for (const NamedType& named : kTypes)
    if (named.localName == local) return named.type;
  return XsdType::kOther;
}

bool IsWellFormed(XsdType type, std::string_view lexical) {
  switch (type) {
    case XsdType::kOther:
    case XsdType::kString:
    case XsdType::kLangString:
    case XsdType::kAnyUri:
      return true;
    case XsdType::kNormalizedString:
      return lexical.find_first_of("\r\n\t") == std::string_view::npos;
    case XsdType::kToken:
      return lexical.find_first_of("\r\n\t") == std::string_view::npos &&
             lexical.find("  ") == std::string_view::npos &&
             (lexical.empty() || (lexical.front() != ' ' && lexical.back() != ' '));
    case XsdType::kLanguage:
      return IsLanguageTag(lexical);
    case XsdType::kBoolean:
      return lexical == "true" || lexical == "false" || lexical == "1" || lexical == "0";
    case XsdType::kDecimal: {
      Decimal value;
      return ParseDecimal(lexical, true, value);
    }
    case XsdType::kDouble:
    case XsdType::kFloat:
      return IsFloating(lexical);
    case XsdType::kDuration:
      return IsDuration(lexical);
    case XsdType::kHexBinary:
      return lexical.size() % 2 == 0 && std::all_of(lexical.begin(), lexical.end(), IsHex);
    case XsdType::kBase64Binary:
      return IsBase64(lexical);
    default:
      break;
  }
  if (IsTemporal(type)) {
    Temporal value;
    return ParseTemporal(type, lexical, value);
  }
  return IsIntegerOf(type, lexical);
}

Order Compare(const TermView& a, const TermView& b) {
  if (a.kind != TermKind::kLiteral || b.kind != TermKind::kLiteral) return Order::kNone;
  const XsdType aType = XsdTypeOf(a.datatype);
  const XsdType bType = XsdTypeOf(b.datatype);
  if (!IsWellFormed(aType, a.text) || !IsWellFormed(bType, b.text)) return Order::kNone;
  if (IsNumeric(aType) && IsNumeric(bType)) return CompareNumbers(aType, a.text, bType, b.text);
  if (aType == XsdType::kString && bType == XsdType::kString) {
    const int c = a.text.compare(b.text);
    return FromSign(c);
  }
  if (aType == XsdType::kBoolean && bType == XsdType::kBoolean) {
    const bool x = a.text == "true" || a.text == "1";
    const bool y = b.text == "true" || b.text == "1";
    return FromSign(static_cast<int>(x) - static_cast<int>(y));
  }
  if (IsTemporal(aType) && TemporalFamily(aType) == TemporalFamily(bType)) {
    Temporal x;
    Temporal y;
    if (!ParseTemporal(aType, a.text, x) || !ParseTemporal(bType, b.text, y) || !x.comparable ||
        !y.comparable)
      return Order::kNone;
    return CompareTemporal(ToInstant(x), ToInstant(y));
  }
  return Order::kNone;
}

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0U) != 0x80U) ++count;
  return count;
}

bool SameLanguage(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool LanguageMatches(std::string_view tag, std::string_view range) {
  if (tag.empty()) return false;
  if (range == "*") return true;
  if (tag.size() < range.size() || !SameLanguage(tag.substr(0, range.size()), range)) return false;
  return tag.size() == range.size() || tag[range.size()] == '-';
}

}  // namespace qaxoi::shacl
