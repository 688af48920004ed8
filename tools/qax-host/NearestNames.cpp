#include "tools/qax-host/NearestNames.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace qaxoi::qax_host {

namespace {

// One edit for every this many bytes of the given name.
constexpr std::size_t kBytesPerEdit = 3;

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

NearestNames::NearestNames(std::string given)
    : given_(std::move(given)),
      maxDistance_(std::clamp<std::size_t>(given_.size() / kBytesPerEdit, 1, kMaxDistance)) {}

std::size_t NearestNames::Distance(std::string_view a, std::string_view b, std::size_t limit) {
  const std::size_t over = limit + 1;
  const std::size_t n = a.size();
  const std::size_t m = b.size();
  if (n > kMaxComparedBytes || m > kMaxComparedBytes) return over;
  if ((n > m ? n - m : m - n) > limit) return over;
  // Three rows of the edit table (the one before last for swaps), of which
  // only the band |i - j| <= limit is computed: a path that leaves it costs
  // more than `limit`. Cells outside the band hold `over`.
  using Row = std::array<std::size_t, kMaxComparedBytes + 1>;
  Row before{};
  Row previous{};
  Row current{};
  before.fill(over);
  previous.fill(over);
  for (std::size_t j = 0; j <= std::min(m, limit); ++j) previous[j] = j;
  for (std::size_t i = 1; i <= n; ++i) {
    current.fill(over);
    if (i <= limit) current[0] = i;
    std::size_t rowLeast = current[0];
    const std::size_t low = i > limit ? i - limit : 1;
    const std::size_t high = std::min(m, i + limit);
    const char x = Folded(a[i - 1]);
    for (std::size_t j = low; j <= high; ++j) {
      const char y = Folded(b[j - 1]);
      std::size_t cell =
          std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (x == y ? 0 : 1)});
      if (i > 1 && j > 1 && x == Folded(b[j - 2]) && Folded(a[i - 2]) == y) {
        cell = std::min(cell, before[j - 2] + 1);
      }
      current[j] = std::min(cell, over);
      rowLeast = std::min(rowLeast, current[j]);
    }
    // Every path goes through this row: past the limit here, past it at
    // the end.
    if (rowLeast > limit) return over;
    std::swap(before, previous);
    std::swap(previous, current);
  }
  return std::min(previous[m], over);
}

void NearestNames::Offer(std::string_view name, std::string_view shown) {
  if (offers_ >= kMaxOffers) return;
  ++offers_;
  const std::size_t distance = Distance(given_, name, maxDistance_);
  if (distance > maxDistance_) return;
  const auto same = std::find_if(kept_.begin(), kept_.end(),
                                 [&](const Kept& kept) { return kept.shown == shown; });
  if (same != kept_.end()) {
    if (same->distance <= distance) return;
    kept_.erase(same);
  }
  const auto before = [](const Kept& x, const Kept& y) {
    return x.distance != y.distance ? x.distance < y.distance : x.shown < y.shown;
  };
  Kept candidate{distance, std::string(shown)};
  if (kept_.size() == kMaxSuggestions && !before(candidate, kept_.back())) return;
  kept_.insert(std::upper_bound(kept_.begin(), kept_.end(), candidate, before),
               std::move(candidate));
  if (kept_.size() > kMaxSuggestions) kept_.pop_back();
}

std::vector<std::string> NearestNames::Nearest() const {
  std::vector<std::string> names;
  for (const Kept& kept : kept_) names.push_back(kept.shown);
  return names;
}

std::string NearestNames::DidYouMean() const {
  if (kept_.empty()) return std::string();
  std::string text = "; did you mean ";
  for (std::size_t i = 0; i < kept_.size(); ++i) {
    if (i > 0) text += i + 1 == kept_.size() ? " or " : ", ";
    text += kept_[i].shown;
  }
  return text + "?";
}

}  // namespace qaxoi::qax_host
