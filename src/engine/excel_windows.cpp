#include "engine/excel_windows.h"

#include "engine/failure_styles.h"

namespace rowtint::engine {

platform::WindowHandle FindMainWindow(platform::WindowQueries& windows, platform::host::Application& app) {
  const platform::WindowHandle focus = windows.GetFocus();
  const platform::WindowHandle root = focus ? windows.GetRootWindow(focus) : 0;
  if (root && windows.IsProcessWindow(root) && windows.WindowClassName(root) == kMainWindowClass) return root;
  // The focus is in a form of the add-in's, in a dialog, or in no window of this process.
  const platform::WindowHandle active = OrFallback([&] { return app.Hwnd(); }, platform::WindowHandle{0});
  return active ? active : windows.FindProcessWindow(kMainWindowClass);
}

bool EditingCell(platform::WindowQueries& windows) {
  const platform::WindowHandle focus = windows.GetFocus();
  if (!focus) return false;
  const std::string type = windows.WindowClassName(focus);
  return type == "EXCEL6" || type == "EXCEL<";
}

platform::Point ClientOrigin(platform::WindowQueries& windows, platform::WindowHandle window) {
  platform::Point origin{0, 0};
  if (!windows.ClientToScreen(window, origin)) return {0, 0};
  return origin;
}

void InvalidateOnWindow(platform::WindowQueries& windows, platform::ScreenDrawing& drawing,
                        platform::WindowHandle window, const platform::Rect& screenRect) {
  if (!window) return;
  const platform::Point origin = ClientOrigin(windows, window);
  const platform::Rect client{screenRect.left - origin.x, screenRect.top - origin.y, screenRect.right - origin.x,
                              screenRect.bottom - origin.y};
  drawing.RedrawWindow(window, &client, platform::kRdwInvalidate | platform::kRdwAllChildren);
}

}  // namespace rowtint::engine
