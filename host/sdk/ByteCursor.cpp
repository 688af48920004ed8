#include "host/sdk/ByteCursor.h"

#include <cstring>

namespace {

std::uint32_t LoadU32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) |
         (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::uint16_t LoadU16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

void AppendU16(std::uint16_t value, std::vector<unsigned char>* out) {
  out->push_back(static_cast<unsigned char>(value & 0xFFu));
  out->push_back(static_cast<unsigned char>(value >> 8));
}

}  // namespace

ByteCursor::ByteCursor(const unsigned char* data, std::size_t size, std::size_t offset)
    : data_(data), size_(data != nullptr ? size : 0), offset_(offset < size_ ? offset : size_) {}

bool ByteCursor::ReadU8(std::uint8_t* value) {
  if (Remaining() < 1) return false;
  *value = data_[offset_];
  offset_ += 1;
  return true;
}

bool ByteCursor::ReadU32(std::uint32_t* value) {
  if (Remaining() < 4) return false;
  *value = LoadU32(data_ + offset_);
  offset_ += 4;
  return true;
}

bool ByteCursor::ReadI32(std::int32_t* value) {
  std::uint32_t bits = 0;
  if (!ReadU32(&bits)) return false;
  // Two's complement by copy: a conversion of values above INT32_MAX would be
  // implementation-defined.
  std::memcpy(value, &bits, sizeof(bits));
  return true;
}

bool ByteCursor::ReadFloat(float* value) {
  static_assert(sizeof(float) == 4, "IEEE single-precision float");
  std::uint32_t bits = 0;
  if (!ReadU32(&bits)) return false;
  std::memcpy(value, &bits, sizeof(bits));
  return true;
}

bool ByteCursor::ReadGuid(_GUID* value) {
  if (Remaining() < 16) return false;
  const unsigned char* bytes = data_ + offset_;
  value->Data1 = LoadU32(bytes);
  value->Data2 = LoadU16(bytes + 4);
  value->Data3 = LoadU16(bytes + 6);
  std::memcpy(value->Data4, bytes + 8, 8);
  offset_ += 16;
  return true;
}

bool ByteCursor::ReadSpan(std::size_t count, const unsigned char** bytes) {
  if (Remaining() < count) return false;
  *bytes = data_ + offset_;
  offset_ += count;
  return true;
}

void AppendU8(std::uint8_t value, std::vector<unsigned char>* out) { out->push_back(value); }

void AppendU32(std::uint32_t value, std::vector<unsigned char>* out) {
  for (int shift = 0; shift < 32; shift += 8) {
    out->push_back(static_cast<unsigned char>((value >> shift) & 0xFFu));
  }
}

void AppendI32(std::int32_t value, std::vector<unsigned char>* out) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof(bits));
  AppendU32(bits, out);
}

void AppendFloat(float value, std::vector<unsigned char>* out) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof(bits));
  AppendU32(bits, out);
}

void AppendGuid(const _GUID& value, std::vector<unsigned char>* out) {
  AppendU32(value.Data1, out);
  AppendU16(value.Data2, out);
  AppendU16(value.Data3, out);
  out->insert(out->end(), value.Data4, value.Data4 + 8);
}

void AppendBytes(const void* data, std::size_t size, std::vector<unsigned char>* out) {
  if (size == 0) return;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  out->insert(out->end(), bytes, bytes + size);
}
