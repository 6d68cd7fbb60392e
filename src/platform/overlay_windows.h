// Layered windows of the add-in's own, which the desktop's compositor blends
// over Excel's grid: a band that shows however Excel draws its grid (through
// GDI, Direct2D, a swap chain). The compositor applies no raster operation:
// the band's colour is blended in at an opacity.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace rowtint::platform {

class OverlayWindows {
 public:
  virtual ~OverlayWindows() = default;
  // A hidden overlay owned by `owner` (a workbook's main window, with which
  // it keeps its place in the z-order and hides when it is minimised):
  // layered, transparent to the mouse, never activated, without a taskbar
  // button, not topmost. 0 when none could be made.
  virtual WindowHandle CreateOverlay(WindowHandle owner) = 0;
  // Shows the overlay over `screenRect`, filled with `color` at `alpha` of
  // 255 (premultiplied), without activating it.
  virtual bool ShowOverlay(WindowHandle overlay, const Rect& screenRect, Color color, std::uint8_t alpha) = 0;
  virtual void HideOverlay(WindowHandle overlay) = 0;
  virtual void DestroyOverlay(WindowHandle overlay) = 0;
};

}  // namespace rowtint::platform
