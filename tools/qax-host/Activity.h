// What qax-host is doing, for the message that running out of memory gives.
#ifndef QAX_TOOLS_QAX_HOST_ACTIVITY_H_
#define QAX_TOOLS_QAX_HOST_ACTIVITY_H_

#include <string>

namespace qaxoi::qax_host {

// A scoped label of the work under way ("loading the vocabulary 'x.ttl'"):
// Current() names the innermost live one. main catches std::bad_alloc around
// the whole command and prints "out of memory while <Current()>", so a label
// must read after "while". Labels nest like the scopes that make them.
//
// An Activity destroyed while an exception unwinds the stack leaves its label
// in place, so that the handler in main still names the work that failed
// rather than the outermost one. qax-host catches no exception below main,
// so no stale label outlives a handled one. Single-threaded, like qax-host.
class Activity {
 public:
  // Makes `what` the current label. Moves only: it cannot throw, so a
  // label's own allocation fails before the scope begins, not inside it.
  explicit Activity(std::string what) noexcept;
  // Restores the label that was current before, unless an exception is
  // unwinding the stack.
  ~Activity();
  Activity(const Activity&) = delete;
  Activity& operator=(const Activity&) = delete;

  // The innermost label; "starting" before any Activity exists.
  static const std::string& Current() noexcept;

 private:
  std::string previous_;
  int uncaught_;  // exceptions in flight when the scope began
};

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_ACTIVITY_H_
