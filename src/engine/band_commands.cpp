// The band's switch and colour presets, the options form's OK, and the
// eraser used after a resize.
#include "engine/band_geometry.h"
#include "engine/excel_windows.h"
#include "engine/failure_styles.h"
#include "engine/highlighter.h"
#include "engine/locate_cell.h"
#include "engine/numeric.h"
#include "engine/scoped_gdi.h"

namespace rowtint::engine {

void Highlighter::ApplyColor(Color color) {
  choices_.color = color;
  choices_.off = false;
  PaintRowBand();
}

void Highlighter::ConfirmOptions(Color color, std::int32_t ropMode, Across across) {
  choices_.color = color;
  choices_.ropMode = ropMode;
  choices_.across = across;
  choices_.off = false;
  PaintRowBand();
}

void Highlighter::ChooseAcross(Across across) {
  choices_.across = across;
  PaintRowBand();
}

void Highlighter::ToggleHighlight() {
  if (choices_.off) {
    StopRepaintTimer();
    choices_.off = false;
  } else {
    choices_.off = true;
  }
  PaintRowBand();
}

void Highlighter::ApplyWoberColor() { ApplyColor(kWoberColor); }
void Highlighter::ApplyWarmColor() { ApplyColor(kWarmColor); }

void Highlighter::EraseResizedBand() {
  auto& windows = os_.windows;
  std::int32_t zoom = 0;
  SkipOnFailure([&] { zoom = ToInt32(App().ActiveWindow()->Zoom()); });
  const WindowHandle grid = windows.GetFocus();
  const int dpi = windows.WindowDpi(grid);
  SkipOnFailure([&] {
    const ScopedPerMonitorDpi own(windows);
    windows.GetWindowRect(grid, kept_.gridRect);
  });
  SkipOnFailure([&] {
    RunHostValues host(App());
    lastPaint_.caret = LocateActiveCell(windows, grid, host, dpi, zoom, false).corner;
  });
  SkipOnFailure([&] {
    lastPaint_.resizeErase =
        RowStrip(kept_.gridRect, lastPaint_.caret.y, RowHeightPixels(App().ActiveCell()->Height(), dpi, zoom / 100.0),
                 BandInsets::At(dpi));
  });
  SkipOnFailure([&] {
    const ScopedPerMonitorDpi own(windows);
    InvalidateOnWindow(windows, os_.drawing, grid, lastPaint_.resizeErase);
  });
  // Wherever the band was left, a repaint must not bring it back at a place the resize moved.
  kept_.band.standing = false;
}

}  // namespace rowtint::engine
