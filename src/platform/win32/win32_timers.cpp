#include "platform/win32/win32_timers.h"

#include <map>
#include <utility>

#include "platform/win32/boundaries.h"
#include "platform/win32/module_lifetime.h"
#include "platform/win32/win32_window_messages.h"

namespace rowtint::win32 {
namespace {

struct RunningTimer {
  explicit RunningTimer(platform::TimerCallback& c) : callback(&c) {}
  platform::TimerCallback* callback;
  // Windows may call the trampoline for as long as the timer runs.
  LifetimeHold hold{Lifetime::Timer};
};

using TimerKey = std::pair<HWND, UINT_PTR>;

// Touched only on the thread that owns the timers, the host's user-interface thread.
std::map<TimerKey, RunningTimer>& Running() {
  static std::map<TimerKey, RunningTimer> running;
  return running;
}

// A destroyed window takes its timers with it without a KillTimer.
void ForgetTimersOfDestroyedWindows() noexcept {
  std::erase_if(Running(), [](const auto& entry) {
    const HWND owner = entry.first.first;
    return owner && !IsWindow(owner);
  });
}

void CALLBACK Trampoline(HWND hwnd, UINT, UINT_PTR id, DWORD) noexcept {
  CallbackBoundary([&] {
    const auto it = Running().find({hwnd, id});
    if (it == Running().end()) return;
    // Copied first: the callback may stop or restart this very timer.
    platform::TimerCallback* const callback = it->second.callback;
    callback->OnTimer();
  });
}

constexpr wchar_t kTimerWindowClass[] = L"RowtintTimers";
int g_timerWindows = 0;

}  // namespace

HWND CreateTimerWindow() noexcept {
  WNDCLASSW type{};
  // A timer's procedure is called by DispatchMessage itself; the window's
  // own runs the callbacks posted to it.
  type.lpfnWndProc = &OwnWindowProc;
  type.hInstance = ModuleInstance();
  type.lpszClassName = kTimerWindowClass;
  if (g_timerWindows == 0) RegisterClassW(&type);
  const HWND window =
      CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(), nullptr);
  if (window)
    ++g_timerWindows;
  else if (g_timerWindows == 0)
    UnregisterClassW(kTimerWindowClass, ModuleInstance());
  return window;
}

void DestroyTimerWindow(HWND window) noexcept {
  if (!window || !DestroyWindow(window)) return;
  ForgetTimersOfDestroyedWindows();
  if (--g_timerWindows == 0) UnregisterClassW(kTimerWindowClass, ModuleInstance());
}

UINT_PTR StartTimer(HWND owner, UINT_PTR id, UINT elapseMs, platform::TimerCallback& callback) noexcept {
  ForgetTimersOfDestroyedWindows();
  const UINT_PTR granted = SetTimer(owner, id, elapseMs, &Trampoline);
  if (granted == 0) return 0;
  // Without an owner window the identifier Windows handed out names the timer.
  const TimerKey key{owner, owner ? id : granted};
  try {
    auto [it, added] = Running().try_emplace(key, callback);
    if (!added) it->second.callback = &callback;
  } catch (...) {
    // Without a record the ticks would find no callback: the timer must not run.
    KillTimer(owner, key.second);
    return 0;
  }
  return granted;
}

bool StopTimer(HWND owner, UINT_PTR id) noexcept {
  const bool stopped = KillTimer(owner, id) != FALSE;
  Running().erase({owner, id});
  ForgetTimersOfDestroyedWindows();
  return stopped;
}

}  // namespace rowtint::win32
