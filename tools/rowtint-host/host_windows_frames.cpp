// The stand-in's windows per workbook: which shows which workbook, and the
// active one's in front with the keyboard focus in its grid.
#include <algorithm>

#include "host_windows.h"
#include "platform/win32/gdi_handles.h"

namespace rowtint::host {

HostWindows::Frame* HostWindows::FrameOf(HWND window) {
  for (const auto& frame : frames_)
    if (frame->main == window || frame->grid == window) return frame.get();
  return nullptr;
}

HostWindows::Frame* HostWindows::FrameOfWorkbook(int workbook) {
  for (const auto& frame : frames_)
    if (frame->workbook == workbook) return frame.get();
  return nullptr;
}

const sim::SheetModel* HostWindows::SheetOf(const Frame& frame) const {
  if (!model_) return nullptr;
  const sim::Workbook* book = model_->WorkbookById(frame.workbook);
  return book ? &book->sheet : &model_->Sheet();
}

platform::WindowHandle HostWindows::MainWindowOf(int workbookId) {
  if (!model_ || !model_->WorkbookById(workbookId)) return 0;
  const Frame* frame = model_->WindowPerWorkbook() ? FrameOfWorkbook(workbookId) : frames_.front().get();
  return frame ? reinterpret_cast<platform::WindowHandle>(frame->main) : 0;
}

void HostWindows::WorkbooksChanged() {
  if (model_->WindowPerWorkbook()) {
    std::erase_if(frames_, [&](const std::unique_ptr<Frame>& frame) {
      if (model_->WorkbookById(frame->workbook)) return false;
      if (shown_ == frame.get()) shown_ = nullptr;
      CloseFrame(*frame);
      return true;
    });
    // A new workbook's window opens right of and below the one opened before it, which keeps its place.
    for (const auto& book : model_->Workbooks()) {
      if (FrameOfWorkbook(book->id)) continue;
      RECT before{}, grid{};
      GetWindowRect(frames_.back()->main, &before);
      GetWindowRect(frames_.back()->grid, &grid);
      constexpr int step = sim::kCascade;
      OpenFrame(book->id, {before.left + step, before.top + step},
                {grid.left + step, grid.top + step, grid.right + step, grid.bottom + step});
    }
  } else {
    frames_.front()->workbook = model_->Active().id;
  }
  ShowActive();
}

void HostWindows::ShowActive() {
  shown_ = FrameOfWorkbook(model_->Active().id);
  SetWindowPos(shown_->main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(shown_->main);
  SetActiveWindow(shown_->main);
  SetFocus(shown_->grid);
  RepaintAll();
}

bool HostWindows::PaintGridPicture(HWND grid, HDC dc) {
  const Frame* frame = FrameOf(grid);
  if (!frame || frame->grid != grid) return false;
  RECT client{};
  GetClientRect(grid, &client);
  PaintGrid(*frame, dc, client);
  return true;
}

// Through a DC of the stand-in's own, which Windows tells the grid's procedure nothing of.
void HostWindows::RedrawOwnPicture() {
  for (const auto& frame : frames_) {
    const win32::ScopedWindowDC dc(frame->grid, win32::ScopedWindowDC::Area::Client);
    if (dc.Get()) PaintGridPicture(frame->grid, dc.Get());
  }
}

// As a drag does: the window keeps its pixels, and it is told of its move.
void HostWindows::MoveMain(int dx, int dy) {
  RECT r{};
  GetWindowRect(Main(), &r);
  SetWindowPos(Main(), nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceCaret();
}

void HostWindows::ShowRibbon(const sim::RibbonModel& ribbon) {
  ribbon_ = &ribbon;
  RibbonLook look = LookOf(ribbon);
  if (look == ribbonLook_) return;
  ribbonLook_ = std::move(look);
  // Every workbook's window shows the group; the grids lying over the strip keep their pixels.
  const RECT strip{kRibbonStrip.left, kRibbonStrip.top, kRibbonStrip.right, kRibbonStrip.bottom};
  for (const auto& frame : frames_) {
    InvalidateRect(frame->main, &strip, FALSE);
    UpdateWindow(frame->main);
  }
}

}  // namespace rowtint::host
