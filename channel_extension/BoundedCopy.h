// The module's one bounded text copy: every fixed-size text field of a host
// record and every caller's buffer that the module fills is written through
// these two functions, so that a text is cut the same way everywhere.
#ifndef QAX_CHANNEL_EXTENSION_BOUNDEDCOPY_H_
#define QAX_CHANNEL_EXTENSION_BOUNDEDCOPY_H_

#include <cstddef>

namespace qaxoi::module {

// Copies the characters of `text` into `dst` up to its first zero character,
// at most `length` of them and at most `room`; answers how many it copied and
// writes no terminator. Reads no further than that bound, so `text` need not
// be terminated within `length`. `text` may lie at or behind `dst` in the same
// array: it is copied forwards.
template <class Char>
std::size_t CopyPrefix(Char* dst, std::size_t room, const Char* text, std::size_t length) {
  const std::size_t bound = length < room ? length : room;
  std::size_t n = 0;
  while (n < bound && text[n] != Char{}) {
    dst[n] = text[n];
    ++n;
  }
  return n;
}

// Copies the zero-terminated `text` into `dst`, an array of `size` > 0
// characters, cut to the size - 1 characters that fit with the terminator,
// and terminates it; answers the copied length. The rest of `dst` is left as
// it was.
template <class Char>
std::size_t CopyTerminated(Char* dst, std::size_t size, const Char* text) {
  const std::size_t n = CopyPrefix(dst, size - 1, text, size - 1);
  dst[n] = Char{};
  return n;
}

}  // namespace qaxoi::module

#endif  // QAX_CHANNEL_EXTENSION_BOUNDEDCOPY_H_
