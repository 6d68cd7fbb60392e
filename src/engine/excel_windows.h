// Which of Excel's windows the add-in works with. From version 15 on each
// workbook has a main window of its own, all in one process; the grid sits
// inside, and a cell being edited puts the focus in an edit window over it.
#pragma once

#include <string>

#include "platform/host.h"
#include "platform/screen_drawing.h"
#include "platform/window_queries.h"

namespace rowtint::engine {

inline constexpr char kMainWindowClass[] = "XLMAIN";
inline constexpr char kGridWindowClass[] = "EXCEL7";

// The window the user works in: the root of the focus window when that is
// one of this process's main windows; else the active workbook's
// (Application.Hwnd); else, from a host too old to tell, this process's first
// main window. Raises only what Application.Hwnd cannot hide.
platform::WindowHandle FindMainWindow(platform::WindowQueries& windows, platform::host::Application& app);

// Whether the user is editing a cell, in the cell (EXCEL6) or in the formula
// bar ("EXCEL<"): Excel then refuses its object model, and the focus window
// is an edit box rather than the grid.
bool EditingCell(platform::WindowQueries& windows);

// Asks `window` alone to repaint a screen rectangle (the part inside its
// client area); nothing happens without a window.
void InvalidateOnWindow(platform::WindowQueries& windows, platform::ScreenDrawing& drawing,
                        platform::WindowHandle window, const platform::Rect& screenRect);

// The screen position of a window's client origin, (0, 0) when it is gone.
platform::Point ClientOrigin(platform::WindowQueries& windows, platform::WindowHandle window);

}  // namespace rowtint::engine
