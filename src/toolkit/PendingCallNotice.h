// The busy notice for calls into components that have not returned.
//
// The host puts a PendingCallScope around each of its calls into the core and the screens. The
// program has one thread and a pending call blocks it, so the notice is watched by a thread of its
// own, started for each outermost scope once a timeout is set: when the call has been pending
// longer than the timeout and the user then gives input (a key or mouse event, GetLastInputInfo)
// while a window of this process is the foreground window, the watcher shows a modal message box
// with the text and caption, at most once per pending call. The box has no owner window (owning
// it by the blocked window would make the watcher wait on the blocked thread), stays on top, and
// is closed by itself when the call returns. With no timeout set (0) nothing is watched.
#pragma once

#include <cstdint>
#include <string_view>

namespace vx::toolkit {

class PendingCallNotice {
 public:
  // The host sets these once, in this order.
  static void SetTimeout(uint32_t milliseconds);
  static void SetText(std::u16string_view text);
  static void SetCaption(std::u16string_view caption);
};

// Marks the program's thread as waiting for a component while it lives. Scopes may nest; the
// outermost one is the pending call.
class PendingCallScope {
 public:
  PendingCallScope();
  ~PendingCallScope();
  PendingCallScope(const PendingCallScope&) = delete;
  PendingCallScope& operator=(const PendingCallScope&) = delete;
};

}  // namespace vx::toolkit
