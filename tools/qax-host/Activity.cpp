#include "tools/qax-host/Activity.h"

#include <exception>
#include <utility>

namespace qaxoi::qax_host {

namespace {

// The current label. Short enough for the small-string buffer, so that
// reaching it never allocates.
std::string& CurrentLabel() noexcept {
  static std::string label = "starting";
  return label;
}

}  // namespace

Activity::Activity(std::string what) noexcept
    : previous_(std::move(CurrentLabel())), uncaught_(std::uncaught_exceptions()) {
  CurrentLabel() = std::move(what);
}

Activity::~Activity() {
  if (std::uncaught_exceptions() > uncaught_) return;
  CurrentLabel() = std::move(previous_);
}

const std::string& Activity::Current() noexcept { return CurrentLabel(); }

}  // namespace qaxoi::qax_host
