#include "engine/screen_geometry.h"

namespace rowtint::engine {

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
