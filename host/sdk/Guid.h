// The platform's GUID record and the operations the SDK offers on it.
#ifndef QAX_HOST_SDK_GUID_H_
#define QAX_HOST_SDK_GUID_H_

#include <cstdint>
#include <cstring>
#include <string>

#include "host/sdk/HighPolyExport.h"

#if defined(_WIN32)
#include <guiddef.h>
#else
// A GUID as the platform lays it out: a 32-bit word, two 16-bit words and
// eight bytes. On little-endian machines the words are stored least
// significant byte first, so {6B9BDE34-8AC5-...} starts with 34 DE 9B 6B.
struct _GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};

// GUIDs compare equal when their 16 bytes are equal, as the Windows header's
// operators make them; code written against the SDK compares them with ==
// and != on either platform.
inline bool operator==(const _GUID& a, const _GUID& b) {
  return std::memcmp(&a, &b, sizeof(_GUID)) == 0;
}
inline bool operator!=(const _GUID& a, const _GUID& b) { return !(a == b); }
#endif

static_assert(sizeof(_GUID) == 16, "a GUID is 16 bytes");

// GUIDs are equal when their 16 bytes are equal (the same as ==).
inline bool GuidEquals(const _GUID& a, const _GUID& b) { return a == b; }

// The GUID in the registry form "{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}".
HIGHPOLY_API std::string GuidToString(const _GUID& guid);

// Parses the registry form, braces optional, hex digits in either case.
// Returns false and leaves `out` unchanged when `text` is not a GUID.
HIGHPOLY_API bool GuidFromString(const std::string& text, _GUID* out);

#endif  // QAX_HOST_SDK_GUID_H_
