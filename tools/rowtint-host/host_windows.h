// The stand-in's windows: a top-level "XLMAIN" over the whole screen and the
// worksheet grid inside it, which holds the keyboard focus and the system
// caret at the active cell's top-left corner, and paints exactly the
// simulator's pixels for the sheet.
#pragma once

#include <windows.h>

#include "platform/sim/sheet_model.h"

namespace rowtint::host {

class HostWindows {
 public:
  HostWindows(const sim::SheetModel& sheet, platform::Rect gridRect);
  ~HostWindows();
  HostWindows(const HostWindows&) = delete;
  HostWindows& operator=(const HostWindows&) = delete;

  HWND Main() const { return main_; }
  HWND Grid() const { return grid_; }
  // The grid's client area, which is its whole window.
  platform::Rect GridClient() const;
  platform::Rect GridOnScreen() const;

  // What the host repaints at once after the user's action.
  void RepaintCell(sim::CellRef cell);
  void RepaintAll();
  // The window's pixels move by (dx, dy) with the sheet, and what comes into view is painted.
  void ScrollBy(int dx, int dy);
  void MoveGrid(platform::Rect rect);
  void PlaceCaret();

 private:
  static LRESULT CALLBACK MainProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK GridProc(HWND, UINT, WPARAM, LPARAM);
  void PaintGrid(HDC dc, const RECT& area);
  void PaintMain(HDC dc, const RECT& area);

  const sim::SheetModel& sheet_;
  HWND main_ = nullptr;
  HWND grid_ = nullptr;
};

// Paints part of a frame buffer into a device context, the buffer's (0, 0) at the context's (x, y).
void BlitFrame(HDC dc, const sim::FrameBuffer& frame, const RECT& area, int x, int y);

}  // namespace rowtint::host
