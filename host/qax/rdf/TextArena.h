// Texts copied into large blocks that never move. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_RDF_TEXTARENA_H_
#define QAX_HOST_QAX_RDF_TEXTARENA_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace qaxoi::rdf {

// Keeps copies of texts, each whole in one block, for as long as the arena
// lives: a view that Keep answers stays valid until then. Texts are packed
// into shared blocks, at no cost but their bytes; blocks grow with what is
// kept (each as large as all before it, from 1 kB, or the first block's size
// given, to 64 kB). A text that does not fit in what is left of the current
// block starts a new block when it is short, throwing that tail away, and
// gets a block of its own, of its size, when it is long (kLongTextBytes or
// more). So a block wastes less than kLongTextBytes, and the arena holds the
// bytes kept, a few per cent besides, and at most 1 kB more.
class TextArena {
 public:
  TextArena() = default;
  // An arena whose first block holds `firstBlockBytes` (at most
  // kMaxBlockBytes), for one that may keep only a few short texts.
  explicit TextArena(std::size_t firstBlockBytes)
      : firstBlockBytes_(firstBlockBytes < kMaxBlockBytes ? firstBlockBytes : kMaxBlockBytes) {}

  // Copies `text` and answers a view of the copy. Throws std::bad_alloc when
  // no block can be had, leaving the arena as it was.
  std::string_view Keep(std::string_view text) {
    if (text.empty()) return std::string_view();
    if (blocks_.empty() || text.size() > blockBytes_ - used_) {
      if (text.size() >= kLongTextBytes) {
        // A long text that does not fit gets a block of its own, so that
        // the current block's tail is not thrown away for it.
        longTexts_.push_back(std::make_unique<char[]>(text.size()));
        return Copy(longTexts_.back().get(), text);
      }
      std::size_t size = blocks_.empty() ? firstBlockBytes_ : 2 * blockBytes_;
      if (size > kMaxBlockBytes) size = kMaxBlockBytes;
      // A first block smaller than kLongTextBytes still holds the text.
      while (size < text.size()) size *= 2;
      blocks_.push_back(std::make_unique<char[]>(size));
      blockBytes_ = size;
      used_ = 0;
    }
    const std::string_view kept = Copy(blocks_.back().get() + used_, text);
    used_ += text.size();
    return kept;
  }

  // Moves the texts of the last block into a block of their size, letting
  // go of its unused tail, for an arena that keeps no more texts.
  // `forEachView(fix)` must call `fix(view)` on every view Keep answered
  // that is still in use, so that those in the last block follow it; other
  // views stay valid. Holds the texts of the last block twice meanwhile (at
  // most kMaxBlockBytes). Throws std::bad_alloc, leaving the arena as it
  // was.
  template <typename ForEachView>
  void TrimLast(ForEachView forEachView) {
    if (blocks_.empty() || used_ == blockBytes_) return;
    std::unique_ptr<char[]> trimmed = std::make_unique<char[]>(used_);
    const char* const old = blocks_.back().get();
    std::memcpy(trimmed.get(), old, used_);
    const auto oldStart = reinterpret_cast<std::uintptr_t>(old);
    forEachView([&](std::string_view& view) {
      const auto at = reinterpret_cast<std::uintptr_t>(view.data());
      if (view.empty() || at < oldStart || at >= oldStart + used_) return;
      view = std::string_view(trimmed.get() + (at - oldStart), view.size());
    });
    blocks_.back() = std::move(trimmed);
    blockBytes_ = used_;
  }

 private:
  static constexpr std::size_t kMinBlockBytes = std::size_t{1} << 10;
  static constexpr std::size_t kMaxBlockBytes = std::size_t{64} << 10;
  // Texts from this size on that do not fit get blocks of their own: each
  // costs a block's header and a pointer besides, a few per cent of its
  // bytes.
  static constexpr std::size_t kLongTextBytes = 256;

  static std::string_view Copy(char* to, std::string_view text) {
    std::memcpy(to, text.data(), text.size());
    return std::string_view(to, text.size());
  }

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<std::unique_ptr<char[]>> longTexts_;
  std::size_t firstBlockBytes_ = kMinBlockBytes;
  std::size_t blockBytes_ = 0;  // the size of the last block
  std::size_t used_ = 0;        // bytes of the last block in use
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_TEXTARENA_H_
