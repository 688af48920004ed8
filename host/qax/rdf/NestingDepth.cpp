#include "host/qax/rdf/NestingDepth.h"

namespace QAX {
namespace Ontology {
namespace Rdf {
namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Characters that cannot stand unescaped in an IRI reference: the parser
// fails there, so the IRI is taken to end before them.
bool EndsIri(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x20 || c == '<' || c == '"' || c == '{' || c == '}' || c == '|' || c == '^' ||
         c == '`';
}

// The offset just behind the string that starts with the quote at `at`.
std::size_t SkipString(const std::string& text, std::size_t at) {
  const char quote = text[at];
  const std::size_t n = text.size();
  const bool isLong = at + 2 < n && text[at + 1] == quote && text[at + 2] == quote;
  std::size_t i = at + (isLong ? 3 : 1);
  while (i < n) {
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
    const char c = document[i];
    switch (c) {
      case '#':
        while (i < n && !IsLineEnd(document[i])) ++i;
        break;
      case '<':
        ++i;
        while (i < n && document[i] != '>' && !EndsIri(document[i])) ++i;
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
