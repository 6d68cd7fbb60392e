// What a modal showing changes around the form's window, and gives back
// when it ends: the thread's other windows are disabled, the form's window
// is owned by the window that was active, and that window is active again
// afterwards, with the keyboard focus where it was.
#pragma once

#include <windows.h>

#include <vector>

namespace rowtint::win32 {

class ModalShowing {
 public:
  // Disables the thread's other enabled, visible top-level windows; shows
  // `form` at `placement` and activates it.
  ModalShowing(HWND form, const RECT& placement);
  ~ModalShowing() { End(); }
  ModalShowing(const ModalShowing&) = delete;
  ModalShowing& operator=(const ModalShowing&) = delete;

  // Enables exactly the windows it disabled, hides the form's window and
  // gives the activation and the focus back. Runs once; later calls do nothing.
  void End() noexcept;
  bool Ended() const noexcept { return ended_; }

 private:
  HWND form_;
  HWND previousActive_;
  HWND previousFocus_;
  std::vector<HWND> disabled_;
  bool ended_ = false;
};

// Dispatches the thread's messages until `done` holds. A WM_QUIT ends the
// loop and is posted again for the loop outside.
template <class Done>
void RunModalLoop(Done&& done) {
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got == -1) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace rowtint::win32
