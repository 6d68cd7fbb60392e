#include "engine/band_commands.h"

#include "engine/failure_styles.h"
#include "engine/highlight_state.h"
#include "engine/platform_services.h"
#include "engine/numeric.h"
#include "engine/paint_row_band.h"
#include "engine/repaint_timer.h"
#include "engine/screen_geometry.h"

namespace rowtint::engine {
namespace {
void ApplyPreset(Color color) {
  Shared().HighlightColor = color;
  Shared().HighlightOff = platform::kFalse;
  PaintRowBand();
}
}  // namespace

void ToggleHighlight() {
  auto& s = Shared();
  if (IsTrue(s.HighlightOff)) {
    StopRepaintTimer();
    s.HighlightOff = platform::kFalse;
  } else {
    s.HighlightOff = platform::kTrue;
  }
  PaintRowBand();
}

void ApplyWoberColor() { ApplyPreset(kWoberColor); }
void ApplyWarmColor() { ApplyPreset(kWarmColor); }

void EraseResizedBand() {
  auto& s = Shared();
  double zoom = 0;
  SkipOnFailure([&] { zoom = ToInt32(HostApplication().ActiveWindow()->Zoom()) / 100.0; });
  SkipOnFailure([&] { Os().GetWindowRect(Os().GetFocus(), s.GridRect); });
  SkipOnFailure([&] { ReadCaretOnScreen(Os()); });
  SkipOnFailure([&] {
    s.ResizeEraseRect = Rect{s.GridRect.left + kBandLeftInset, s.CaretPoint.y, s.GridRect.right - kBandRightInset,
                             ToInt32(RowHeightPixels(Os(), HostApplication(), zoom) + s.CaretPoint.y)};
  });
  SkipOnFailure([&] { InvalidateScreenRect(Os(), s.ResizeEraseRect); });
}

}  // namespace rowtint::engine
