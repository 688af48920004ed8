// How the module reports failed checks and errors to the host engine.
//
// Every message is composed in one module-wide buffer and shown through
// globalEngine->ShowDebugMessage. Reporting never throws (except on exhausted
// memory while a condition text is escaped) and never stops the operation
// that reports. The host calls the module from one thread; the buffer is not
// locked.
#ifndef QAX_MODULE_DIAGNOSTICS_H_
#define QAX_MODULE_DIAGNOSTICS_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "module/Export.h"

// Size of the message buffer, terminator included.
inline constexpr std::size_t kDebugMessageBufferSize = 20481;

// The buffer in which every message is composed from its first character. It
// holds the last message composed.
extern QAXOI_API char DebugMessageBuffer[kDebugMessageBufferSize];

// Receives a copy of each plain message (FormatDebugMessage), so that the text
// shown for that form is the string's own.
extern QAXOI_API std::string DebugMessageText;

// The number of characters the prefix step wrote into the buffer.
struct DebugMessagePosition {
  std::int32_t count;
};

// Writes `function` immediately followed by `suffix` at the start of the
// buffer, cut to fit 20481 characters with the terminator. Null texts count as
// empty. Answers how many characters were written.
QAXOI_API DebugMessagePosition FormatDebugPrefix(const char* function, const char* suffix);

// Formats behind `position`, bounded by 20480 minus the position characters
// with the terminator (the text is cut to fit). Answers the buffer's text.
QAXOI_API const char* AppendDebugMessage(DebugMessagePosition position, const char* format, ...)
    QAXOI_PRINTF_FORMAT(2, 3);

// Formats from the start of the buffer, bounded by 20480 characters with the
// terminator, assigns the result to DebugMessageText and answers that
// string's text. A null format counts as empty.
QAXOI_API const char* FormatDebugMessage(const char* format, ...) QAXOI_PRINTF_FORMAT(1, 2);

// `text` with each percent sign and each backslash doubled; null gives "".
QAXOI_API std::string EscapeForFormat(const char* text);

// Shows "<function>().<condition>": the condition text shown as written.
QAXOI_API void ReportFailedCheck(const char* function, const char* condition);

// Shows "<function>()." followed by `format` filled with its arguments.
QAXOI_API void ReportError(const char* function, const char* format, ...) QAXOI_PRINTF_FORMAT(2, 3);

// Shows `format` filled with its arguments, with no function name.
QAXOI_API void ReportPlain(const char* format, ...) QAXOI_PRINTF_FORMAT(1, 2);

// Reports the failed check `condition` of `function` when `holds` is false,
// and answers `holds`. Costs a test and nothing else when the check holds.
inline bool CheckOrReport(bool holds, const char* function, const char* condition) {
  if (!holds) ReportFailedCheck(function, condition);
  return holds;
}

#endif  // QAX_MODULE_DIAGNOSTICS_H_
