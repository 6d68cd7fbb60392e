#include "engine/paint_row_band.h"

#include <optional>
#include <string>

#include "engine/address_text.h"
#include "engine/failure_styles.h"
#include "engine/highlight_state.h"
#include "engine/platform_services.h"
#include "engine/numeric.h"
#include "engine/scoped_gdi.h"
#include "engine/screen_geometry.h"
#include "platform/error.h"

namespace rowtint::engine {
namespace {
using platform::kFalse;

constexpr std::int16_t kLastVersionWithoutForeground = 9;

// Steps 1 to 26; a failure anywhere ends the run where it stands. The
// resources live in the caller so that they are given back on every path.
void PaintSteps(std::optional<ScopedWindowDC>& screen, std::optional<ScopedSolidBrush>& brush,
                std::optional<ScopedSavedDC>& saved) {
  auto& s = Shared();
  auto& os = Os();
  auto& app = HostApplication();

  // Set-up
  const double zoom = ToInt32(app.ActiveWindow()->Zoom()) / 100.0;
  const std::int16_t hostVersion = ToInt16(LeadingNumber(app.Version()));
  s.ExcelMainWnd = os.FindProcessWindow("XLMAIN");
  screen.emplace(os, os.GetDesktopWindow());
  s.ScreenDC = screen->Get();
  const WindowHandle savedActiveWindow = os.GetActiveWindow();
  if (hostVersion > kLastVersionWithoutForeground) os.SetForegroundWindow(s.ExcelMainWnd);
  os.GetWindowRect(os.GetFocus(), s.GridRect);
  s.PrevBandRect = s.LastBandRect;

  // Erase the previous band
  if (IsTrue(s.RedrawWholeGrid)) {
    InvalidateScreenRect(os, s.GridRect);
    s.RedrawWholeGrid = kFalse;
  } else if (s.PaintScrollRow != app.ActiveWindow()->ScrollRow()) {
    // The window scrolled: the old band moved with its row, which the caret
    // now marks, so the strip at the caret's row is what must go.
    ReadCaretOnScreen(os);
    const Rect strip{s.LastBandRect.left, s.CaretPoint.y, s.LastBandRect.right,
                     ToInt32(RowHeightPixels(os, app, zoom) + s.CaretPoint.y)};
    InvalidateScreenRect(os, strip);
  } else {
    InvalidateScreenRect(os, s.PrevBandRect);
  }

  // Decide whether to draw
  if (IsTrue(s.HighlightOff)) return;
  // With the focus in one of the add-in's own forms or in another program,
  // the focus window is no grid to draw in.
  if (!os.IsChild(s.ExcelMainWnd, os.GetFocus())) return;
  const AddressHalves visible = SplitRangeAddress(app.ActiveWindow()->VisibleRange()->Address());
  const std::string topRowText = RowTextOf(visible.topLeft);
  const std::string bottomRowText = RowTextOf(visible.bottomRight);
  const std::string active = app.ActiveWindow()->ActiveCell()->Address();
  const std::int32_t activeRow = app.GetRange(active)->Row();
  const std::int32_t topRow = app.GetRange(visible.topLeft)->Row();
  const std::int32_t bottomRow = app.GetRange(visible.bottomRight)->Row();
  const std::int32_t activeColumn = app.GetRange(active)->Column();
  const std::int32_t leftColumn = app.GetRange(visible.topLeft)->Column();
  const std::int32_t rightColumn = app.GetRange(visible.bottomRight)->Column();

  // The last row of the visible range is usually cut off by the window's edge.
  if (activeRow > bottomRow - 1 || topRow > activeRow) return;
  if (IsTrue(s.ColumnCheckArmed) && activeColumn > rightColumn) {
    s.ColumnCheckArmed = kFalse;
    return;
  }
  if (IsTrue(s.ColumnCheckArmed) && leftColumn > activeColumn) {
    s.ColumnCheckArmed = kFalse;
    return;
  }

  // Every operand is evaluated, as the host language's And does: a selection
  // that is not cells ends the run here even when a row test already failed.
  const bool aboveLastTwoRows = activeRow < TextToNumber(bottomRowText) - 1;
  const bool belowFirstRow = TextToNumber(topRowText) < activeRow;
  const auto selection = app.Selection()->AsRange();
  const bool oneRow = selection->Rows()->Count() == 1;
  const bool atMostTwoColumns = selection->Columns()->Count() <= 2;

  if (aboveLastTwoRows && belowFirstRow && oneRow && atMostTwoColumns) {
    // Draw
    os.UpdateWindow(os.GetActiveWindow());
    ReadCaretOnScreen(os);
    if (s.HighlightColor == 0) s.HighlightColor = kWoberColor;
    brush.emplace(os, ScreenColor(os, s.HighlightColor));
    saved.emplace(os, s.ScreenDC);
    os.SelectObject(s.ScreenDC, brush->Get());

    const double rowHeight = RowHeightPixels(os, app, zoom);
    if (!(s.CaretPoint.y < (s.GridRect.bottom - kBandBottomMargin) + rowHeight)) return;

    s.LeftBandRect.left = s.GridRect.left + kBandLeftInset;
    s.LeftBandRect.top = s.CaretPoint.y;
    s.LeftBandRect.bottom = ToInt32(rowHeight + s.CaretPoint.y);
    s.LeftBandRect.right =
        s.CaretPoint.x < s.GridRect.right ? s.CaretPoint.x : s.GridRect.right - kBandRightInset;
    s.RightBandRect.left =
        ToInt32(PointsToPixels(os, app.ActiveCell()->Width()) * zoom + s.LeftBandRect.right);
    s.RightBandRect.top = s.LeftBandRect.top;
    s.RightBandRect.bottom = s.LeftBandRect.bottom;
    s.RightBandRect.right = s.RightBandRect.left < s.GridRect.right ? s.GridRect.right - kBandRightInset
                                                                    : s.RightBandRect.left + 1;
    s.LastBandRect = {s.LeftBandRect.left, s.LeftBandRect.top, s.RightBandRect.right, s.LeftBandRect.bottom};

    if (s.RopMode == 0) s.RopMode = platform::kR2MaskPen;
    os.SetROP2(s.ScreenDC, s.RopMode);
    // Nothing outside the band's outer rectangle within the grid window: the
    // next run erases only that, so tint drawn elsewhere would stay for good
    // (the left part comes out reversed with the active cell in the first
    // visible column, and lies left of the grid with the cell left of the view).
    const Rect clip = Intersection(s.LastBandRect, s.GridRect);
    os.IntersectClipRect(s.ScreenDC, clip.left, clip.top, clip.right, clip.bottom);
    os.Rectangle(s.ScreenDC, s.LeftBandRect.left, s.LeftBandRect.top, s.LeftBandRect.right,
                 s.LeftBandRect.bottom);
    os.Rectangle(s.ScreenDC, s.RightBandRect.left, s.RightBandRect.top, s.RightBandRect.right,
                 s.RightBandRect.bottom);
  }

  // Finish
  s.PaintScrollRow = app.ActiveWindow()->ScrollRow();
  if (saved) saved->Restore();
  if (hostVersion > kLastVersionWithoutForeground) os.SetForegroundWindow(savedActiveWindow);
}
}  // namespace

void EraseRowBand() {
  auto& s = Shared();
  const VbBool wasOff = s.HighlightOff;
  s.HighlightOff = platform::kTrue;
  PaintRowBand();
  s.HighlightOff = wasOff;
}

void PaintRowBand() {
  // Declared in this order so that the saved DC state (holding the brush)
  // is restored before the brush is deleted, and both before the DC goes.
  std::optional<ScopedWindowDC> screen;
  std::optional<ScopedSolidBrush> brush;
  std::optional<ScopedSavedDC> saved;
  AbandonQuietly([&] { PaintSteps(screen, brush, saved); });
}

}  // namespace rowtint::engine
