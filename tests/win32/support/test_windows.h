// Message pumping and plain top-level windows for the Windows-side tests.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/types.h"

namespace rowtint::win32::testing {

// Dispatches this thread's messages until done() holds or the time is up;
// gives done()'s last answer.
template <class Done>
bool PumpUntil(Done&& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// A window of a class registered on first use, destroyed with the object;
// a child window when it has a parent (its rectangle then in the parent's client area).
class TestWindow {
 public:
  TestWindow(const wchar_t* className, RECT rect, DWORD style, WNDPROC proc = DefWindowProcW, HWND parent = nullptr) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = className;
    RegisterClassW(&wc);  // a second registration of the same class fails harmlessly
    hwnd_ = CreateWindowExW(0, className, L"", style, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, parent, nullptr, wc.hInstance, nullptr);
  }
  ~TestWindow() { Destroy(); }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Get() const { return hwnd_; }
  void Destroy() {
    if (hwnd_) DestroyWindow(std::exchange(hwnd_, nullptr));
  }

 private:
  HWND hwnd_ = nullptr;
};

inline platform::WindowHandle AsHandle(HWND hwnd) { return reinterpret_cast<platform::WindowHandle>(hwnd); }

}  // namespace rowtint::win32::testing
