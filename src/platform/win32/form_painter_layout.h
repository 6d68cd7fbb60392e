// Where a form and its controls lie in pixels: twips at the monitor's dots
// per inch (1440 twips to the inch), each of left, top, width and height
// rounded to the nearest pixel.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/form_surface.h"

namespace rowtint::win32 {

struct FormScale {
  int dpiX = 96;
  int dpiY = 96;

  int X(std::int32_t twips) const { return MulDiv(twips, dpiX, 1440); }
  int Y(std::int32_t twips) const { return MulDiv(twips, dpiY, 1440); }
  // Sizes given for a 96 dots-per-inch screen (pictures, glyphs) at this one.
  int X96(int pixels) const { return MulDiv(pixels, dpiX, 96); }
  int Y96(int pixels) const { return MulDiv(pixels, dpiY, 96); }

  // The screen's own.
  static FormScale OfScreen();
  // The resolution of the monitor the window is on; the screen's where Windows cannot tell.
  static FormScale OfWindow(HWND window);

  bool operator==(const FormScale&) const = default;
};

SIZE ClientPixels(const FormScale& scale, const platform::FormWindow& form);
// Client coordinates; a control may reach past the client area's edges.
RECT ControlPixels(const FormScale& scale, const platform::ControlState& control);
// The top-most visible control under a point of the client area, or nullptr over the bare background.
const platform::ControlState* ControlAt(const FormScale& scale, const platform::FormWindow& form, POINT point);

}  // namespace rowtint::win32
