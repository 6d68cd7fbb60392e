// The stand-in's windows: a top-level "XLMAIN" over the whole screen, the
// desk "XLDESK" in it and the worksheet grid "EXCEL7" in that, which holds
// the keyboard focus and the system caret at the active cell's top-left
// corner, and paints exactly the simulator's pixels for the sheet. From
// version 15 on each workbook has these windows of its own, each new
// workbook's main window opening sim::kCascade pixels right of and below
// the one opened before it; before, one set shows the active workbook.
// They are the view of the host's model.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host_ribbon_paint.h"
#include "platform/sim/excel_model.h"
#include "platform/sim/ribbon_model.h"

namespace rowtint::host {

class HostWindows : public sim::ExcelView {
 public:
  // Failures of event handlers go to `errors`; nothing is painted until Show.
  HostWindows(platform::Rect gridRect, std::vector<std::string>& errors);
  ~HostWindows() override;
  HostWindows(const HostWindows&) = delete;
  HostWindows& operator=(const HostWindows&) = delete;

  // The active workbook's windows.
  HWND Main() const { return shown_->main; }
  HWND Grid() const { return shown_->grid; }
  // The window that takes the keyboard focus when the host is active: the
  // in-cell editor while a cell is edited, else the grid.
  HWND FocusTarget() const { return editor_ ? editor_ : Grid(); }
  platform::Rect GridOnScreen() const;

  // The windows show this model's workbooks from now on.
  void Show(sim::ExcelModel& model);
  // The add-in's ribbon group above the grid, drawn again when what it shows has changed.
  void ShowRibbon(const sim::RibbonModel& ribbon);
  // A grid window's own picture, its whole client area, painted into `dc`; false for any other window.
  bool PaintGridPicture(HWND grid, HDC dc);
  // Excel redraws every grid from its own picture, with no message to the grid's procedure.
  void RedrawOwnPicture();
  // The user drags the active workbook's main window by (dx, dy), its grid with it.
  void MoveMain(int dx, int dy);

  // What the host repaints at once after the user's action.
  platform::Rect GridClient() override;
  platform::Point GridOrigin() override {
    POINT origin{0, 0};
    ClientToScreen(Grid(), &origin);
    return {origin.x, origin.y};
  }
  platform::WindowHandle ActiveMainWindow() override { return reinterpret_cast<platform::WindowHandle>(Main()); }
  platform::WindowHandle MainWindowOf(int workbookId) override;
  void WorkbooksChanged() override;
  void RepaintCell(sim::CellRef cell) override;
  void WheelOverGrid(int rows) override;
  void RepaintGridArea(const platform::Rect& area) override;
  void RepaintAll() override;
  void ScrollGrid(int dx, int dy, platform::Point frozen) override;
  void MoveGrid(const platform::Rect& rect, GridMove how) override;
  void EventFailed(const std::string& what) override { errors_.push_back(what); }
  void CaretChanged(bool atCell) override;
  void ShowEditor(sim::EditPlace place, bool shown) override;
  void SetMonitorDpi(int dpi) override;
  void AddInCalled() override;

 private:
  // One workbook's windows; the workbook is the active one's while one set shows them all.
  struct Frame {
    int workbook;
    HWND main = nullptr;
    HWND desk = nullptr;
    HWND grid = nullptr;
  };

  static LRESULT CALLBACK MainProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK GridProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK EditorProc(HWND, UINT, WPARAM, LPARAM);
  // The main window as large as the screen, its top-left corner at `origin`; the grid at `gridRect` on the screen.
  void OpenFrame(int workbook, POINT origin, const platform::Rect& gridRect);
  void CloseFrame(Frame& frame);
  Frame* FrameOf(HWND window);
  Frame* FrameOfWorkbook(int workbook);
  const sim::SheetModel* SheetOf(const Frame& frame) const;
  // The active workbook's windows in front, with the focus, repainted.
  void ShowActive();
  void PaintGrid(const Frame& frame, HDC dc, const RECT& area);
  void PaintMain(const Frame& frame, HDC dc, const RECT& area);
  void PlaceCaret();

  sim::ExcelModel* model_ = nullptr;
  const sim::RibbonModel* ribbon_ = nullptr;
  RibbonLook ribbonLook_;
  std::vector<std::string>& errors_;
  std::vector<std::unique_ptr<Frame>> frames_;
  Frame* shown_ = nullptr;
  bool caretAtCell_ = true;
  HWND editor_ = nullptr;
};

// Paints part of a frame buffer into a device context, the buffer's (0, 0) at the context's (x, y).
void BlitFrame(HDC dc, const sim::FrameBuffer& frame, const RECT& area, int x, int y);

}  // namespace rowtint::host
