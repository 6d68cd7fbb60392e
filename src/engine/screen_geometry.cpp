#include "engine/screen_geometry.h"

#include <algorithm>

namespace rowtint::engine {

Rect Intersection(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

Color ScreenColor(platform::WindowsServices& os, Color color) {
  if (static_cast<std::uint32_t>(color) & 0x80000000u) return os.GetSysColor(color & 0xFF);
  return color;
}

void InvalidateScreenRect(platform::WindowsServices& os, const Rect& rect) {
  os.RedrawWindow(0, &rect, kInvalidateUnder);
}

void ReadCaretOnScreen(platform::WindowsServices& os) {
  auto& caret = Shared().CaretPoint;
  os.GetCaretPos(caret);
  os.ClientToScreen(os.GetFocus(), caret);
}

double PointsToPixels(platform::WindowsServices& os, double points) {
  // Multiplied before dividing: at 96 dots per inch this is exactly points * 4 / 3.
  return points * os.ScreenDpi() / kPointsPerInch;
}

double RowHeightPixels(platform::WindowsServices& os, platform::host::Application& app, double zoom) {
  return (PointsToPixels(os, app.ActiveCell()->Height()) - 1) * zoom;
}

}  // namespace rowtint::engine
