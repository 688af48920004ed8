#include "host/sdk/Crc32c.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <nmmintrin.h>
#define QAX_CRC32C_SSE42 1
#endif

namespace {

// The reflected Castagnoli polynomial.
constexpr std::uint32_t kPolynomial = 0x82F63B78u;

// The CRC of each byte value, for the byte-at-a-time loop.
constexpr std::array<std::uint32_t, 256> MakeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    std::uint32_t crc = byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1u) != 0 ? kPolynomial : 0u);
    table[byte] = crc;
  }
  return table;
}
constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

// Both loops work on the register form of the CRC: inverted on entry and exit.
std::uint32_t Portable(const unsigned char* bytes, std::size_t size, std::uint32_t crc) {
  for (std::size_t i = 0; i < size; ++i) crc = kTable[(crc ^ bytes[i]) & 0xFFu] ^ (crc >> 8);
  return crc;
}

#if defined(QAX_CRC32C_SSE42)
__attribute__((target("sse4.2"))) std::uint32_t Hardware(const unsigned char* bytes,
                                                         std::size_t size, std::uint32_t crc) {
  std::uint64_t wide = crc;
  for (; size >= 8; bytes += 8, size -= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof(word));  // unaligned, little-endian
    wide = _mm_crc32_u64(wide, word);
  }
  crc = static_cast<std::uint32_t>(wide);
  for (; size > 0; ++bytes, --size) crc = _mm_crc32_u8(crc, *bytes);
  return crc;
}

// The compiler's runtime reads the processor's features once at start-up;
// asking is a load and a test.
bool HasHardware() { return __builtin_cpu_supports("sse4.2") != 0; }
#endif

}  // namespace

std::uint32_t Crc32c(const void* data, std::size_t size, std::uint32_t crc) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (size == 0) return crc;
  crc = ~crc;
#if defined(QAX_CRC32C_SSE42)
  if (HasHardware()) return ~Hardware(bytes, size, crc);
#endif
  return ~Portable(bytes, size, crc);
}
