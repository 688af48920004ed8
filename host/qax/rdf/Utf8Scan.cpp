#include "host/qax/rdf/Utf8Scan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qaxoi::rdf {
namespace {

// The offset of the first byte from `at` on that is NUL or not ASCII, or
// `size`. Most bytes of a document are ASCII other than NUL: they are
// stepped over sixteen (with SSE2) or eight at a time.
std::size_t SkipPlainAscii(const unsigned char* data, std::size_t at, std::size_t size) {
#if defined(__SSE2__)
  constexpr std::size_t kVector = 16;
  constexpr std::size_t kBlock = 4 * kVector;
  const __m128i zero = _mm_setzero_si128();
  // Four vectors at a time while they are plain, then one at a time to find
  // the byte that is not.
  while (size - at >= kBlock) {
    const auto* const block = reinterpret_cast<const __m128i*>(data + at);
    const __m128i a = _mm_loadu_si128(block);
    const __m128i b = _mm_loadu_si128(block + 1);
    const __m128i c = _mm_loadu_si128(block + 2);
    const __m128i d = _mm_loadu_si128(block + 3);
    // The high bits of all four, and a zero byte of any: the minimum of the
    // bytes is zero only where one of them is.
    const __m128i high = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
    const __m128i least = _mm_min_epu8(_mm_min_epu8(a, b), _mm_min_epu8(c, d));
    if (_mm_movemask_epi8(_mm_or_si128(high, _mm_cmpeq_epi8(least, zero))) != 0) break;
    at += kBlock;
  }
  while (size - at >= kVector) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    // A byte's high bit, or all bits of a byte that is zero.
    const int mask = _mm_movemask_epi8(_mm_or_si128(bytes, _mm_cmpeq_epi8(bytes, zero)));
    if (mask != 0) return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    at += kVector;
  }
#endif
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  std::uint64_t word = 0;
  while (size - at >= sizeof(word)) {
    std::memcpy(&word, data + at, sizeof(word));
    if ((word & kHighBits) != 0 || ((word - kOnes) & ~word & kHighBits) != 0) break;
    at += sizeof(word);
  }
  while (at < size && data[at] != 0 && data[at] < 0x80) ++at;
  return at;
}

}  // namespace

std::size_t Utf8Scan::Malformed(std::size_t at, unsigned char lead, std::string& problem) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  over_ = true;
  problem = std::string("invalid UTF-8 at byte 0x") + kHex[lead >> 4] + kHex[lead & 0x0F];
  return at;
}

std::size_t Utf8Scan::Feed(const char* bytes, std::size_t size, std::string& problem) {
  if (over_) return kNone;
  const auto* const data = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t at = 0;
  while (at < size) {
    if (need_ == 0) {
      at = SkipPlainAscii(data, at, size);
      if (at >= size) break;
      const unsigned char lead = data[at];
      if (lead == 0) {
        over_ = true;
        problem = "NUL byte in the document";
        return offset_ + at;
      }
      low_ = 0x80;
      high_ = 0xBF;
      if (lead >= 0xC2 && lead <= 0xDF) {
        need_ = 1;
      } else if (lead >= 0xE0 && lead <= 0xEF) {
        need_ = 2;
        if (lead == 0xE0) low_ = 0xA0;   // overlong
        if (lead == 0xED) high_ = 0x9F;  // surrogates
      } else if (lead >= 0xF0 && lead <= 0xF4) {
        need_ = 3;
        if (lead == 0xF0) low_ = 0x90;   // overlong
        if (lead == 0xF4) high_ = 0x8F;  // beyond U+10FFFF
      } else {
        return Malformed(offset_ + at, lead, problem);
      }
      lead_ = offset_ + at;
      leadByte_ = lead;
      ++at;
      continue;
    }
    const unsigned char next = data[at];
    if (next < low_ || next > high_) return Malformed(lead_, leadByte_, problem);
    low_ = 0x80;
    high_ = 0xBF;
    --need_;
    ++at;
  }
  offset_ += size;
  return kNone;
}

std::size_t Utf8Scan::Finish(std::string& problem) {
  if (over_ || need_ == 0) return kNone;
  return Malformed(lead_, leadByte_, problem);
}

}  // namespace qaxoi::rdf
