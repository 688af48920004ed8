// Finds entries of a list by name without storing the names a second time.
// Internal to the QAX library.
#ifndef QAX_HOST_QAX_MODEL_NAMEINDEX_H_
#define QAX_HOST_QAX_MODEL_NAMEINDEX_H_

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace QAX {
namespace Util {

// An open-addressing hash table of positions 0, 1, 2 ... into a list that the
// caller keeps: each slot holds a position and its name's hash, and lookups
// ask the caller for the name at a position. The list's names must be
// distinct, and an entry's name must not change while it is indexed.
class NameIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // A name's hash: eight bytes at a time, each word multiplied in and the
  // result mixed so that every byte reaches the low bits the table uses.
  // Names are mostly IRIs that share long prefixes, hashed once per
  // statement a loader reads, so this is written for speed.
  static std::uint32_t Hash(std::string_view name) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    constexpr std::uint64_t kMixer = 0xFF51AFD7ED558CCDull;
    constexpr int kHalf = 32;
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    const char* bytes = name.data();
    std::size_t left = name.size();
    std::uint64_t hash = left * kMultiplier;
    const auto add = [&hash](std::uint64_t word) {
      hash = (hash ^ word) * kMultiplier;
      hash ^= hash >> kHalf;
    };
    for (; left >= kWord; left -= kWord, bytes += kWord) add(Word(bytes));
    if (left > 0) {
      // The last bytes: the name's last word when it has one (overlapping
      // what was added), else the bytes one by one.
      std::uint64_t word = 0;
      if (name.size() >= kWord) {
        word = Word(name.data() + name.size() - kWord);
      } else {
        for (std::size_t i = 0; i < left; ++i) {
          word = (word << CHAR_BIT) | static_cast<unsigned char>(bytes[i]);
        }
      }
      add(word);
    }
    hash *= kMixer;
    hash ^= hash >> kHalf;
    return static_cast<std::uint32_t>(hash);
  }

  // The position whose name (as `nameAt(position)` answers it) is `name`,
  // or kNone.
  template <typename NameAt>
  std::size_t Find(std::string_view name, std::uint32_t hash, NameAt nameAt) const {
    if (slots_.empty()) return kNone;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      const Slot& slot = slots_[at];
      if (slot.positionPlusOne == 0) return kNone;
      if (slot.hash == hash && nameAt(slot.positionPlusOne - 1) == name) {
        return slot.positionPlusOne - 1;
      }
    }
  }

  // Makes room for `count` entries in all, so that adding up to that many
  // never grows the table (and never holds the old and the new table at
  // once). Throws std::bad_alloc, leaving the index as it was.
  void Reserve(std::size_t count) {
    std::size_t size = slots_.empty() ? kInitialSlots : slots_.size();
    while (2 * count > size) size *= 2;
    if (size != slots_.size()) Rehash(size);
  }

  // Indexes `position` under `hash`. Throws std::bad_alloc, leaving the index
  // as it was, when the table cannot grow.
  void Add(std::size_t position, std::uint32_t hash) {
    // At most half full, so that every search meets an empty slot soon.
    if (2 * (count_ + 1) > slots_.size())
      Rehash(slots_.empty() ? kInitialSlots : 2 * slots_.size());
    Place(slots_, Slot{static_cast<std::uint32_t>(position + 1), hash});
    ++count_;
  }

 private:
  static std::uint64_t Word(const char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
  }

  struct Slot {
    std::uint32_t positionPlusOne;  // 0: empty
    std::uint32_t hash;
  };
  static constexpr std::size_t kInitialSlots = 8;

  void Rehash(std::size_t size) {
    std::vector<Slot> grown(size);
    for (const Slot& slot : slots_) {
      if (slot.positionPlusOne != 0) Place(grown, slot);
    }
    slots_.swap(grown);
  }

  static void Place(std::vector<Slot>& slots, const Slot& slot) {
    const std::size_t mask = slots.size() - 1;
    std::size_t at = slot.hash & mask;
    while (slots[at].positionPlusOne != 0) at = (at + 1) & mask;
    slots[at] = slot;
  }

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

}  // namespace Util
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_NAMEINDEX_H_
