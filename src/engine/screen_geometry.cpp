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

double RowHeightPixels(platform::host::Application& app, double zoom) {
  // Points become pixels by 4/3 (96 dots per inch), in this order of operations.
  return (app.ActiveCell()->Height() * 4 / 3 - 1) * zoom;
}

}  // namespace rowtint::engine
