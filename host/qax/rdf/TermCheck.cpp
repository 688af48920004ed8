#include "host/qax/rdf/TermCheck.h"

#include "host/qax/rdf/LexicalForms.h"

namespace qaxoi::rdf {
namespace {

constexpr unsigned char kFirstNonAscii = 0x80;
// The lead byte of the three-byte forms that hold U+D000 to U+DFFF, and the
// least second byte of a surrogate (U+D800) among them.
constexpr unsigned char kSurrogateLead = 0xED;
constexpr unsigned char kSurrogateSecond = 0xA0;

constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Where `text` stops being well-formed UTF-8, or npos. ASCII, nearly all of
// what vocabularies hold, is stepped over a byte at a time.
std::size_t FirstMalformed(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (static_cast<unsigned char>(text[at]) < kFirstNonAscii) {
      ++at;
      continue;
    }
    const std::size_t length = Utf8Length(text, at);
    if (length == 0) return at;
    at += length;
  }
  return std::string_view::npos;
}

// The refusal of `text`, the `what` of a term, when it is not well-formed.
std::string Utf8Fault(std::string_view text, const char* what) {
  const std::size_t at = FirstMalformed(text);
  if (at == std::string_view::npos) return std::string();
  const bool surrogate = static_cast<unsigned char>(text[at]) == kSurrogateLead &&
                         at + 1 < text.size() &&
                         static_cast<unsigned char>(text[at + 1]) >= kSurrogateSecond;
  return surrogate ? std::string("a surrogate code point (U+D800 to U+DFFF) in ") + what +
                         "; it is no character"
                   : std::string("malformed UTF-8 in ") + what;
}

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuation = 0x80;

// `tag` quoted for a message of one line: empty when it holds a control
// character or is not well-formed UTF-8 (it is then not shown), cut to
// kMaxQuotedTagBytes at a character's start.
std::string QuotedTag(std::string_view tag) {
  for (const char c : tag) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < kFirstPrintable || byte == kDelete) return std::string();
  }
  if (FirstMalformed(tag) != std::string_view::npos) return std::string();
  if (tag.size() <= kMaxQuotedTagBytes) return "\"" + std::string(tag) + "\"";
  std::size_t cut = kMaxQuotedTagBytes;
  while (cut > 0 && (static_cast<unsigned char>(tag[cut]) & kContinuationMask) == kContinuation) {
    --cut;
  }
  return "\"" + std::string(tag.substr(0, cut)) + "...\"";
}

}  // namespace

bool IsLanguageTagSyntax(std::string_view tag) {
  std::size_t at = 0;
  while (at < tag.size() && IsAsciiLetter(tag[at])) ++at;
  if (at == 0) return false;
  while (at < tag.size()) {
    if (tag[at] != '-') return false;
    const std::size_t start = ++at;
    while (at < tag.size() && (IsAsciiLetter(tag[at]) || IsAsciiDigit(tag[at]))) ++at;
    if (at == start) return false;
  }
  return true;
}

std::string TermFault(const Term& term) {
  switch (term.kind) {
    case Term::Kind::kIri:
      return Utf8Fault(term.text, "an IRI");
    case Term::Kind::kBlank:
      return Utf8Fault(term.text, "a blank node label");
    case Term::Kind::kLiteral:
      break;
  }
  std::string fault = Utf8Fault(term.text, "a literal");
  if (fault.empty()) fault = Utf8Fault(term.datatype, "a datatype IRI");
  if (fault.empty() && !term.language.empty() && !IsLanguageTagSyntax(term.language)) {
    const std::string quoted = QuotedTag(term.language);
    fault = "invalid language tag " + (quoted.empty() ? std::string() : quoted + " ") +
            "(a tag is ASCII letters, then '-' and letters or digits)";
  }
  return fault;
}

}  // namespace qaxoi::rdf
