// What the stand-in puts between the loaded add-in and the system, beyond
// what it launches: the resolution of the grid's monitor, which Wine does not
// keep per monitor, and the thread's DPI context (dll_dpi.h), the add-in's
// calls that change which window is in front,
// its timer's messages, which tick only when a script says so, and when it
// last drew a rectangle (how it draws the band), for the figures.
#pragma once

#include <windows.h>

#include "host_clock.h"

namespace rowtint::host {

// Points the add-in's GetProcAddress, SetForegroundWindow, DispatchMessageW
// and Rectangle imports at the stand-in's own, its geometry imports
// (dll_dpi.h) and those of its surfaces (dll_surfaces.h); false when the
// module imports one of the first four or the surfaces' otherwise than by name.
bool WatchAddIn(HMODULE dll);
// From now on GetDpiForWindow, as the add-in finds it, answers `dpi` for the
// stand-in's windows; 0 gives the system's answer back.
void AnswerWindowDpi(UINT dpi);
// The resolution given last, or 0.
UINT AnsweredWindowDpi();
// The add-in's SetForegroundWindow calls that changed the window in front,
// other than to or from its own forms and dialogs, since the last time they were taken.
int TakeForegroundChanges();

// The add-in's Rectangle calls.
WatchedCalls TakeRectanglesDrawn();

}  // namespace rowtint::host
