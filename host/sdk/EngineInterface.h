// The host engine's global interface, as channel modules reach it.
#ifndef QAX_HOST_SDK_ENGINEINTERFACE_H_
#define QAX_HOST_SDK_ENGINEINTERFACE_H_

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "host/sdk/HighPolyExport.h"

// Shows debug messages to the user. The stand-in keeps the most recent
// kMaxKept texts in order, for tests, and forwards each text to a handler if
// one is set (a host prints them).
class HIGHPOLY_API DebugMessageDisplay {
 public:
  enum : std::size_t { kMaxKept = 4096 };

  // Shows one zero-terminated text; null shows the empty text.
  void operator()(const char* text);

  // The texts shown since the last Clear(), oldest first (at most kMaxKept;
  // older ones are dropped).
  const std::vector<std::string>& Shown() const { return shown_; }
  void Clear() { shown_.clear(); }

  // Calls `handler` with every text shown from now on; an empty function
  // removes the handler.
  void SetHandler(std::function<void(const char*)> handler);

 private:
  std::vector<std::string> shown_;
  std::function<void(const char*)> handler_;
};

class HIGHPOLY_API EngineInterface {
 public:
  DebugMessageDisplay ShowDebugMessage;
};

// The engine of this process. Never null in the stand-in.
extern HIGHPOLY_API EngineInterface* globalEngine;

#endif  // QAX_HOST_SDK_ENGINEINTERFACE_H_
