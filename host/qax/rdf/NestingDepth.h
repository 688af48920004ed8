// How deeply a Turtle document nests blank nodes and collections. Internal to
// the QAX library.
#ifndef QAX_HOST_QAX_RDF_NESTINGDEPTH_H_
#define QAX_HOST_QAX_RDF_NESTINGDEPTH_H_

#include <cstddef>
#include <cstdint>

namespace qaxoi::rdf {

// The deepest nesting of blank nodes ("[") and collections ("(") a document
// may have. The parser descends one level of its own stack per level, so a
// document must not choose how deep that goes; real vocabularies nest a few
// levels.
inline constexpr std::size_t kMaxNestingDepth = 128;

// Finds the first "[" or "(" of a Turtle document that opens a level deeper
// than `limit`, as the document is read in parts (a string, an IRI or a
// comment may be split between two parts). Brackets inside IRIs, strings
// (short and long, with their escapes) and comments do not count. The scan
// never counts fewer levels than a parser that reads the document sees:
// where the document is malformed it may count more, and the parser stops at
// that fault anyway. Offsets count from the document's first byte.
class NestingScan {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  explicit NestingScan(std::size_t limit) : limit_(limit) {}

  // Scans the next `size` bytes. Answers the offset of the bracket that
  // opens level `limit` + 1, or kNone; once found, later calls answer kNone.
  std::size_t Feed(const char* bytes, std::size_t size);

 private:
  // Where the scan stands between two bytes.
  enum class State : uint8_t {
    kCode,             // outside strings, IRIs and comments
    kEscape,           // after a backslash of a local name
    kComment,          // after '#', to the line's end
    kIri,              // after '<', to '>' or a byte an IRI cannot hold
    kQuote,            // after one quote: a string, or two more make a long one
    kTwoQuotes,        // after two quotes: an empty string, or a long one
    kString,           // in a short string
    kStringEscape,     // after a backslash in a short string
    kLongString,       // in a long string, `quotes_` closing quotes seen
    kLongStringEscape  // after a backslash in a long string
  };

  std::size_t limit_;
  std::size_t offset_ = 0;  // bytes fed so far
  std::size_t depth_ = 0;
  bool over_ = false;
  State state_ = State::kCode;
  char quote_ = '"';
  unsigned quotes_ = 0;
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_NESTINGDEPTH_H_
