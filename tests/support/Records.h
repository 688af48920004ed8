// Tagged records as the host's saver writes them, for the files that load
// tests read: each record its tag, a zero byte, a 4-byte size and the block.
#ifndef QAX_TESTS_SUPPORT_RECORDS_H_
#define QAX_TESTS_SUPPORT_RECORDS_H_

#include <string>
#include <utility>
#include <vector>

#include "host/sdk/HighPoly.h"

namespace qaxoi::test {

// A record: its tag and its data block.
using Record = std::pair<std::string, std::string>;

inline std::vector<unsigned char> Records(const std::vector<Record>& records) {
  A3dFileSaver saver;
  for (const auto& [tag, data] : records) {
    saver.SaveTag(tag.c_str());
    saver.SaveBlockSize(data.size());
    saver.SaveDataToFile(data.data(), data.size());
  }
  return saver.Data();
}

// `value` as the four little-endian bytes of a u32 block.
inline std::string U32(unsigned int value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// `text` with its terminating zero, as text records hold it.
inline std::string Z(const char* text) { return std::string(text) + '\0'; }

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_RECORDS_H_
