#include "engine/paint_row_band.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// The host's answers that cannot change within one run: the run holds the
// host's only thread, and nothing it does (erasing, letting the window
// repaint, drawing) switches the window, scrolls it or moves the active
// cell. Each is asked for once, where the run first needs it, so that a
// failure still ends the run at that step.
class RunHostValues {
 public:
  explicit RunHostValues(platform::host::Application& app) : app_(app) {}

  platform::host::Window& ActiveWindow() {
    if (!window_) window_ = app_.ActiveWindow();
    return *window_;
  }
  std::int32_t ScrollRow() {
    if (!scrollRow_) scrollRow_ = ActiveWindow().ScrollRow();
    return *scrollRow_;
  }
  std::int32_t ScrollColumn() {
    if (!scrollColumn_) scrollColumn_ = ActiveWindow().ScrollColumn();
    return *scrollColumn_;
  }
  // The cell at an address, resolved once however often the run reads it.
  platform::host::Range& CellAt(const std::string& address) {
    for (const auto& [known, cell] : cells_)
      if (known == address) return *cell;
    cells_.emplace_back(address, app_.GetRange(address));
    return *cells_.back().second;
  }
  double RowHeightPixels(platform::WindowsServices& os, double zoom) {
    if (!rowHeight_) rowHeight_ = engine::RowHeightPixels(os, app_, zoom);
    return *rowHeight_;
  }

 private:
  platform::host::Application& app_;
  std::shared_ptr<platform::host::Window> window_;
  std::optional<std::int32_t> scrollRow_;
  std::optional<std::int32_t> scrollColumn_;
  std::vector<std::pair<std::string, std::shared_ptr<platform::host::Range>>> cells_;
  std::optional<double> rowHeight_;
};

// The whole run, set-up to finish; a failure anywhere ends it where it stands. The
// resources live in the caller so that they are given back on every path.
void PaintSteps(std::optional<ScopedWindowDC>& screen, std::optional<ScopedSolidBrush>& brush,
                std::optional<ScopedSavedDC>& saved) {
  auto& s = Shared();
  auto& os = Os();
  auto& app = HostApplication();
  RunHostValues host(app);

  // Set-up
  const double zoom = ToInt32(host.ActiveWindow().Zoom()) / 100.0;
  const std::int16_t hostVersion = ToInt16(LeadingNumber(app.Version()));
  s.ExcelMainWnd = os.FindProcessWindow("XLMAIN");
  screen.emplace(os, os.GetDesktopWindow());
  s.ScreenDC = screen->Get();
  const WindowHandle savedActiveWindow = os.GetActiveWindow();
  if (hostVersion > kLastVersionWithoutForeground) os.SetForegroundWindow(s.ExcelMainWnd);
  // With the focus in one of the add-in's own forms or in another program,
  // the focus window is no grid and the caret marks no cell: the last grid
  // stands, and nothing is drawn.
  const bool focusInHost = os.IsChild(s.ExcelMainWnd, os.GetFocus());
  if (focusInHost) os.GetWindowRect(os.GetFocus(), s.GridRect);
  s.PrevBandRect = s.LastBandRect;

  // Erase the previous band
  if (IsTrue(s.RedrawWholeGrid)) {
    InvalidateScreenRect(os, s.GridRect);
    s.RedrawWholeGrid = kFalse;
  } else if (s.PaintScrollColumn != host.ScrollColumn()) {
    // A sideways scroll carried the band along its row, partly into the
    // margins it leaves free at the grid's edges: only the whole grid is sure
    // to hold all of it. Once that is erased, the scroll is seen, whether or
    // not this run gets to draw.
    InvalidateScreenRect(os, s.GridRect);
    s.PaintScrollColumn = host.ScrollColumn();
  } else if (s.PaintScrollRow != host.ScrollRow()) {
    // The window scrolled: the old band moved with its row, which the caret
    // now marks, so the strip at the caret's row is what must go. Without the
    // focus in the host no caret marks it, and only the whole grid will do.
    if (!focusInHost) {
      InvalidateScreenRect(os, s.GridRect);
    } else {
      ReadCaretOnScreen(os);
      // The band kept its height as it moved; rounded at its new place, the
      // row may come out a pixel shorter than the band.
      const std::int32_t rowBottom = ToInt32(host.RowHeightPixels(os, zoom) + s.CaretPoint.y);
      const std::int32_t bandBottom = s.CaretPoint.y + (s.LastBandRect.bottom - s.LastBandRect.top);
      InvalidateScreenRect(
          os, Rect{s.LastBandRect.left, s.CaretPoint.y, s.LastBandRect.right, std::max(rowBottom, bandBottom)});
    }
  } else {
    InvalidateScreenRect(os, s.PrevBandRect);
  }

  // Decide whether to draw
  if (IsTrue(s.HighlightOff) || !focusInHost) return;
  const AddressHalves visible = SplitRangeAddress(host.ActiveWindow().VisibleRange()->Address());
  const std::string topRowText = RowTextOf(visible.topLeft);
  const std::string bottomRowText = RowTextOf(visible.bottomRight);
  const std::string active = host.ActiveWindow().ActiveCell()->Address();
  const std::int32_t activeRow = host.CellAt(active).Row();
  const std::int32_t topRow = host.CellAt(visible.topLeft).Row();
  const std::int32_t bottomRow = host.CellAt(visible.bottomRight).Row();
  const std::int32_t activeColumn = host.CellAt(active).Column();
  const std::int32_t leftColumn = host.CellAt(visible.topLeft).Column();
  const std::int32_t rightColumn = host.CellAt(visible.bottomRight).Column();

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
    // The scroll is known before anything is drawn: a host that stops
    // answering midway must not leave a drawn band noted under an older
    // scroll, where the next erase would look for it in the wrong place.
    host.ScrollRow();
    host.ScrollColumn();
    os.UpdateWindow(os.GetActiveWindow());
    ReadCaretOnScreen(os);
    if (s.HighlightColor == 0) s.HighlightColor = kWoberColor;
    brush.emplace(os, ScreenColor(os, s.HighlightColor));
    saved.emplace(os, s.ScreenDC);
    os.SelectObject(s.ScreenDC, brush->Get());

    const double rowHeight = host.RowHeightPixels(os, zoom);
    if (!(s.CaretPoint.y < (s.GridRect.bottom - kBandBottomMargin) + rowHeight)) return;

    s.LeftBandRect.left = s.GridRect.left + kBandLeftInset;
    s.LeftBandRect.top = s.CaretPoint.y;
    s.LeftBandRect.bottom = ToInt32(rowHeight + s.CaretPoint.y);
    s.LeftBandRect.right = s.CaretPoint.x < s.GridRect.right ? s.CaretPoint.x : s.GridRect.right - kBandRightInset;
    s.RightBandRect.left = ToInt32(PointsToPixels(os, app.ActiveCell()->Width()) * zoom + s.LeftBandRect.right);
    s.RightBandRect.top = s.LeftBandRect.top;
    s.RightBandRect.bottom = s.LeftBandRect.bottom;
    s.RightBandRect.right =
        s.RightBandRect.left < s.GridRect.right ? s.GridRect.right - kBandRightInset : s.RightBandRect.left + 1;
    s.LastBandRect = {s.LeftBandRect.left, s.LeftBandRect.top, s.RightBandRect.right, s.LeftBandRect.bottom};

    if (s.RopMode == 0) s.RopMode = platform::kR2MaskPen;
    os.SetROP2(s.ScreenDC, s.RopMode);
    // Nothing outside the band's outer rectangle within the grid window: the
    // next run erases only that, so tint drawn elsewhere would stay for good
    // (the left part comes out reversed with the active cell in the first
    // visible column, and lies left of the grid with the cell left of the view).
    const Rect clip = Intersection(s.LastBandRect, s.GridRect);
    os.IntersectClipRect(s.ScreenDC, clip.left, clip.top, clip.right, clip.bottom);
    os.Rectangle(s.ScreenDC, s.LeftBandRect.left, s.LeftBandRect.top, s.LeftBandRect.right, s.LeftBandRect.bottom);
    os.Rectangle(s.ScreenDC, s.RightBandRect.left, s.RightBandRect.top, s.RightBandRect.right, s.RightBandRect.bottom);
  }

  // Finish
  s.PaintScrollRow = host.ScrollRow();
  s.PaintScrollColumn = host.ScrollColumn();
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
