#include "host/files/ByteCountText.h"

namespace qaxoi::files {

std::string ByteCountText(std::uint64_t bytes) {
  constexpr std::uint64_t kKibibyte = 1024;
  const struct {
    std::uint64_t size;
    const char* name;
  } units[] = {{kKibibyte * kKibibyte * kKibibyte, "GiB"},
               {kKibibyte * kKibibyte, "MiB"},
               {kKibibyte, "KiB"}};
  for (const auto& unit : units) {
    if (bytes >= unit.size && bytes % unit.size == 0) {
      return std::to_string(bytes / unit.size) + " " + unit.name;
    }
  }
  std::string digits = std::to_string(bytes);
  for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
  return digits + (bytes == 1 ? " byte" : " bytes");
}

}  // namespace qaxoi::files
