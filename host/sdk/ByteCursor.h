// Little-endian reading and writing of the fixed-size fields of host files.
// Internal to the host library.
#ifndef QAX_HOST_SDK_BYTECURSOR_H_
#define QAX_HOST_SDK_BYTECURSOR_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/sdk/Guid.h"

// Reads fields front to back from bytes it does not own. Every read checks
// the bytes left first: a read that does not fit answers false and moves
// nothing.
class ByteCursor {
 public:
  // Starts reading at `offset` (at most `size`). `data` may be null only when
  // `size` is 0; it must outlive the cursor.
  ByteCursor(const unsigned char* data, std::size_t size, std::size_t offset = 0);

  std::size_t Offset() const { return offset_; }
  std::size_t Remaining() const { return size_ - offset_; }

  bool ReadU8(std::uint8_t* value);
  bool ReadU32(std::uint32_t* value);
  bool ReadI32(std::int32_t* value);
  bool ReadFloat(float* value);
  // The 16 bytes in the platform's layout: Data1, Data2, Data3 least
  // significant byte first, then Data4.
  bool ReadGuid(_GUID* value);
  // Points `bytes` at the next `count` bytes and moves past them.
  bool ReadSpan(std::size_t count, const unsigned char** bytes);

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t offset_;
};

// The writing counterparts: each appends its field to `out`.
void AppendU8(std::uint8_t value, std::vector<unsigned char>* out);
void AppendU32(std::uint32_t value, std::vector<unsigned char>* out);
void AppendI32(std::int32_t value, std::vector<unsigned char>* out);
void AppendFloat(float value, std::vector<unsigned char>* out);
void AppendGuid(const _GUID& value, std::vector<unsigned char>* out);
void AppendBytes(const void* data, std::size_t size, std::vector<unsigned char>* out);

#endif  // QAX_HOST_SDK_BYTECURSOR_H_
