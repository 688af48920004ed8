#include "tools/qax-host/StandardOutputBuffer.h"

#include <cstdio>

namespace qaxoi::qax_host {

StandardOutputBuffer::int_type StandardOutputBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize StandardOutputBuffer::xsputn(const char* bytes, std::streamsize count) {
  if (std::ferror(stdout) != 0) return 0;
  const std::size_t written = std::fwrite(bytes, 1, static_cast<std::size_t>(count), stdout);
  return std::ferror(stdout) != 0 ? 0 : static_cast<std::streamsize>(written);
}

int StandardOutputBuffer::sync() { return std::fflush(stdout) == 0 ? 0 : -1; }

}  // namespace qaxoi::qax_host
