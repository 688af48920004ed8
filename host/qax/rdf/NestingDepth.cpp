#include "host/qax/rdf/NestingDepth.h"

namespace QAX {
namespace Ontology {
namespace Rdf {
namespace {

constexpr bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Characters that cannot stand unescaped in an IRI reference: the parser
// fails there, so the IRI is taken to end before them.
constexpr bool EndsIri(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x20 || c == '<' || c == '"' || c == '{' || c == '}' || c == '|' || c == '^' ||
         c == '`';
}

// A table of the bytes for which `test` holds, so that the scans below step
// over the bytes that matter nothing to them with one lookup each.
struct ByteTable {
  bool holds[256];
};

template <typename Test>
constexpr ByteTable MakeTable(Test test) {
  ByteTable table{};
  for (int byte = 0; byte < 256; ++byte) table.holds[byte] = test(static_cast<char>(byte));
  return table;
}

// Bytes where the scan of the document has something to do.
constexpr ByteTable kSpecial = MakeTable([](char c) {
  return c == '#' || c == '<' || c == '"' || c == '\'' || c == '\\' || c == '[' || c == '(' ||
         c == ']' || c == ')';
});
// Bytes that end an IRI reference: its closing '>' or a byte it cannot hold.
constexpr ByteTable kIriEnd = MakeTable([](char c) { return c == '>' || EndsIri(c); });
// Bytes where a string needs a look: an escape, a quote or a line end.
constexpr ByteTable kStringSpecial =
    MakeTable([](char c) { return c == '\\' || c == '"' || c == '\'' || IsLineEnd(c); });

bool In(const ByteTable& table, char c) { return table.holds[static_cast<unsigned char>(c)]; }

// The offset just behind the string that starts with the quote at `at`.
std::size_t SkipString(const std::string& text, std::size_t at) {
  const char quote = text[at];
  const std::size_t n = text.size();
  const bool isLong = at + 2 < n && text[at + 1] == quote && text[at + 2] == quote;
  std::size_t i = at + (isLong ? 3 : 1);
  while (i < n) {
    while (i < n && !In(kStringSpecial, text[i])) ++i;
    if (i >= n) break;
    const char c = text[i];
    if (c == '\\') {
      i += 2;
    } else if (c == quote) {
      if (!isLong) return i + 1;
      if (i + 2 < n && text[i + 1] == quote && text[i + 2] == quote) return i + 3;
      ++i;
    } else if (!isLong && IsLineEnd(c)) {
      return i;  // a short string cannot span lines: the parser fails here
    } else {
      ++i;
    }
  }
  return n;
}

}  // namespace

std::size_t FindNestingDeeperThan(const std::string& document, std::size_t limit) {
  const std::size_t n = document.size();
  std::size_t depth = 0;
  std::size_t i = 0;
  while (i < n) {
    while (i < n && !In(kSpecial, document[i])) ++i;
    if (i >= n) break;
    const char c = document[i];
    switch (c) {
      case '#':
        while (i < n && !IsLineEnd(document[i])) ++i;
        break;
      case '<':
        ++i;
        while (i < n && !In(kIriEnd, document[i])) ++i;
        if (i < n && document[i] == '>') ++i;
        break;
      case '"':
      case '\'':
        i = SkipString(document, i);
        break;
      case '\\':
        i += 2;  // an escaped character of a local name
        break;
      case '[':
      case '(':
        if (++depth > limit) return i;
        ++i;
        break;
      case ']':
      case ')':
        if (depth > 0) --depth;
        ++i;
        break;
      default:
        ++i;
        break;
    }
  }
  return std::string::npos;
}

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX
