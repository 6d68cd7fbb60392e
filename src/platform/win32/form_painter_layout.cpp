#include "platform/win32/form_painter_layout.h"

#include "platform/win32/gdi_handles.h"
#include "platform/win32/system_library.h"

namespace rowtint::win32 {

FormScale FormScale::OfScreen() {
  ScopedWindowDC screen(nullptr, ScopedWindowDC::Area::Client);
  FormScale scale;
  if (screen.Get()) {
    scale.dpiX = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    scale.dpiY = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  }
  return scale;
}

FormScale FormScale::OfWindow(HWND window) {
  const UINT dpi = DpiForWindow(window);
  if (dpi == 0) return OfScreen();
  return FormScale{static_cast<int>(dpi), static_cast<int>(dpi)};
}

SIZE ClientPixels(const FormScale& scale, const platform::FormWindow& form) {
  return {scale.X(form.ClientWidthTwips()), scale.Y(form.ClientHeightTwips())};
}

RECT ControlPixels(const FormScale& scale, const platform::ControlState& control) {
  const int left = scale.X(control.left), top = scale.Y(control.top);
  return {left, top, left + scale.X(control.width), top + scale.Y(control.height)};
}

const platform::ControlState* ControlAt(const FormScale& scale, const platform::FormWindow& form, POINT point) {
  for (const auto& control : form.Controls()) {
    if (!control.visible) continue;
    const RECT r = ControlPixels(scale, control);
    if (PtInRect(&r, point)) return &control;
  }
  return nullptr;
}

}  // namespace rowtint::win32
