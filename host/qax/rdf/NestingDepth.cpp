#include "host/qax/rdf/NestingDepth.h"

#include "host/qax/rdf/ByteTable.h"

namespace qaxoi::rdf {
namespace {

constexpr bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Characters that cannot stand unescaped in an IRI reference: the parser
// fails there, so the IRI is taken to end before them.
constexpr bool EndsIri(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x20 || c == '<' || c == '"' || c == '{' || c == '}' || c == '|' || c == '^' ||
         c == '`';
}

// Bytes where the scan outside strings, IRIs and comments has something to do.
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

// The first offset from `at` on whose byte is in `table`, or `size`.
std::size_t SkipTo(const ByteTable& table, const char* bytes, std::size_t at, std::size_t size) {
  while (at < size && !In(table, bytes[at])) ++at;
  return at;
}

}  // namespace

std::size_t NestingScan::Feed(const char* bytes, std::size_t size) {
  if (over_) return kNone;
  std::size_t i = 0;
  while (i < size) {
    switch (state_) {
      case State::kCode: {
        i = SkipTo(kSpecial, bytes, i, size);
        if (i >= size) break;
        const char c = bytes[i++];
        switch (c) {
          case '#':
            state_ = State::kComment;
            break;
          case '<':
            state_ = State::kIri;
            break;
          case '"':
          case '\'':
            quote_ = c;
            state_ = State::kQuote;
            break;
          case '\\':
            state_ = State::kEscape;
            break;
          case '[':
          case '(':
            if (++depth_ > limit_) {
              over_ = true;
              return offset_ + i - 1;
            }
            break;
          default:  // ']' or ')'
            if (depth_ > 0) --depth_;
            break;
        }
        break;
      }
      case State::kEscape:  // an escaped character of a local name
        ++i;
        state_ = State::kCode;
        break;
      case State::kComment:
        while (i < size && !IsLineEnd(bytes[i])) ++i;
        if (i < size) state_ = State::kCode;
        break;
      case State::kIri:
        i = SkipTo(kIriEnd, bytes, i, size);
        if (i >= size) break;
        if (bytes[i] == '>') ++i;  // any other end is looked at again as code
        state_ = State::kCode;
        break;
      case State::kQuote:
        if (bytes[i] == quote_) {
          ++i;
          state_ = State::kTwoQuotes;
        } else {
          state_ = State::kString;
        }
        break;
      case State::kTwoQuotes:
        if (bytes[i] == quote_) {
          ++i;
          quotes_ = 0;
          state_ = State::kLongString;
        } else {
          state_ = State::kCode;  // an empty short string
        }
        break;
      case State::kString: {
        i = SkipTo(kStringSpecial, bytes, i, size);
        if (i >= size) break;
        const char c = bytes[i++];
        if (c == '\\') {
          state_ = State::kStringEscape;
        } else if (c == quote_ || IsLineEnd(c)) {
          // A short string cannot span lines: the parser fails there.
          state_ = State::kCode;
        }
        break;
      }
      case State::kStringEscape:
        ++i;
        state_ = State::kString;
        break;
      case State::kLongString: {
        if (quotes_ == 0) i = SkipTo(kStringSpecial, bytes, i, size);
        if (i >= size) break;
        const char c = bytes[i++];
        if (c == '\\') {
          quotes_ = 0;
          state_ = State::kLongStringEscape;
        } else if (c == quote_) {
          if (++quotes_ == 3) state_ = State::kCode;
        } else {
          quotes_ = 0;
        }
        break;
      }
      case State::kLongStringEscape:
        ++i;
        state_ = State::kLongString;
        break;
    }
  }
  offset_ += size;
  return kNone;
}

}  // namespace qaxoi::rdf
