// Counts in the host's messages. Internal to the HighPoly library.
#ifndef QAX_HOST_SDK_COUNTTEXT_H_
#define QAX_HOST_SDK_COUNTTEXT_H_

#include <cstddef>
#include <string>

// "1 byte", "2 bytes": the count and the noun in the number it takes.
inline std::string CountOf(unsigned long long count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

#endif  // QAX_HOST_SDK_COUNTTEXT_H_
