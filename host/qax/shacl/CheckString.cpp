// String-based: sh:minLength, sh:maxLength, sh:pattern, sh:languageIn,
// sh:uniqueLang.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/qax/shacl/ComponentChecks.h"
#include "host/qax/shacl/LiteralValues.h"
#include "host/qax/shacl/ShapePattern.h"

namespace qaxoi::shacl {
namespace {

// Whether the text of each value (in code points) `fits` the count; a value
// that does not is "<failure><count> characters". A blank node has no text
// and always fails.
bool CheckLength(ConstraintCheck& check, bool (*fits)(std::size_t length, uint64_t count),
                 std::string_view failure) {
  Validation& run = check.validation;
  const uint64_t count = check.constraint.count;
  for (const TermId v : check.values) {
    const TermView view = run.View(v);
    const bool blank = view.kind == TermKind::kBlank;
    if (!blank && fits(CodePointCount(view.text), count)) continue;
    if (!check.Fail(v, [&] {
          if (blank) return std::string("a blank node has no string to measure");
          return std::string(failure) + std::to_string(count) + " characters";
        }))
      return false;
  }
  return check.Holds();
}

}  // namespace

bool CheckMinLength(ConstraintCheck& check) {
  return CheckLength(
      check, [](std::size_t length, uint64_t count) { return length >= count; }, "shorter than ");
}

bool CheckMaxLength(ConstraintCheck& check) {
  return CheckLength(
      check, [](std::size_t length, uint64_t count) { return length <= count; }, "longer than ");
}

// A blank node never matches; a value whose match passes its own step
// budget fails with a message of its own. The steps are the run's work: a
// match cut short by the run's budget stops the run instead.
bool CheckPattern(ConstraintCheck& check) {
  Validation& run = check.validation;
  const Constraint& c = check.constraint;
  for (const TermId v : check.values) {
    const TermView view = run.View(v);
    PatternMatch match = PatternMatch::kNoMatch;
    if (view.kind != TermKind::kBlank) {
      uint64_t steps = 0;
      match = c.pattern->Matches(view.text, run.PatternBudget(view.text.size()), &steps);
      if (!run.Charge(steps)) return true;
    }
    if (match != PatternMatch::kMatch && !check.Fail(v, [&] {
          return (match == PatternMatch::kLimit
                      ? "could not be matched within the matching limits: pattern "
                      : "does not match the pattern ") +
                 run.ShapesText(c.term);
        }))
      return false;
  }
  return check.Holds();
}

bool CheckLanguageIn(ConstraintCheck& check) {
  Validation& run = check.validation;
  const std::vector<TermId>& ranges = check.constraint.terms;
  for (const TermId v : check.values) {
    const TermView view = run.View(v);
    const bool matches =
        view.kind == TermKind::kLiteral && std::any_of(ranges.begin(), ranges.end(), [&](TermId r) {
          return LanguageMatches(view.language, run.ShapesTerm(r).text);
        });
    if (!matches &&
        !check.Fail(v, [&] { return std::string("language tag not among sh:languageIn"); }))
      return false;
  }
  return check.Holds();
}

// Tags compared regardless of letter case; one failure per repeated tag,
// naming no value.
bool CheckUniqueLang(ConstraintCheck& check) {
  Validation& run = check.validation;
  std::vector<std::string> tags;
  for (const TermId v : check.values) {
    const TermView view = run.View(v);
    if (view.kind != TermKind::kLiteral || view.language.empty()) continue;
    std::string tag(view.language);
    std::transform(tag.begin(), tag.end(), tag.begin(), [](char ch) {
      return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
    });
    tags.push_back(std::move(tag));
  }
  std::sort(tags.begin(), tags.end());
  for (std::size_t i = 1; i < tags.size(); ++i) {
    if (tags[i] != tags[i - 1] || (i >= 2 && tags[i] == tags[i - 2])) continue;
    if (!check.Fail(kNoTerm,
                    [&] { return "language tag \"" + tags[i] + "\" used more than once"; }))
      return false;
  }
  return check.Holds();
}

}  // namespace qaxoi::shacl
