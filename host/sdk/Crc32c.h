// CRC-32C (Castagnoli), the checksum of the channel group file format.
#ifndef QAX_HOST_SDK_CRC32C_H_
#define QAX_HOST_SDK_CRC32C_H_

#include <cstddef>
#include <cstdint>

#include "host/sdk/HighPolyExport.h"

// The CRC-32C of `size` bytes at `data` (null only when `size` is 0),
// continuing from `crc`, the CRC-32C of the bytes before them (0 for none):
// Crc32c(b, n, Crc32c(a, m)) is the CRC-32C of a followed by b. Reflected,
// polynomial 0x1EDC6F41, initial value and final XOR 0xFFFFFFFF, so that the
// CRC-32C of the nine bytes "123456789" is 0xE3069283. Uses the processor's
// CRC32 instruction where it has one.
HIGHPOLY_API std::uint32_t Crc32c(const void* data, std::size_t size, std::uint32_t crc = 0);

#endif  // QAX_HOST_SDK_CRC32C_H_
