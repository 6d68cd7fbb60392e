// Timers of the windowing system. A tick reaches the object that started the
// timer, so that no callback needs a global to find its way back.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace rowtint::platform {

class TimerCallback {
 public:
  virtual void OnTimer() = 0;

 protected:
  ~TimerCallback() = default;
};

class Timers {
 public:
  virtual ~Timers() = default;
  // A new start with the same owner and identifier replaces the running
  // timer. Without an owner window the system hands out the identifier,
  // which the result gives (0: the timer did not start).
  virtual std::uintptr_t SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                                  TimerCallback& callback) = 0;
  virtual bool KillTimer(WindowHandle hwnd, std::uintptr_t id) = 0;
  // A window of the caller's own that is never shown, to own timers that no
  // host window's closing may end; 0 when none could be made.
  virtual WindowHandle CreateMessageWindow() = 0;
  virtual void DestroyMessageWindow(WindowHandle hwnd) = 0;
};

}  // namespace rowtint::platform
