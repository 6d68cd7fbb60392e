#include "platform/win32/win32_forms_host_modal.h"

#include "platform/win32/boundaries.h"

namespace rowtint::win32 {
namespace {

struct DisableOthers {
  HWND keep;
  std::vector<HWND>* disabled;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM param) {
  auto* job = reinterpret_cast<DisableOthers*>(param);
  if (window != job->keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
    // Only a window it can give back is disabled.
    CallbackBoundary([&] {
      job->disabled->push_back(window);
      EnableWindow(window, FALSE);
    });
  }
  return TRUE;
}

}  // namespace

ModalShowing::ModalShowing(HWND form, const RECT& placement)
    : form_(form), previousActive_(GetActiveWindow()), previousFocus_(GetFocus()) {
  // Owned by the window the user worked in, the form stays above it.
  if (previousActive_ && previousActive_ != form_)
    SetWindowLongPtrW(form_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(previousActive_));
  DisableOthers job{form_, &disabled_};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&job));
  SetWindowPos(form_, HWND_TOP, placement.left, placement.top, placement.right - placement.left,
               placement.bottom - placement.top, SWP_SHOWWINDOW);
  SetForegroundWindow(form_);
  SetActiveWindow(form_);
}

void ModalShowing::End() noexcept {
  if (ended_) return;
  ended_ = true;
  // Enabled first, so that the hidden form's activation has somewhere to go.
  for (HWND window : disabled_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  if (IsWindow(form_)) {
    ShowWindow(form_, SW_HIDE);
    // Between showings the window is nobody's: an owner going away would take it along.
    SetWindowLongPtrW(form_, GWLP_HWNDPARENT, 0);
  }
  if (previousActive_ && IsWindow(previousActive_)) SetActiveWindow(previousActive_);
  // Disabling took the focus from the host's grid, and an activation that
  // never moved away does not bring it back: the grid gets it again, so that
  // the band is drawn in the right window and the user types where they did.
  if (previousFocus_ && IsWindow(previousFocus_) && IsWindowEnabled(previousFocus_) && GetFocus() != previousFocus_)
    SetFocus(previousFocus_);
}

}  // namespace rowtint::win32
