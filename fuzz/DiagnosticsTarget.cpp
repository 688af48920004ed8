#include <cstring>
#include <string>

#include "fuzz/FuzzTargets.h"
#include "host/sdk/EngineInterface.h"
#include "module/Diagnostics.h"

namespace qaxoi::fuzz {
namespace {

// The longest message the buffer shows: its size less the terminator, and
// one less again for a message whose detail is cut.
constexpr std::size_t kLongest = kDebugMessageBufferSize - 1;

std::string Doubled(const std::string& text, char c) {
  std::string out;
  for (const char at : text) {
    out.push_back(at);
    if (at == c) out.push_back(at);
  }
  return out;
}

// What a message with a function name shows: the prefix cut to the buffer,
// then as much of the detail as fits behind it.
std::string Expected(const std::string& function, const std::string& detail) {
  const std::string prefix = function + "().";
  if (prefix.size() >= kLongest) return prefix.substr(0, kLongest);
  return (prefix + detail).substr(0, kLongest - 1);
}

const std::string& LastShown() {
  static const std::string none;
  const std::vector<std::string>& shown = globalEngine->ShowDebugMessage.Shown();
  return shown.empty() ? none : shown.back();
}

bool BufferTerminated() {
  return ::strnlen(DebugMessageBuffer, kDebugMessageBufferSize) < kDebugMessageBufferSize;
}

}  // namespace

// Input: a repeat count for the function name, one for the detail, then the
// function name, the condition and the detail, separated by zero bytes. The
// counts let short inputs reach the buffer's bound.
std::string FuzzDiagnostics(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return "";
  const std::size_t functionRepeats = data[0] + 1u;
  const std::size_t detailRepeats = data[1] + 1u;
  std::string parts[3];
  std::size_t part = 0;
  for (std::size_t i = 2; i < size && part < 3; ++i) {
    if (data[i] == 0) {
      ++part;
    } else {
      parts[part].push_back(static_cast<char>(data[i]));
    }
  }
  std::string function;
  for (std::size_t i = 0; i < functionRepeats; ++i) function += parts[0];
  const std::string& condition = parts[1];
  std::string detail;
  for (std::size_t i = 0; i < detailRepeats; ++i) detail += parts[2];

  globalEngine->ShowDebugMessage.Clear();
  const std::string escaped = EscapeForFormat(condition.c_str());
  if (Doubled(Doubled(condition, '%'), '\\') != escaped) return "escaping is not doubling";

  ReportFailedCheck(function.c_str(), condition.c_str());
  if (LastShown() != Expected(function, Doubled(condition, '\\'))) return "ReportFailedCheck";
  ReportError(function.c_str(), "%s", detail.c_str());
  if (LastShown() != Expected(function, detail)) return "ReportError";
  ReportPlain("%s", detail.c_str());
  const std::string plain = detail.substr(0, kLongest - 1);
  if (LastShown() != plain || DebugMessageText != plain) return "ReportPlain";

  // The append step on its own, behind any position at all.
  const auto at = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(functionRepeats * 0x01000193u + detail.size()));
  AppendDebugMessage(DebugMessagePosition{at}, "%s", detail.c_str());
  if (!BufferTerminated()) return "AppendDebugMessage left the buffer unterminated";
  globalEngine->ShowDebugMessage.Clear();
  return "";
}

}  // namespace qaxoi::fuzz
