#include "host/qax/shacl/ShapePattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <array>
#include <new>
#include <string>
#include <string_view>

namespace qaxoi::shacl {
namespace {

constexpr std::size_t kErrorTextSize = 256;

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct ContextDeleter {
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

// What the callouts of one match count: the steps so far, the budget, and
// where the match pointer was at the last callout.
struct StepCount {
  uint64_t steps = 0;
  uint64_t budget = 0;
  PCRE2_SIZE position = 0;
  // The pattern's text, to tell the items that are back references; empty
  // for a pattern taken as plain text.
  std::string_view pattern;
};

// Whether the pattern item `item` is a back reference (\1, \g{-1}, \k<n>,
// (?P=n) and the like). An octal escape such as \12 may be taken for one:
// that only charges more.
bool IsBackReference(std::string_view item) {
  if (item.size() >= 2 && item[0] == '\\') {
    const char next = item[1];
    return (next >= '1' && next <= '9') || next == 'g' || next == 'k';
  }
  return item.substr(0, 4) == "(?P=";
}

// The longest group captured so far: what comparing a back reference may
// cost, matched or not.
PCRE2_SIZE LongestCapture(const pcre2_callout_block* block) {
  PCRE2_SIZE longest = 0;
  for (uint32_t group = 1; group < block->capture_top; ++group) {
    const PCRE2_SIZE start = block->offset_vector[std::size_t{2} * group];
    const PCRE2_SIZE end = block->offset_vector[std::size_t{2} * group + 1];
    if (start != PCRE2_UNSET && end != PCRE2_UNSET && end > start)
      longest = std::max(longest, end - start);
  }
  return longest;
}

// Charges one step and the bytes the match pointer moved since the last
// callout, in either direction: a repeat that consumed k bytes, or a new
// start position k bytes back, costs k. Before a back reference it also
// charges the longest group captured, which a comparison that fails costs
// without moving the pointer (a caseless one compares up to the group's
// length). Abandons the match past the budget.
int CountStep(pcre2_callout_block* block, void* data) {
  auto* count = static_cast<StepCount*>(data);
  const PCRE2_SIZE at = block->current_position;
  const PCRE2_SIZE moved = at > count->position ? at - count->position : count->position - at;
  count->position = at;
  count->steps += 1 + moved;
  if (block->pattern_position < count->pattern.size() &&
      IsBackReference(count->pattern.substr(block->pattern_position, block->next_item_length))) {
    count->steps += block->capture_top + LongestCapture(block);
  }
  return count->steps > count->budget ? PCRE2_ERROR_CALLOUT : 0;
}

}  // namespace

struct ShapePattern::Code {
  std::unique_ptr<pcre2_code, CodeDeleter> code;
  std::unique_ptr<pcre2_match_context, ContextDeleter> context;
  // The pattern as compiled; empty for plain text (flag q), which has no
  // back references.
  std::string pattern;
};

ShapePattern::ShapePattern(std::unique_ptr<Code> code) : code_(std::move(code)) {}
ShapePattern::~ShapePattern() = default;

qaxoi::Status ShapePattern::Compile(std::string_view pattern, std::string_view flags,
                                    std::unique_ptr<ShapePattern>* compiled) {
  // XPath's flags map onto PCRE2's options; x differs a little: PCRE2 also
  // reads '#' to the end of the line as a comment (docs/validation.md).
  // Every item gets an automatic callout, which counts the steps of a match
  // across all start positions (see Matches).
  uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_AUTO_CALLOUT;
  for (const char flag : flags) {
    switch (flag) {
      case 's':
        options |= PCRE2_DOTALL;
        break;
      case 'm':
        options |= PCRE2_MULTILINE;
        break;
      case 'i':
        options |= PCRE2_CASELESS;
        break;
      case 'x':
        options |= PCRE2_EXTENDED;
        break;
      case 'q':
        options |= PCRE2_LITERAL;
        break;
      default:
        return qaxoi::Status::InvalidInput(std::string("unknown sh:flags letter '") + flag +
                                           "' (known: s, m, i, x, q)");
    }
  }
  // With q the pattern is plain text: s, m and x have nothing left to do,
  // and PCRE2 refuses them (and UCP) together with LITERAL.
  if ((options & PCRE2_LITERAL) != 0)
    options &= PCRE2_LITERAL | PCRE2_UTF | PCRE2_CASELESS | PCRE2_AUTO_CALLOUT;
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  auto code = std::make_unique<Code>();
  code->code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                 options, &errorCode, &errorOffset, nullptr));
  if (!code->code) {
    if (errorCode == PCRE2_ERROR_NOMEMORY) throw std::bad_alloc();
    std::array<PCRE2_UCHAR, kErrorTextSize> text{};
    pcre2_get_error_message(errorCode, text.data(), text.size());
    return qaxoi::Status::InvalidInput("sh:pattern does not compile at offset " +
                                       std::to_string(errorOffset) + ": " +
                                       reinterpret_cast<const char*>(text.data()));
  }
  if ((options & PCRE2_LITERAL) == 0) code->pattern = std::string(pattern);
  code->context.reset(pcre2_match_context_create(nullptr));
  if (!code->context) throw std::bad_alloc();
  pcre2_set_match_limit(code->context.get(), kPatternMatchLimit);
  pcre2_set_depth_limit(code->context.get(), kPatternDepthLimit);
  pcre2_set_heap_limit(code->context.get(), kPatternHeapLimitKiB);
  compiled->reset(new ShapePattern(std::move(code)));
  return qaxoi::Status::Ok();
}

PatternMatch ShapePattern::Matches(std::string_view text, uint64_t budget, uint64_t* steps) const {
  // One match block and context per call keeps the pattern shareable
  // between threads (the callout's count is the call's); they cost two
  // small allocations per value, next to the match itself.
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
      pcre2_match_data_create_from_pattern(code_->code.get(), nullptr));
  if (!data) throw std::bad_alloc();
  std::unique_ptr<pcre2_match_context, ContextDeleter> context(
      pcre2_match_context_copy(code_->context.get()));
  if (!context) throw std::bad_alloc();
  StepCount count;
  count.budget = budget;
  count.pattern = code_->pattern;
  pcre2_set_callout(context.get(), CountStep, &count);
  const int rc = pcre2_match(code_->code.get(), reinterpret_cast<PCRE2_SPTR>(text.data()),
                             text.size(), 0, 0, data.get(), context.get());
  *steps = count.steps;
  if (rc >= 0) return PatternMatch::kMatch;
  if (rc == PCRE2_ERROR_NOMATCH) return PatternMatch::kNoMatch;
  if (rc == PCRE2_ERROR_NOMEMORY) throw std::bad_alloc();
  return PatternMatch::kLimit;
}

}  // namespace qaxoi::shacl
