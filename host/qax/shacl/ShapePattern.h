// A compiled sh:pattern: an XPath regular expression with its sh:flags,
// matched by PCRE2 within limits that make a hostile pattern or value a
// failure, not a hang. Internal to the QAX library.
#ifndef QAX_HOST_QAX_SHACL_SHAPEPATTERN_H_
#define QAX_HOST_QAX_SHACL_SHAPEPATTERN_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/status/Status.h"

namespace qaxoi::shacl {

// PCRE2's own match limit (backtracking steps) for one call. PCRE2 starts
// this count again at each start position of an unanchored pattern, so it
// bounds one position, not a value: the step budget below bounds the value.
inline constexpr uint32_t kPatternMatchLimit = 1000000;
// PCRE2's depth limit (nested backtracking frames) for one value.
inline constexpr uint32_t kPatternDepthLimit = 10000;
// PCRE2's heap limit for one value, in kibibytes.
inline constexpr uint32_t kPatternHeapLimitKiB = 20000;

// Steps one value may take against one pattern, whatever its start
// positions: this many, plus kPatternStepsPerByte per byte of the value.
inline constexpr uint64_t kPatternStepsBase = 100000;
inline constexpr uint64_t kPatternStepsPerByte = 64;

// The step budget of one value of `bytes` bytes.
inline constexpr uint64_t PatternStepBudget(std::size_t bytes) {
  return kPatternStepsBase + kPatternStepsPerByte * static_cast<uint64_t>(bytes);
}

enum class PatternMatch : uint8_t { kMatch, kNoMatch, kLimit };

class ShapePattern {
 public:
  // Compiles `pattern` with the XPath `flags` (any of s, m, i, x, q) into
  // `compiled`. An unknown flag or a pattern that does not compile is
  // kInvalidInput, saying what is wrong, with `compiled` left as it was.
  // Throws std::bad_alloc when memory runs out.
  static qaxoi::Status Compile(std::string_view pattern, std::string_view flags,
                               std::unique_ptr<ShapePattern>* compiled);
  ~ShapePattern();
  ShapePattern(const ShapePattern&) = delete;
  ShapePattern& operator=(const ShapePattern&) = delete;

  // Whether the pattern matches somewhere in `text` (XPath's fn:matches);
  // kLimit when matching would take more than `budget` steps, PCRE2 gave up
  // at its own limits, or `text` is not UTF-8. A step is one pattern item
  // tried at one position, plus one per byte the match pointer moved since
  // the item before, over every start position: so characters a repeat or
  // a back reference consumes and gives back are counted; a back reference
  // also costs the longest group captured before it is tried. `*steps`
  // gets the steps taken (at most `budget` + 1 + twice the value's size +
  // the pattern's groups). Safe to call from several threads at once.
  PatternMatch Matches(std::string_view text, uint64_t budget, uint64_t* steps) const;

 private:
  struct Code;
  explicit ShapePattern(std::unique_ptr<Code> code);
  std::unique_ptr<Code> code_;
};

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_SHAPEPATTERN_H_
