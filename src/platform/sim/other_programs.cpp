// What lies on the simulated desktop besides the host: the in-cell editor,
// which is the host's, and the windows of other programs the user brings to
// the front or that cover the grid without ever taking the focus.
#include "platform/sim/sim_host.h"

namespace rowtint::sim {

void SimHost::ShowEditor(EditPlace where, bool shown) {
  if (shown == (editor_ != 0)) return;
  if (shown && where == EditPlace::FormulaBar) {
    // The formula bar's window takes the keyboard; nothing of it is drawn.
    const Rect grid = GridRect();
    editor_ = desktop_.CreateWindow("EXCEL<", MainWindow(), {grid.left, grid.top, grid.right, grid.top}, nullptr);
    desktop_.SetFocusWindow(editor_);
    return;
  }
  if (shown) {
    const Rect grid = GridRect();
    const Rect cell = Sheet().ActiveCellRect();
    const Rect place{grid.left + cell.left, grid.top + cell.top, grid.left + cell.right, grid.top + cell.bottom};
    std::weak_ptr<SimHost> weak = weak_from_this();
    editor_ = desktop_.CreateWindow("EXCEL6", GridWindow(), place, [weak, place](FrameBuffer& fb, const Rect& clip) {
      if (auto self = weak.lock()) self->Sheet().RenderEditor(fb, {place.left, place.top}, clip);
    });
    desktop_.SetFocusWindow(editor_);
    desktop_.PaintNow(Intersect(place, grid));
    return;
  }
  const Rect place = desktop_.WindowRect(editor_);
  desktop_.DestroyWindow(editor_);
  editor_ = 0;
  desktop_.SetFocusWindow(GridWindow());
  if (!place.Empty()) desktop_.PaintNow(place);
}

void SimHost::SetMonitorDpi(int dpi) { desktop_.monitorDpi = dpi; }

void SimHost::Away(const platform::Rect& rect, Pixel fill) {
  if (away_) return;
  away_ = desktop_.CreateWindow(
      "RowtintOther", 0, rect, [fill, rect](FrameBuffer& fb, const Rect& clip) { fb.Fill(rect, clip, fill); },
      SimDesktop::Program::Other);
  // The cover, topmost, stays above a window that comes to the front.
  if (cover_) desktop_.BringToTop(cover_);
  desktop_.SetForegroundHandle(away_);
  desktop_.SetActiveWindowHandle(0);
  desktop_.SetFocusWindow(0);
  desktop_.PaintNow(rect);
}

void SimHost::Back() {
  if (!away_) return;
  const Rect place = desktop_.WindowRect(away_);
  desktop_.DestroyWindow(away_);
  away_ = 0;
  desktop_.SetForegroundHandle(MainWindow());
  desktop_.SetActiveWindowHandle(MainWindow());
  desktop_.SetFocusWindow(editor_ ? editor_ : GridWindow());
  desktop_.PaintNow(place);
}

void SimHost::Cover(const platform::Rect& rect, Pixel fill) {
  if (cover_) return;
  cover_ = desktop_.CreateWindow(
      "RowtintOther", 0, rect, [fill, rect](FrameBuffer& fb, const Rect& clip) { fb.Fill(rect, clip, fill); },
      SimDesktop::Program::Other);
  desktop_.PaintNow(rect);
}

void SimHost::Uncover() {
  if (!cover_) return;
  const Rect place = desktop_.WindowRect(cover_);
  desktop_.DestroyWindow(cover_);
  cover_ = 0;
  desktop_.PaintNow(place);
}

}  // namespace rowtint::sim
