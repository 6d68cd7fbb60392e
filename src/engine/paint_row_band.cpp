// The painter, phase by phase: locate the grid window and the active cell on
// the screen, erase the previous band, decide whether the position allows a
// new one, draw it, and finish by noting where the view stood.
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/address_text.h"
#include "engine/band_decision.h"
#include "engine/band_surfaces.h"
#include "engine/band_geometry.h"
#include "engine/excel_windows.h"
#include "engine/failure_styles.h"
#include "engine/highlighter.h"
#include "engine/locate_cell.h"
#include "engine/numeric.h"
#include "engine/paint_record.h"
#include "engine/run_host_values.h"
#include "engine/scoped_gdi.h"
#include "platform/error.h"

namespace rowtint::engine {
namespace {

// A colour as the screen shows it: a system colour reference (0x80000000
// plus the index in the low byte) becomes the colour Windows uses now.
Color ScreenColor(platform::ScreenDrawing& drawing, Color color) {
  if (static_cast<std::uint32_t>(color) & 0x80000000u) return drawing.GetSysColor(color & 0xFF);
  return color;
}

enum class Verdict { Draw, FinishWithoutBand, End };

// One run of the painter. Its resources are members, declared in this order
// so that the saved DC state (holding the brush) is restored before the
// brush is deleted, and both before the DC goes, on every path out.
class PaintRun {
 public:
  PaintRun(BandChoices& choices, BandBookkeeping& kept, LastPaint& last, BandSurfaces& surfaces, bool eraseOnly,
           const Services& os, platform::host::Application& app, PaintRecord& record)
      : choices_(choices),
        kept_(kept),
        last_(last),
        surfaces_(surfaces),
        eraseOnly_(eraseOnly),
        os_(os),
        host_(app),
        record_(record) {}

  void Run() {
    Locate();
    Erase();
    const Verdict verdict = Decide();
    if (verdict == Verdict::End) return;
    if (verdict == Verdict::Draw && !Draw()) return;
    Finish();
  }

 private:
  // The main and grid windows. With the focus in one of the add-in's own
  // forms, in an edit box or in another program, the focus window is no grid
  // and the caret marks no cell: the last grid stands. Drawing through a
  // window's DC or on an overlay needs no window in front: the foreground,
  // and the keyboard focus with it, stay where the user left them.
  void Locate() {
    zoomPercent_ = ToInt32(host_.ActiveWindow().Zoom());
    zoom_ = zoomPercent_ / 100.0;
    record_.version = host_.App().Version();
    kept_.mainWnd = FindMainWindow(os_.windows, host_.App());
    const WindowHandle focus = os_.windows.GetFocus();
    focusInHost_ = os_.windows.IsChild(kept_.mainWnd, focus) && os_.windows.WindowClassName(focus) == kGridWindowClass;
    if (focusInHost_) {
      kept_.gridWnd = focus;
      const ScopedPerMonitorDpi own(os_.windows);
      os_.windows.GetWindowRect(focus, kept_.gridRect);
    }
    last_.previousBand = kept_.band.outer;
  }

  // The active cell's top-left corner on the screen. With the log on, every
  // way is asked, so that a misplaced band shows which one was wrong.
  void LocateCell() {
    const CellCorner found =
        LocateActiveCell(os_.windows, kept_.gridWnd, host_, Dpi(), zoomPercent_, os_.diagnostics.Enabled());
    caret_ = found.corner;
    last_.caret = caret_;
    record_.byCaret = found.byCaret;
    record_.byPane = found.byPane;
    record_.confirmed = found.confirmed;
    record_.byScale = found.byScale;
  }

  double RowHeight() {
    if (!rowHeight_) rowHeight_ = RowHeightPixels(host_.ActiveCellHeight(), Dpi(), zoom_);
    return *rowHeight_;
  }
  // The grid's own resolution: Excel draws at its monitor's.
  int Dpi() {
    if (!dpi_) dpi_ = os_.windows.WindowDpi(kept_.gridWnd);
    return *dpi_;
  }

  // Only the window that shows the area repaints it: windows of other
  // programs lying over the grid are left alone.
  // Before any band was drawn, its (empty) rectangle goes to the grid.
  void Invalidate(WindowHandle window, const Rect& rect) {
    const ScopedPerMonitorDpi own(os_.windows);
    InvalidateOnWindow(os_.windows, os_.drawing, window ? window : kept_.gridWnd, rect);
    record_.erased.push_back(rect);
  }

  void Erase() {
    const DrawnBand& band = kept_.band;
    surfaces_.Gone();
    if (band.onOverlay) {
      // The overlays moved with none of Excel's pixels: hidden, the band is gone wherever the view went.
      surfaces_.HideOverlays(band.main);
      record_.erased.push_back(last_.previousBand);
      kept_.redrawWholeGrid = false;
      kept_.paintScrollColumn = host_.ScrollColumn();
    } else if (kept_.redrawWholeGrid) {
      Invalidate(kept_.gridWnd, kept_.gridRect);
      kept_.redrawWholeGrid = false;
    } else if (kept_.paintScrollColumn != host_.ScrollColumn()) {
      // A sideways scroll carried the band along its row, partly into the
      // margins it leaves free at the grid's edges: only the whole grid is
      // sure to hold all of it. Once that is erased the scroll is seen,
      // whether or not this run gets to draw.
      Invalidate(kept_.gridWnd, kept_.gridRect);
      kept_.paintScrollColumn = host_.ScrollColumn();
    } else if (kept_.paintScrollRow != host_.ScrollRow()) {
      // The old band moved with its row, which the caret now marks. Without
      // the focus in the host no caret marks it, and only the whole grid will do.
      if (!focusInHost_) {
        Invalidate(kept_.gridWnd, kept_.gridRect);
      } else {
        LocateCell();
        Invalidate(band.window, ScrolledBandStrip(band.outer, caret_.y, RowHeight()));
      }
    } else if (band.window) {
      // Where its window took it: a window that moved or was resized carried
      // its pixels, and the band with them, along.
      const ScopedPerMonitorDpi own(os_.windows);
      const Rect client = band.ClientOf(band.outer);
      os_.drawing.RedrawWindow(band.window, &client, platform::kRdwInvalidate | platform::kRdwAllChildren);
      record_.erased.push_back(last_.previousBand);
    } else {
      Invalidate(kept_.gridWnd, last_.previousBand);
    }
    kept_.band.standing = false;
    record_.scroll = {host_.ScrollRow(), host_.ScrollColumn()};
  }

  Verdict Decide() {
    if (eraseOnly_ || choices_.off || !focusInHost_) return Verdict::End;
    // The rules read the pane that shows the active cell: with frozen panes
    // the window's visible range would count rows the frozen ones hide.
    const AddressHalves visible = SplitRangeAddress(host_.VisibleAddress());
    const std::string topRowText = RowTextOf(visible.topLeft);
    const std::string bottomRowText = RowTextOf(visible.bottomRight);
    const std::string& active = host_.ActiveAddress();
    ViewPosition position;
    position.rowsWhole = host_.FreezePanes() && host_.RowOf(visible.bottomRight) <= host_.FrozenRows();
    position.activeRow = host_.RowOf(active);
    position.topRow = host_.RowOf(visible.topLeft);
    position.bottomRow = host_.RowOf(visible.bottomRight);
    position.activeColumn = host_.ColumnOf(active);
    position.leftColumn = host_.ColumnOf(visible.topLeft);
    position.rightColumn = host_.ColumnOf(visible.bottomRight);

    switch (JudgePosition(position, kept_.columnCheckArmed)) {
      case PositionVerdict::EndRun:
        return Verdict::End;
      case PositionVerdict::EndRunAndDisarm:
        kept_.columnCheckArmed = false;
        return Verdict::End;
      case PositionVerdict::GoOn:
        break;
    }
    // Every operand is evaluated, as the host language's And does: a
    // selection that is not cells ends the run here even when a row test
    // already failed.
    const double bottomRowNumber = TextToNumber(bottomRowText);
    const double topRowNumber = TextToNumber(topRowText);
    const auto selection = host_.App().Selection()->AsRange();
    const std::int32_t rows = selection->Rows()->Count();
    const std::int32_t columns = selection->Columns()->Count();
    return BandAllowed(position.activeRow, topRowNumber, bottomRowNumber, rows, columns, position.rowsWhole)
               ? Verdict::Draw
               : Verdict::FinishWithoutBand;
  }

  // Whether the run goes on to its end: a band that would stand below the
  // grid's bottom margin is not drawn, and the run ends there.
  bool Draw() {
    // The scroll is known before anything is drawn: a host that stops
    // answering midway must not leave a drawn band noted under an older
    // scroll, where the next erase would look for it in the wrong place.
    host_.ScrollRow();
    host_.ScrollColumn();
    const WindowHandle grid = kept_.gridWnd;
    os_.drawing.UpdateWindow(grid);
    LocateCell();
    if (choices_.color == 0) choices_.color = kWoberColor;
    const BandInsets insets = BandInsets::At(Dpi());
    if (!BandFits(kept_.gridRect, caret_.y, RowHeight(), insets)) return false;
    const double cellWidth = PointsToPixels(host_.App().ActiveCell()->Width(), Dpi()) * zoom_;
    const BandRects placed = PlaceBand(kept_.gridRect, caret_, RowHeight(), cellWidth, insets);
    record_.cell = Rect{caret_.x, caret_.y, placed.right.left, placed.left.bottom};
    if (choices_.ropMode == 0) choices_.ropMode = platform::kR2MaskPen;

    // Excel has said all it will: the rest is the add-in's own drawing.
    ownDpi_.emplace(os_.windows);
    const Color shown = ScreenColor(os_.drawing, choices_.color);
    // Nothing outside the band's outer rectangle within the grid window: the
    // next run erases only that, so tint drawn elsewhere would stay for good
    // (the left part comes out reversed with the active cell in the first
    // visible column, and lies left of the grid with the cell left of the view).
    DrawnBand& band = kept_.band;
    band = DrawnBand{grid,
                     kept_.mainWnd,
                     surfaces_.For(kept_.mainWnd) == Surface::Overlay,
                     ClientOrigin(os_.windows, grid),
                     placed.left,
                     placed.right,
                     placed.outer,
                     Intersection(placed.outer, kept_.gridRect),
                     shown,
                     choices_.ropMode,
                     false};
    if (band.onOverlay)
      DrawOnOverlays(band);
    else
      DrawThroughTheGrid(band);
    record_.drawn = {band.left, band.right};
    band.standing = true;
    return true;
  }

  void DrawOnOverlays(const DrawnBand& band) {
    surfaces_.ShowOverlays(band.main, {Intersection(band.left, band.clip), Intersection(band.right, band.clip)},
                           band.color);
  }

  // Through the grid's own client DC, so that the band cannot land on a
  // window lying over the grid, nor outside it. A few of its pixels are read
  // first, so that a later look at the screen can tell whether it shows.
  void DrawThroughTheGrid(const DrawnBand& band) {
    auto& gdi = os_.drawing;
    screen_.emplace(gdi, band.window);
    const platform::DcHandle dc = screen_->Get();
    brush_.emplace(gdi, band.color);
    saved_.emplace(gdi, dc);
    gdi.SelectObject(dc, brush_->Get());
    gdi.SetROP2(dc, band.rop);
    const Rect clip = band.ClientOf(band.clip), left = band.ClientOf(band.left), right = band.ClientOf(band.right);
    std::vector<BandSample> samples;
    if (surfaces_.Choice() == SurfaceChoice::Auto) samples = Samples(dc, band, {left, right}, clip);
    gdi.IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    gdi.Rectangle(dc, left.left, left.top, left.right, left.bottom);
    gdi.Rectangle(dc, right.left, right.top, right.right, right.bottom);
    if (!samples.empty()) surfaces_.Drawn(band.main, band.window, std::move(samples));
  }

  // Two pixels inside each part, clear of its outline, that the grid shows:
  // what the raster operation will make of the grid's pixels there.
  std::vector<BandSample> Samples(platform::DcHandle dc, const DrawnBand& band, const std::array<Rect, 2>& parts,
                                  const Rect& clip) {
    std::vector<BandSample> samples;
    for (const Rect& part : parts) {
      const Rect inside = Intersection({part.left + 1, part.top + 1, part.right - 1, part.bottom - 1}, clip);
      if (inside.Empty()) continue;
      const int y = inside.top + (inside.bottom - inside.top) / 2, width = inside.right - inside.left;
      for (const int x : {inside.left + width / 3, inside.left + 2 * width / 3}) {
        const auto before = os_.drawing.GetPixel(dc, x, y);
        if (!before) continue;
        samples.push_back({Point{x + band.origin.x, y + band.origin.y}, ApplyRop2(band.rop, band.color, *before)});
      }
    }
    return samples;
  }

  void Finish() {
    kept_.paintScrollRow = host_.ScrollRow();
    kept_.paintScrollColumn = host_.ScrollColumn();
    if (saved_) saved_->Restore();
  }

  BandChoices& choices_;
  BandBookkeeping& kept_;
  LastPaint& last_;
  BandSurfaces& surfaces_;
  const bool eraseOnly_;
  const Services& os_;
  RunHostValues host_;
  PaintRecord& record_;
  std::int32_t zoomPercent_ = 100;
  double zoom_ = 0;
  bool focusInHost_ = false;
  Point caret_;
  std::optional<double> rowHeight_;
  std::optional<int> dpi_;
  // Declared first of the resources, so that the thread's DPI context goes
  // back after the DC is given back.
  std::optional<ScopedPerMonitorDpi> ownDpi_;
  std::optional<ScopedWindowDC> screen_;
  std::optional<ScopedSolidBrush> brush_;
  std::optional<ScopedSavedDC> saved_;
};
}  // namespace

void Highlighter::Paint(bool eraseOnly) {
  // Excel refuses its object model while a cell is edited, and the edit box
  // is no grid: the band waits for the edit to end.
  if (EditingCell(os_.windows)) {
    editingSeen_ = true;
    return;
  }
  PaintRecord record;
  ++paints_;
  // Excel's repaints so far took parts of the band this run erases anyway,
  // and a new size the grid was told of is what this run places the band in.
  repainted_.clear();
  sizedPending_ = false;
  // The repaints the run asks for are its own, not Excel's.
  painting_ = true;
  const auto failure =
      AbandonQuietly([&] { PaintRun(choices_, kept_, lastPaint_, surfaces_, eraseOnly, os_, App(), record).Run(); });
  painting_ = false;
  // Its own repaints must not start the run again: the scroll it found is seen.
  if (record.scroll) wakeScroll_ = record.scroll;
  WatchGrid(kept_.gridWnd);
  // An overlay does not move with its main window: the main window's moves are followed.
  if (kept_.band.onOverlay) WatchGrid(kept_.band.main);
  if (!os_.diagnostics.Enabled()) return;
  std::ostringstream outcome;
  if (failure)
    outcome << "failed 0x" << std::hex << static_cast<std::uint32_t>(failure->Number()) << " "
            << failure->Description();
  else
    outcome << "ended";
  os_.diagnostics.Write(record.Line(outcome.str()));
}

}  // namespace rowtint::engine
