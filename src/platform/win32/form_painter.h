// Draws a form's controls as its layout describes them: later controls
// first, so that earlier ones lie above.
#pragma once

#include <windows.h>

#include "platform/form_surface.h"
#include "platform/win32/form_painter_fonts.h"
#include "platform/win32/form_painter_layout.h"

namespace rowtint::win32 {

// A colour value, or the current colour of the system colour it refers to.
COLORREF ResolveColor(platform::Color color);

class FormPainter {
 public:
  explicit FormPainter(const FormScale& scale) : scale_(scale), fonts_(scale.dpiY) {}

  // Draws the whole client area (`client` pixels from the DC's origin).
  void Paint(HDC dc, const platform::FormWindow& form, SIZE client);

 private:
  void PaintControl(HDC dc, const platform::ControlState& control);
  void PaintOptionButton(HDC dc, const platform::ControlState& control, const RECT& r);
  void PaintCaption(HDC dc, const platform::ControlState& control, RECT r, UINT format);

  FormScale scale_;
  FontCache fonts_;
};

}  // namespace rowtint::win32
