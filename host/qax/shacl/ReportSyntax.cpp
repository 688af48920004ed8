#include "host/qax/shacl/ReportSyntax.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "host/qax/rdf/VocabularyTerms.h"

namespace qaxoi::shacl {
namespace ReportSyntax {

namespace {

constexpr const char* kHexDigits = "0123456789ABCDEF";
constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr const char* kEllipsis = "\xE2\x80\xA6";     // …
// How blank node labels start that are written encoded, and those of the
// shapes graph.
constexpr std::string_view kEncodedLabel = "x_";
constexpr std::string_view kShapesLabel = "s_";

// The length of the well-formed UTF-8 character at `at` and its code point;
// 0 for a byte that starts none.
std::size_t CharacterAt(std::string_view text, std::size_t at, uint32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(at + i);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return 0;
    codePoint = (codePoint << 6) | (next & 0x3Fu);
  }
  return length;
}

void AppendHex(uint32_t value, int digits, std::string& out) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out += kHexDigits[(value >> shift) & 0xFu];
}

constexpr uint32_t kFirstPrintable = 0x20;
// The most bytes of one UTF-8 character.
constexpr std::size_t kMaxUtf8Bytes = 4;
constexpr uint32_t kDelete = 0x7F;

// How a Turtle string writes the ASCII character `c` that it escapes.
std::string Escape(char c) {
  switch (c) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      break;
  }
  std::string escaped = "\\u";
  AppendHex(static_cast<unsigned char>(c), 4, escaped);
  return escaped;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Whether Turtle reads `name` as a prefix name; only plain ASCII names are
// used, which every Turtle reader takes.
bool IsPrefixName(std::string_view name) {
  if (name.empty()) return true;
  if (!IsAsciiLetter(name[0])) return false;
  for (const char c : name) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_' && c != '-') return false;
  }
  return true;
}

// Whether Turtle reads `local` after "prefix:" as the whole local name,
// without escapes: ASCII letters, digits, '_', '-' and inner dots. The text
// form, which no parser reads, takes brackets too, as a value's number on a
// command line has them (channel:0.habitat[2]).
bool IsLocalName(std::string_view local, Form form) {
  if (local.empty()) return true;
  if (local.front() == '-' || local.front() == '.' || local.back() == '.') return false;
  for (const char c : local) {
    const bool bracket = form == Form::kText && (c == '[' || c == ']');
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_' && c != '-' && c != '.' && !bracket) {
      return false;
    }
  }
  return true;
}

bool IsLabelCharacter(char c) {
  return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_' || c == '-';
}

std::string BlankLabel(const std::string& label, Origin origin) {
  const auto startsWith = [&](std::string_view start) {
    return label.compare(0, start.size(), start) == 0;
  };
  bool plain = !label.empty() && label.front() != '-' && !startsWith(kEncodedLabel) &&
               !startsWith(kShapesLabel);
  for (const char c : label) plain = plain && IsLabelCharacter(c);
  std::string written = "_:";
  if (origin == Origin::kShapes) written += kShapesLabel;
  if (plain) return written + label;
  // Letters, digits and '-' stay as they are, so that the label stays
  // readable; '_' starts every other byte, which makes the form reversible.
  written += kEncodedLabel;
  for (const char c : label) {
    if (c != '_' && IsLabelCharacter(c)) {
      written += c;
    } else {
      written += '_';
      AppendHex(static_cast<unsigned char>(c), 2, written);
    }
  }
  return written;
}

// The characters that no IRI holds besides controls and the space.
constexpr std::string_view kNotInIris = "<>\"{}|^`\\";

// The prefix of `prefixes` whose namespace is the longest that starts
// `iri` and leaves a local name that `form` reads plainly; null when none
// fits.
const Prefixes::value_type* BestPrefix(const std::string& iri, const Prefixes& prefixes,
                                       Form form) {
  const Prefixes::value_type* best = nullptr;
  for (const auto& prefix : prefixes) {
    const std::string& ns = prefix.second;
    if (ns.empty() || iri.size() < ns.size() || iri.compare(0, ns.size(), ns) != 0) continue;
    const std::string_view whole = iri;
    const std::string_view local = whole.substr(ns.size());
    if (!IsPrefixName(prefix.first) || !IsLocalName(local, form)) continue;
    if (best == nullptr || ns.size() > best->second.size()) best = &prefix;
  }
  return best;
}

// Whether a literal of `datatype` is written without it: a plain string.
bool IsPlainString(const std::string& datatype) {
  return datatype.empty() || datatype == rdf::Iri::kXsdString ||
         datatype == rdf::Iri::kRdfLangString;
}

// A language tag as Turtle reads it: letters, digits and hyphens.
std::string LanguageTag(const std::string& language) {
  std::string tag;
  for (const char c : language) {
    if (IsAsciiLetter(c) || IsAsciiDigit(c) || c == '-') tag += c;
  }
  return tag;
}

// What a path expands to while it is written: a text, or a path still to
// write.
struct Piece {
  const ReportPath* path = nullptr;
  std::string text;
};

}  // namespace

std::string Quoted(std::string_view text) {
  std::ostringstream written;
  {
    ReportOutput out(written);
    PutQuoted(out, text);
  }
  return written.str();
}

void PutQuoted(ReportOutput& out, std::string_view text) {
  out.Put('"');
  // Runs of bytes that need no escape are put whole.
  std::size_t run = 0;
  std::size_t at = 0;
  const auto putRun = [&] { out.Put(text.substr(run, at - run)); };
  while (at < text.size()) {
    uint32_t codePoint = 0;
    const std::size_t length = CharacterAt(text, at, codePoint);
    if (length > 1 || (length == 1 && codePoint >= kFirstPrintable && codePoint != kDelete &&
                       codePoint != '"' && codePoint != '\\')) {
      at += length;
      continue;
    }
    putRun();
    if (length == 0) {
      out.Put(kReplacement);
    } else {
      out.Put(Escape(static_cast<char>(codePoint)));
    }
    run = ++at;
  }
  putRun();
  out.Put('"');
}

Prefixes ReportPrefixes(const Prefixes& given) {
  Prefixes prefixes = {{"sh", kShacl}, {"xsd", kXsd}, {"rdf", kRdf}};
  for (const auto& prefix : given) {
    if (prefix.second.empty() || !IsPrefixName(prefix.first)) continue;
    const bool taken = std::any_of(prefixes.begin(), prefixes.end(),
                                   [&](const auto& known) { return known.first == prefix.first; });
    if (!taken) prefixes.push_back(prefix);
  }
  return prefixes;
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    uint32_t codePoint = 0;
    const std::size_t length = CharacterAt(text, at, codePoint);
    if (length == 0) {
      out += kReplacement;
      ++at;
    } else {
      out.append(text, at, length);
      at += length;
    }
  }
  return out;
}

void PutValidUtf8(ReportOutput& out, std::string_view text) {
  std::size_t run = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    uint32_t codePoint = 0;
    const std::size_t length = CharacterAt(text, at, codePoint);
    if (length != 0) {
      at += length;
      continue;
    }
    out.Put(text.substr(run, at - run));
    out.Put(kReplacement);
    run = ++at;
  }
  out.Put(text.substr(run));
}

std::string Shown(std::string_view text, std::size_t maxCharacters) {
  std::string out;
  std::size_t shown = 0;
  for (std::size_t at = 0; at < text.size(); ++shown) {
    if (shown == maxCharacters) {
      out += kEllipsis;
      break;
    }
    uint32_t codePoint = 0;
    std::size_t length = CharacterAt(text, at, codePoint);
    if (length == 0) {
      // Not UTF-8: kept as it is, as qax-host keeps it; it moves no cursor.
      out += text[at++];
      continue;
    }
    if (codePoint < 0x20 || codePoint == 0x7F) {
      out += "\\x";
      AppendHex(codePoint, 2, out);
    } else if (codePoint >= 0x80 && codePoint <= 0x9F) {
      out += "\\u";
      AppendHex(codePoint, 4, out);
    } else {
      out.append(text, at, length);
    }
    at += length;
  }
  return out;
}

std::string Iri(const std::string& iri, const Prefixes& prefixes, Form form) {
  if (form != Form::kNTriples) {
    const Prefixes::value_type* best = BestPrefix(iri, prefixes, form);
    if (best != nullptr) return best->first + ":" + iri.substr(best->second.size());
  }
  if (form == Form::kText) return "<" + Shown(iri, kMaxShownCharacters) + ">";
  std::ostringstream written;
  {
    ReportOutput out(written);
    PutIri(out, iri, prefixes, Form::kNTriples);
  }
  return written.str();
}

void PutIri(ReportOutput& out, const std::string& iri, const Prefixes& prefixes, Form form) {
  if (form != Form::kNTriples) {
    const Prefixes::value_type* best = BestPrefix(iri, prefixes, form);
    if (best != nullptr) {
      out.Put(best->first);
      out.Put(':');
      const std::string_view whole = iri;
      out.Put(whole.substr(best->second.size()));
      return;
    }
  }
  out.Put('<');
  const std::string_view text = iri;
  std::size_t run = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    uint32_t codePoint = 0;
    const std::size_t length = CharacterAt(text, at, codePoint);
    const bool plain = length > 1 || (length == 1 && codePoint > ' ' &&
                                      kNotInIris.find(text[at]) == std::string_view::npos);
    if (plain) {
      at += length;
      continue;
    }
    out.Put(text.substr(run, at - run));
    if (length == 0) {
      // A byte that is not UTF-8 reads as U+FFFD, as ValidUtf8 makes it.
      out.Put(kReplacement);
    } else {
      // No IRI holds these, and Turtle's \u escapes may not stand for them
      // either: percent-encoded, the IRI stays readable and reads back.
      std::string encoded = "%";
      AppendHex(codePoint, 2, encoded);
      out.Put(encoded);
    }
    run = ++at;
  }
  out.Put(text.substr(run));
  out.Put('>');
}

std::string Term(const ReportTerm& term, const Prefixes& prefixes, Form form, Origin origin) {
  switch (term.kind) {
    case TermKind::kIri:
      return Iri(term.text, prefixes, form);
    case TermKind::kBlank:
      return BlankLabel(term.text, origin);
    case TermKind::kLiteral:
      break;
  }
  if (form != Form::kText) {
    std::ostringstream written;
    {
      ReportOutput out(written);
      PutTerm(out, term, prefixes, form, origin);
    }
    return written.str();
  }
  // Only what is shown is quoted: the first characters of a literal of any
  // length lie within this many bytes.
  const std::string_view text = term.text;
  const std::string_view shown = text.substr(0, (kMaxShownCharacters + 1) * kMaxUtf8Bytes);
  std::string quoted;
  for (const char c : shown) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  std::string out = "\"" + Shown(quoted, kMaxShownCharacters) + "\"";
  if (!term.language.empty()) return out + "@" + LanguageTag(term.language);
  if (IsPlainString(term.datatype)) return out;
  return out + "^^" + Iri(term.datatype, prefixes, form);
}

void PutTerm(ReportOutput& out, const ReportTerm& term, const Prefixes& prefixes, Form form,
             Origin origin) {
  switch (term.kind) {
    case TermKind::kIri:
      PutIri(out, term.text, prefixes, form);
      return;
    case TermKind::kBlank:
      out.Put(BlankLabel(term.text, origin));
      return;
    case TermKind::kLiteral:
      break;
  }
  PutQuoted(out, term.text);
  if (!term.language.empty()) {
    out.Put('@');
    out.Put(LanguageTag(term.language));
  } else if (!IsPlainString(term.datatype)) {
    out.Put("^^");
    PutIri(out, term.datatype, prefixes, form);
  }
}

std::string Path(const ReportPath& path, const Prefixes& prefixes, Form form) {
  const auto keyword = [&](const char* local) {
    return "[ " + Iri(std::string(kShacl) + local, prefixes, form) + " ";
  };
  std::string out;
  std::vector<Piece> pending;
  pending.push_back({&path, {}});
  while (!pending.empty()) {
    Piece piece = std::move(pending.back());
    pending.pop_back();
    if (piece.path == nullptr) {
      out += piece.text;
      continue;
    }
    const ReportPath& at = *piece.path;
    if (at.kind == ReportPath::Kind::kPredicate) {
      out += Iri(at.iri, prefixes, form);
      continue;
    }
    // Pieces go on the stack last first.
    const bool list =
        at.kind == ReportPath::Kind::kSequence || at.kind == ReportPath::Kind::kAlternative;
    std::string open;
    std::string close;
    switch (at.kind) {
      case ReportPath::Kind::kSequence:
        open = "( ";
        close = " )";
        break;
      case ReportPath::Kind::kAlternative:
        open = keyword("alternativePath") + "( ";
        close = " ) ]";
        break;
      case ReportPath::Kind::kInverse:
        open = keyword("inversePath");
        close = " ]";
        break;
      case ReportPath::Kind::kZeroOrMore:
        open = keyword("zeroOrMorePath");
        close = " ]";
        break;
      case ReportPath::Kind::kOneOrMore:
        open = keyword("oneOrMorePath");
        close = " ]";
        break;
      case ReportPath::Kind::kZeroOrOne:
        open = keyword("zeroOrOnePath");
        close = " ]";
        break;
      case ReportPath::Kind::kPredicate:
        break;
    }
    pending.push_back({nullptr, close});
    const std::size_t steps = list ? at.steps.size() : std::min<std::size_t>(at.steps.size(), 1);
    if (steps == 0) pending.push_back({nullptr, "()"});  // a path without steps: an empty list
    for (std::size_t i = steps; i-- > 0;) {
      pending.push_back({&at.steps[i], {}});
      if (i > 0) pending.push_back({nullptr, " "});
    }
    out += open;
  }
  return out;
}

}  // namespace ReportSyntax
}  // namespace qaxoi::shacl
