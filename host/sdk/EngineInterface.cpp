#include "host/sdk/EngineInterface.h"

#include <utility>

void DebugMessageDisplay::operator()(const char* text) {
  const char* shown = text != nullptr ? text : "";
  if (shown_.size() >= kMaxKept) shown_.erase(shown_.begin());
  shown_.emplace_back(shown);
  if (handler_) handler_(shown);
}

void DebugMessageDisplay::SetHandler(std::function<void(const char*)> handler) {
  handler_ = std::move(handler);
}

namespace {

EngineInterface& TheEngine() {
  static EngineInterface engine;
  return engine;
}

}  // namespace

EngineInterface* globalEngine = &TheEngine();
