#include "host/sdk/WindowsError.h"

#include <windows.h>

std::string WindowsErrorText(unsigned long code) {
  char text[512] = {};
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                     MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text, sizeof(text), nullptr);
  std::string reason(text, length < sizeof(text) ? length : sizeof(text) - 1);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  const std::string number = "error " + std::to_string(code);
  return reason.empty() ? "system " + number : reason + " (" + number + ")";
}
