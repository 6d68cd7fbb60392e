// One form's window. It is created at the form's first showing, hidden
// between showings and destroyed with its frame; its window procedure
// reaches the form only through a weak reference, so a form that is gone is
// never touched, and after calling into the form it touches nothing of the
// frame (the call may have unloaded the form and destroyed the frame).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/form_surface.h"
#include "platform/win32/form_painter.h"
#include "platform/win32/module_lifetime.h"
#include "platform/win32/win32_forms_host_modal.h"

namespace rowtint::win32 {

inline constexpr wchar_t kFormWindowClass[] = L"RowtintFormWindow";

// A use of the window class: registered for the module by the first use,
// unregistered once no window of it is left.
class FormWindowClassUse {
 public:
  FormWindowClassUse();  // raises when the class cannot be registered
  ~FormWindowClassUse();
  FormWindowClassUse(const FormWindowClassUse&) = delete;
  FormWindowClassUse& operator=(const FormWindowClassUse&) = delete;

  // Unregisters a class that could not go while its last window was still being destroyed.
  static void Tidy() noexcept;
};

class FormFrame {
 public:
  // A hidden window for the form; raises when it cannot be created.
  FormFrame(const std::shared_ptr<platform::FormWindow>& form, const FormScale& scale);
  ~FormFrame();
  FormFrame(const FormFrame&) = delete;
  FormFrame& operator=(const FormFrame&) = delete;

  HWND Window() const noexcept { return window_; }
  bool Shows(const platform::FormWindow& form) const noexcept { return form_.lock().get() == &form; }
  // The form is gone (released without an unload) or its window was destroyed from outside.
  bool Orphaned() const noexcept { return form_.expired() || !window_; }

  const FormScale& Scale() const noexcept { return scale_; }
  // Window rectangle for a showing: the form's client area at the scale,
  // centred on the work area of the monitor `anchor` lies on.
  RECT Placement(const platform::FormWindow& form, HWND anchor) const;
  // `caller` is the DPI context the form was shown from, in which its handlers run.
  void BeginModal(ModalShowing& showing, void* caller) noexcept {
    modal_ = &showing;
    caller_ = caller;
  }
  bool InModal() const noexcept { return modal_ != nullptr; }
  void EndModal() noexcept;
  // Ends the modal showing, if one runs, or just hides the window.
  void Hide() noexcept;
  void Repaint() noexcept;

  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Paint();
  std::string ControlNameAt(POINT client) const;
  bool InClientArea(POINT client) const;
  LRESULT OnMouseMove(POINT client);
  LRESULT OnButtonUp(POINT client);
  bool HandCursorAtPointer() const;
  void WindowGone() noexcept;

  FormWindowClassUse classUse_;
  LifetimeHold hold_{Lifetime::FormWindow};
  std::weak_ptr<platform::FormWindow> form_;
  FormScale scale_;
  FormPainter painter_;
  HWND window_ = nullptr;
  ModalShowing* modal_ = nullptr;
  void* caller_ = nullptr;
  bool pressing_ = false;
  std::string pressed_;  // the control the button went down over
};

}  // namespace rowtint::win32
