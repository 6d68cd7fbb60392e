// The stand-in's windows: a top-level "XLMAIN" over the whole screen and the
// worksheet grid inside it, which holds the keyboard focus and the system
// caret at the active cell's top-left corner, and paints exactly the
// simulator's pixels for the sheet. They are the view of the host's model.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/sim/excel_model.h"

namespace rowtint::host {

class HostWindows : public sim::ExcelView {
 public:
  // Failures of event handlers go to `errors`; nothing is painted until Show.
  HostWindows(platform::Rect gridRect, std::vector<std::string>& errors);
  ~HostWindows() override;
  HostWindows(const HostWindows&) = delete;
  HostWindows& operator=(const HostWindows&) = delete;

  HWND Main() const { return main_; }
  HWND Grid() const { return grid_; }
  // The window that takes the keyboard focus when the host is active: the
  // in-cell editor while a cell is edited, else the grid.
  HWND FocusTarget() const { return editor_ ? editor_ : grid_; }
  platform::Rect GridOnScreen() const;

  // The windows show this sheet from now on.
  void Show(const sim::SheetModel& sheet);

  // What the host repaints at once after the user's action.
  platform::Rect GridClient() override;
  platform::Point GridOrigin() override {
    POINT origin{0, 0};
    ClientToScreen(grid_, &origin);
    return {origin.x, origin.y};
  }
  platform::WindowHandle ActiveMainWindow() override { return reinterpret_cast<platform::WindowHandle>(main_); }
  void RepaintCell(sim::CellRef cell) override;
  void RepaintAll() override;
  void ScrollGrid(int dx, int dy) override;
  void MoveGrid(const platform::Rect& rect, GridMove how) override;
  void EventFailed(const std::string& what) override { errors_.push_back(what); }
  void CaretChanged(bool atCell) override;
  void ShowEditor(bool shown) override;
  void SetMonitorDpi(int dpi) override;

 private:
  static LRESULT CALLBACK MainProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK GridProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK EditorProc(HWND, UINT, WPARAM, LPARAM);
  void PaintGrid(HDC dc, const RECT& area);
  void PaintMain(HDC dc, const RECT& area);
  void PlaceCaret();

  const sim::SheetModel* sheet_ = nullptr;
  std::vector<std::string>& errors_;
  HWND main_ = nullptr;
  HWND grid_ = nullptr;
  bool caretAtCell_ = true;
  HWND editor_ = nullptr;
};

// Paints part of a frame buffer into a device context, the buffer's (0, 0) at the context's (x, y).
void BlitFrame(HDC dc, const sim::FrameBuffer& frame, const RECT& area, int x, int y);

}  // namespace rowtint::host
