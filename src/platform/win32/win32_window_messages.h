// Watching another window's messages from inside its procedure (a
// subclass, comctl32's SetWindowSubclass), and posting to the add-in's own
// message window a message that calls back into the core when dispatched.
#pragma once

#include <windows.h>

#include "platform/window_messages.h"

namespace rowtint::win32 {

// The message the add-in posts to its own window; lParam is the callback.
inline constexpr UINT kPostedCallbackMessage = WM_APP + 0x52;

bool WatchWindow(HWND window, platform::GridListener& listener) noexcept;
bool StopWatchingWindow(HWND window) noexcept;
bool PostCallback(HWND own, platform::PostedCallback& callback) noexcept;

// The add-in's message window's procedure: runs posted callbacks.
LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept;

}  // namespace rowtint::win32
