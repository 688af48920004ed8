#include "tools/qax-host/TrimmedLines.h"

namespace qaxoi::qax_host {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

TrimmedLines::int_type TrimmedLines::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

bool TrimmedLines::Pass(const char* bytes, std::streamsize count) {
  if (!blanks_.empty()) {
    const auto held = static_cast<std::streamsize>(blanks_.size());
    if (target_.sputn(blanks_.data(), held) != held) return false;
    blanks_.clear();
  }
  return target_.sputn(bytes, count) == count;
}

std::streamsize TrimmedLines::xsputn(const char* bytes, std::streamsize count) {
  std::streamsize at = 0;
  while (at < count) {
    const char c = bytes[at];
    if (IsBlank(c)) {
      blanks_ += c;
      ++at;
      continue;
    }
    if (c == '\n') {
      blanks_.clear();
      if (target_.sputc(c) == traits_type::eof()) return 0;
      ++at;
      continue;
    }
    // A run of bytes that are neither blanks nor line ends goes on whole.
    std::streamsize end = at;
    while (end < count && !IsBlank(bytes[end]) && bytes[end] != '\n') ++end;
    if (!Pass(bytes + at, end - at)) return 0;
    at = end;
  }
  return count;
}

}  // namespace qaxoi::qax_host
