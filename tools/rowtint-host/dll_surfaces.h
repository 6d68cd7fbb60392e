// What the stand-in puts between the add-in and the screen for the band's
// two surfaces. The tests' screen has no compositor, so Wine can neither
// blend a layered window nor show how a flip-model swap chain hides what is
// drawn through a DC; the stand-in does both, through the add-in's imports:
//
// - UpdateLayeredWindow: the bitmap the add-in hands over is kept, and the
//   window only placed, so that Wine, which maps a layered window once its
//   attributes are set, never draws it; the screen as the user would see it
//   (snapshots, and the add-in's own reads of the screen) blends the kept
//   bitmap over what lies beneath, as the compositor does.
// - GetDC and ReleaseDC: while Excel presents its grids through a swap
//   chain, a DC on a grid is a memory DC holding the grid's picture, which
//   never reaches the screen.
// - GetPixel: a read of the screen's DC reads the blended screen, and is
//   counted: the reads within one call into the add-in are one check.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "host_clock.h"
#include "platform/sim/framebuffer.h"

namespace rowtint::host {

// Points the add-in's GetDC, ReleaseDC, GetPixel and UpdateLayeredWindow
// imports at the stand-in's; false when it imports one of them otherwise than by name.
bool WatchAddInSurfaces(HMODULE dll);

// Paints a grid window's own picture, its whole client area, into a DC; false for a window that is no grid.
using GridPicture = std::function<bool(HWND grid, HDC into)>;
// From now on a DC the add-in takes on a grid is one that never reaches
// the screen, holding `picture`'s pixels (a flip-model swap chain), or the
// grid's own (nullptr).
void HideDrawingOnGrids(GridPicture picture);

// A call into the add-in begins: its reads of the screen until the next are one check.
void NoteCallIntoAddIn();
// The checks since the last reset, which each connection begins with.
std::int64_t ScreenChecks();
void ResetScreenChecks();

// The add-in's new bitmaps for layered windows and placements of them.
WatchedCalls TakeLayersUpdated();

// The add-in's overlay windows, top-level and of its own class, top of the z-order first.
struct OverlayWindow {
  HWND window;
  HWND owner;
  bool visible;
  RECT rect;
  DWORD exStyle;
};
std::vector<OverlayWindow> OverlayWindows();

// The screen as the compositor would show it: read back, the kept bitmaps
// of the visible layered windows blended over it in their z-order, each
// colour channel P + round((1 - alpha) * D) with P the premultiplied byte,
// except where a window above a layered one covers it.
sim::FrameBuffer CaptureShown();
COLORREF ShownPixel(int x, int y);

}  // namespace rowtint::host
