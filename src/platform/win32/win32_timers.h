// Timers of the windowing system whose ticks reach the core's callbacks.
// Windows calls one trampoline; it finds the callback by owner window and
// timer identifier (the identifier Windows handed out, for a timer without
// an owner window). Each running timer keeps the library loaded.
#pragma once

#include <windows.h>

#include "platform/timers.h"

namespace rowtint::win32 {

// SetTimer with `callback` behind the trampoline. A start with the same
// owner and identifier replaces the running timer. Gives SetTimer's result,
// 0 when the timer did not start.
UINT_PTR StartTimer(HWND owner, UINT_PTR id, UINT elapseMs, platform::TimerCallback& callback) noexcept;

// KillTimer; the callback is forgotten whether or not Windows still had the timer.
bool StopTimer(HWND owner, UINT_PTR id) noexcept;

// A message-only window of the add-in's own, to own timers that must
// outlive any of the host's windows; null when none could be made. Its
// class is registered while such a window exists.
HWND CreateTimerWindow() noexcept;
void DestroyTimerWindow(HWND window) noexcept;

}  // namespace rowtint::win32
