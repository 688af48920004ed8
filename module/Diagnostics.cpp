#include "module/Diagnostics.h"

#include <cstdarg>
#include <cstdio>

#include "host/sdk/EngineInterface.h"

// DebugMessageBuffer and DebugMessageText are defined in entry/StaticState.cpp,
// which fixes the order in which the module's static objects are built.

namespace {

// The suffix every reporting site puts behind the function name.
constexpr const char* kCallSuffix = "().";

// Formats behind `position` with the append step's bound. `format` is not
// checked at compile time: escaped condition texts come through here.
const char* AppendFormattedV(DebugMessagePosition position, const char* format, va_list args) {
  constexpr std::size_t kBound = kDebugMessageBufferSize - 1;
  std::size_t at = position.count < 0 ? 0 : static_cast<std::size_t>(position.count);
  if (at > kBound) at = kBound;
  const std::size_t room = kBound - at;
  if (room > 0) {
    std::vsnprintf(DebugMessageBuffer + at, room, format != nullptr ? format : "", args);
  }
  return DebugMessageBuffer;
}

const char* AppendFormatted(DebugMessagePosition position, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const char* text = AppendFormattedV(position, format, args);
  va_end(args);
  return text;
}

// Formats a plain message from the start of the buffer and copies it into
// DebugMessageText, whose text it answers.
const char* FormatPlainV(const char* format, va_list args) {
  const int written = std::vsnprintf(DebugMessageBuffer, kDebugMessageBufferSize - 1,
                                     format != nullptr ? format : "", args);
  if (written < 0) DebugMessageBuffer[0] = '\0';
  DebugMessageText.assign(DebugMessageBuffer);
  return DebugMessageText.c_str();
}

}  // namespace

DebugMessagePosition FormatDebugPrefix(const char* function, const char* suffix) {
  const int written =
      std::snprintf(DebugMessageBuffer, kDebugMessageBufferSize, "%s%s",
                    function != nullptr ? function : "", suffix != nullptr ? suffix : "");
  // snprintf answers the length the text would have had; the buffer holds at
  // most its size less the terminator.
  std::int32_t count = written < 0 ? 0 : written;
  if (count > static_cast<std::int32_t>(kDebugMessageBufferSize - 1)) {
    count = static_cast<std::int32_t>(kDebugMessageBufferSize - 1);
  }
  if (written < 0) DebugMessageBuffer[0] = '\0';
  return DebugMessagePosition{count};
}

const char* AppendDebugMessage(DebugMessagePosition position, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const char* text = AppendFormattedV(position, format, args);
  va_end(args);
  return text;
}

const char* FormatDebugMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const char* text = FormatPlainV(format, args);
  va_end(args);
  return text;
}

std::string EscapeForFormat(const char* text) {
  std::string escaped;
  if (text == nullptr) return escaped;
  for (const char* c = text; *c != '\0'; ++c) {
    escaped.push_back(*c);
    if (*c == '%' || *c == '\\') escaped.push_back(*c);
  }
  return escaped;
}

void ReportFailedCheck(const char* function, const char* condition) {
  const std::string escaped = EscapeForFormat(condition);
  const DebugMessagePosition position = FormatDebugPrefix(function, kCallSuffix);
  globalEngine->ShowDebugMessage(AppendFormatted(position, escaped.c_str()));
}

void ReportError(const char* function, const char* format, ...) {
  const DebugMessagePosition position = FormatDebugPrefix(function, kCallSuffix);
  va_list args;
  va_start(args, format);
  const char* text = AppendFormattedV(position, format, args);
  va_end(args);
  globalEngine->ShowDebugMessage(text);
}

void ReportPlain(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const char* text = FormatPlainV(format, args);
  va_end(args);
  globalEngine->ShowDebugMessage(text);
}
