// The names nearest to one mistyped on the command line (a class, an
// attribute, a command), for the "did you mean" of the message that refuses
// it.
#ifndef QAX_TOOLS_QAX_HOST_NEARESTNAMES_H_
#define QAX_TOOLS_QAX_HOST_NEARESTNAMES_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qaxoi::qax_host {

// Collects, of the candidates offered, the few nearest to a given name.
// Distance is the number of edits (inserting, deleting or replacing a byte,
// or swapping two neighbouring ones) between the names, ASCII letters
// compared without case, so that "restaurant" is at 0 from "Restaurant" and
// "biuld" at 1 from "build". A candidate is kept when it is within
// MaxDistance() of the given name: one edit for every three bytes given, at
// least 1 and at most kMaxDistance, so that a short name does not suggest
// every other short name.
//
// The work is bounded whatever the vocabulary or the command line, since a
// suggestion is a courtesy of an error message and must not make it slow:
// each comparison looks at names of at most kMaxComparedBytes (a longer
// name, given or offered, is not compared: nobody mistypes names that long
// by a letter or two) and costs O(kMaxComparedBytes * kMaxDistance); only the
// first kMaxOffers offers are compared, the rest ignored.
class NearestNames {
 public:
  static constexpr std::size_t kMaxSuggestions = 3;
  static constexpr std::size_t kMaxDistance = 3;
  static constexpr std::size_t kMaxComparedBytes = 64;
  static constexpr std::size_t kMaxOffers = 250000;

  explicit NearestNames(std::string given);

  // The most edits a kept candidate is from the given name.
  std::size_t MaxDistance() const { return maxDistance_; }

  // Compares `name` with the given name and keeps `shown` (how a message
  // names the candidate) when it is near enough. One candidate may be
  // offered under several names ("Restaurant" and "schema:Restaurant"): it
  // is kept once, at the nearest.
  void Offer(std::string_view name, std::string_view shown);

  // The shown names kept, at most kMaxSuggestions, nearest first, names at
  // one distance in byte order.
  std::vector<std::string> Nearest() const;

  // "; did you mean A, B or C?" for Nearest(), to follow the message's
  // first clause; empty when none is near.
  std::string DidYouMean() const;

  // The edits between `a` and `b` as above; `limit` + 1 when they are more
  // than `limit` apart, or either is longer than kMaxComparedBytes.
  static std::size_t Distance(std::string_view a, std::string_view b, std::size_t limit);

 private:
  struct Kept {
    std::size_t distance;
    std::string shown;
  };
  std::string given_;
  std::size_t maxDistance_;
  std::size_t offers_ = 0;
  // At most kMaxSuggestions, ordered as Nearest() answers them.
  std::vector<Kept> kept_;
};

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_NEARESTNAMES_H_
