// Finds entries of a list by name without storing the names a second time.
// Internal to the QAX library.
#ifndef QAX_HOST_QAX_NAMEINDEX_H_
#define QAX_HOST_QAX_NAMEINDEX_H_

#include <cstddef>
#include <cstdint>
#include <functional>
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

  static std::uint32_t Hash(std::string_view name) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>()(name));
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

#endif  // QAX_HOST_QAX_NAMEINDEX_H_
