// The simulated desktop's timers, which fire only when told to, and the
// message-only windows that may own them.
#include <algorithm>

#include "platform/sim/sim_desktop.h"

namespace rowtint::sim {

std::uintptr_t SimDesktop::SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                                    platform::TimerCallback& callback) {
  ++calls_;
  if (hwnd != 0 && !IsWindow(hwnd)) return 0;
  auto existing = std::find_if(timers_.begin(), timers_.end(), [&](const SimTimer& t) {
    return t.owner == hwnd && t.id == id && (hwnd != 0 || id != 0);
  });
  if (existing != timers_.end()) {
    existing->intervalMs = elapseMs;
    existing->callback = &callback;
    return hwnd ? (id ? id : 1) : id;
  }
  // Without an owner window the identifier is ignored and a new one handed out.
  const std::uintptr_t actual = hwnd ? id : nextTimerId_++;
  timers_.push_back({hwnd, actual, elapseMs, &callback});
  return hwnd ? (id ? id : 1) : actual;
}

bool SimDesktop::KillTimer(WindowHandle hwnd, std::uintptr_t id) {
  ++calls_;
  return std::erase_if(timers_, [&](const SimTimer& t) { return t.owner == hwnd && t.id == id; }) > 0;
}

WindowHandle SimDesktop::CreateMessageWindow() {
  ++calls_;
  if (messageWindowsRefused > 0) {
    --messageWindowsRefused;
    return 0;
  }
  return CreateWindow("RowtintTimers", kMessageParent, {}, nullptr);
}

void SimDesktop::DestroyMessageWindow(WindowHandle hwnd) {
  ++calls_;
  const Window* w = Find(hwnd);
  if (w && w->parent == kMessageParent) DestroyWindow(hwnd);
}

}  // namespace rowtint::sim
