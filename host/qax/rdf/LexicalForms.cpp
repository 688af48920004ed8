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

// A date, 'T', hh:mm:ss with optional fraction (24:00:00 only whole), and an
// optional time zone.
bool IsDateTime(const std::string& text) {
  Scan scan(text);
  if (!ScanDate(scan) || !scan.Take('T')) return false;
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
  if (hours == 24 && (minutes != 0 || seconds != 0 || fraction)) return false;
  return ScanZone(scan) && scan.AtEnd();
}

}  // namespace

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
