#include "host/sdk/Guid.h"

#include <cctype>
#include <cstdio>

std::string GuidToString(const _GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1], guid.Data4[2],
                guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool GuidFromString(const std::string& text, _GUID* out) {
  std::string body = text;
  if (body.size() == 38 && body.front() == '{' && body.back() == '}') {
    body = body.substr(1, 36);
  }
  if (body.size() != 36) return false;
  // Collect the 32 hex digits, checking the hyphens at their places.
  unsigned char bytes[16] = {};
  int digit = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (body[i] != '-') return false;
      continue;
    }
    const int value = HexValue(body[i]);
    if (value < 0) return false;
    if (digit % 2 == 0) {
      bytes[digit / 2] = static_cast<unsigned char>(value << 4);
    } else {
      bytes[digit / 2] = static_cast<unsigned char>(bytes[digit / 2] | value);
    }
    ++digit;
  }
  _GUID guid;
  guid.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
               (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
  guid.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  guid.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
  *out = guid;
  return true;
}
