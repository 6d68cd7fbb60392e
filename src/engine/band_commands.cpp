// The band's switch and colour presets, and the eraser used after a resize.
#include "engine/band_geometry.h"
#include "engine/excel_windows.h"
#include "engine/failure_styles.h"
#include "engine/highlighter.h"
#include "engine/locate_cell.h"
#include "engine/numeric.h"

namespace rowtint::engine {

void Highlighter::ApplyColor(Color color) {
  state_.HighlightColor = color;
  state_.HighlightOff = platform::kFalse;
  PaintRowBand();
}

void Highlighter::ToggleHighlight() {
  if (IsTrue(state_.HighlightOff)) {
    StopRepaintTimer();
    state_.HighlightOff = platform::kFalse;
  } else {
    state_.HighlightOff = platform::kTrue;
  }
  PaintRowBand();
}

void Highlighter::ApplyWoberColor() { ApplyColor(kWoberColor); }
void Highlighter::ApplyWarmColor() { ApplyColor(kWarmColor); }

void Highlighter::EraseResizedBand() {
  auto& s = state_;
  auto& windows = os_.windows;
  double zoom = 0;
  SkipOnFailure([&] { zoom = ToInt32(App().ActiveWindow()->Zoom()) / 100.0; });
  const WindowHandle grid = windows.GetFocus();
  SkipOnFailure([&] { windows.GetWindowRect(grid, s.GridRect); });
  SkipOnFailure([&] {
    RunHostValues host(App());
    s.CaretPoint = LocateActiveCell(windows, grid, host, windows.WindowDpi(grid), zoom, false).corner;
  });
  SkipOnFailure([&] {
    s.ResizeEraseRect = RowStrip(s.GridRect, s.CaretPoint.y,
                                 RowHeightPixels(App().ActiveCell()->Height(), windows.WindowDpi(grid), zoom));
  });
  SkipOnFailure([&] { InvalidateOnWindow(windows, os_.drawing, grid, s.ResizeEraseRect); });
  // Wherever the band was left, a repaint must not bring it back at a place the resize moved.
  onScreen_ = BandOnScreen{};
}

}  // namespace rowtint::engine
