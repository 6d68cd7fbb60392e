// The painter, phase by phase: locate the grid window and the active cell on
// the screen, erase the previous band, decide whether the position allows a
// new one, draw it, and finish by noting where the view stood.
#include <algorithm>
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
           const std::optional<std::vector<Rect>>& keepUnless, const Services& os, platform::host::Application& app,
           PaintRecord& record)
      : choices_(choices),
        kept_(kept),
        last_(last),
        surfaces_(surfaces),
        eraseOnly_(eraseOnly),
        keepUnless_(keepUnless),
        os_(os),
        host_(app),
        record_(record) {}

  void Run() {
    // Overlays the erase took from the band are hidden once the run is over,
    // drawn or not, however it ends; a band drawn again on them moves them.
    try {
      RunPhases();
    } catch (...) {
      HideErasedOverlays();
      throw;
    }
    HideErasedOverlays();
  }

 private:
  void RunPhases() {
    Locate();
    Erase();
    const Verdict verdict = Decide();
    // With no band to draw, what a move would have kept goes too.
    if (verdict != Verdict::Draw) EraseKeptWhole();
    if (verdict == Verdict::End) return;
    if (verdict == Verdict::Draw && !Draw()) {
      EraseKeptWhole();
      return;
    }
    Finish();
  }

  void HideErasedOverlays() {
    if (erasedOverlays_) surfaces_.HideOverlays(*erasedOverlays_);
    erasedOverlays_.reset();
  }

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
    previous_ = band;
    surfaces_.Gone();
    DecideKeeping();
    if (!keepColumn_) EraseColumnBand();
    if (band.onOverlay) {
      // The overlays moved with none of Excel's pixels: hidden, the band is
      // gone wherever the view went. Hidden only at the run's end, so that a
      // band drawn again moves them, where hiding and showing each costs a
      // round trip to the window manager.
      erasedOverlays_ = band.main;
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
    } else if (keepRow_) {
      // Kept: only what the move changed goes, once the new band is placed.
    } else if (band.window) {
      // Where its window took it: a window that moved or was resized carried
      // its pixels, and the band with them, along. A column band alone went
      // with the column's strip.
      if (band.row || !band.column) {
        const ScopedPerMonitorDpi own(os_.windows);
        const Rect client = band.ClientOf(band.outer);
        os_.drawing.RedrawWindow(band.window, &client, platform::kRdwInvalidate | platform::kRdwAllChildren);
        record_.erased.push_back(last_.previousBand);
      }
    } else {
      Invalidate(kept_.gridWnd, last_.previousBand);
    }
    kept_.band.standing = false;
    record_.scroll = {host_.ScrollRow(), host_.ScrollColumn()};
  }

  // A move within the active cell's column keeps the column band where it
  // stands, and one within its row the row band (the column band chosen
  // too): only the stretch between the cell's old place and its new one is
  // erased and drawn again. Anything else that changed since the band was
  // drawn (a scroll, the grid, the zoom, the colour, the text mode, the
  // surface) and the band goes whole, as it always did.
  void DecideKeeping() {
    const DrawnBand& band = kept_.band;
    if (!keepUnless_ || eraseOnly_ || choices_.off || !ColumnBandChosen(choices_.across) || !band.standing ||
        band.onOverlay || !focusInHost_ || band.window != kept_.gridWnd || kept_.redrawWholeGrid ||
        band.grid != kept_.gridRect || band.zoomPercent != zoomPercent_ || band.rop != choices_.ropMode ||
        band.chosen != choices_.color || kept_.paintScrollRow != host_.ScrollRow() ||
        kept_.paintScrollColumn != host_.ScrollColumn() || surfaces_.For(kept_.mainWnd) == Surface::Overlay)
      return;
    const std::string& active = host_.ActiveAddress();
    keepColumn_ = band.column && host_.ColumnOf(active) == band.activeColumn;
    keepRow_ = band.row && choices_.across == Across::Both && host_.RowOf(active) == band.activeRow;
  }

  void EraseOnWindow(const DrawnBand& band, const Rect& screen) {
    const ScopedPerMonitorDpi own(os_.windows);
    const Rect client = band.ClientOf(screen);
    os_.drawing.RedrawWindow(band.window, &client, platform::kRdwInvalidate | platform::kRdwAllChildren);
    record_.erased.push_back(screen);
  }

  // No new band where the old one was kept: it goes whole after all.
  void EraseKeptWhole() {
    if (std::exchange(keepRow_, false)) EraseOnWindow(previous_, previous_.outer);
    if (std::exchange(keepColumn_, false)) EraseOnWindow(previous_, previous_.columnOuter);
  }

  // The kept bands' stretch between the cell's old place and its new one
  // goes, and Excel has drawn it again, before the band is drawn there. A
  // kept band that is not drawn now, or whose strip changed (a column's new
  // width, a row's new height), goes whole and is drawn whole.
  void SettleKept(const DrawnBand& now) {
    bool erased = false;
    // One pixel more each way than the cell's old place and its new one: the
    // old parts' outlines at the cell go too.
    if (std::exchange(keepColumn_, false)) {
      erased = true;
      const Rect stretch{now.columnOuter.left, std::min(previous_.above.bottom, now.above.bottom) - 1,
                         now.columnOuter.right, std::max(previous_.below.top, now.below.top) + 1};
      if (now.column && previous_.columnOuter == now.columnOuter && Untouched(previous_.columnOuter, stretch))
        columnLimit_ = stretch;
      EraseOnWindow(previous_, columnLimit_ ? stretch : previous_.columnOuter);
    }
    if (std::exchange(keepRow_, false)) {
      erased = true;
      const Rect stretch{std::min(previous_.left.right, now.left.right) - 1, now.outer.top,
                         std::max(previous_.right.left, now.right.left) + 1, now.outer.bottom};
      if (now.row && previous_.outer == now.outer && Untouched(previous_.outer, stretch)) rowLimit_ = stretch;
      EraseOnWindow(previous_, rowLimit_ ? stretch : previous_.outer);
    }
    if (erased) os_.drawing.UpdateWindow(now.window);
  }

  // Whether Excel's repaints since the band was drawn left the strip as it
  // was outside the stretch about to be drawn again.
  bool Untouched(const Rect& strip, const Rect& stretch) const {
    const Rect client = previous_.ClientOf(strip), again = previous_.ClientOf(stretch);
    for (const Rect& r : *keepUnless_) {
      const Rect hit = Intersection(r, client);
      if (hit.Empty()) continue;
      if (hit.left < again.left || hit.top < again.top || hit.right > again.right || hit.bottom > again.bottom)
        return false;
    }
    return true;
  }

  // The parts this run draws, each clip narrowed to the stretch a kept band changed in.
  std::vector<DrawnBand::Part> ToDraw(const DrawnBand& band) const {
    std::vector<DrawnBand::Part> parts = band.Parts();
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const bool rowPart = band.row && i < 2;
      const std::optional<Rect>& limit = rowPart ? rowLimit_ : columnLimit_;
      if (limit) parts[i].clip = Intersection(parts[i].clip, *limit);
    }
    return parts;
  }

  // The column band goes with its whole strip, where its window took it; a
  // vertical scroll carried it up or down its column, to anywhere in the
  // grid's height. A sideways scroll or a whole-grid erase takes it anyway.
  void EraseColumnBand() {
    const DrawnBand& band = kept_.band;
    if (!band.column || band.onOverlay || !band.window) return;
    Rect strip = band.ClientOf(band.columnOuter);
    if (kept_.paintScrollRow != host_.ScrollRow()) {
      const Rect grid = band.ClientOf(kept_.gridRect);
      strip.top = grid.top;
      strip.bottom = grid.bottom;
    }
    const ScopedPerMonitorDpi own(os_.windows);
    os_.drawing.RedrawWindow(band.window, &strip, platform::kRdwInvalidate | platform::kRdwAllChildren);
    record_.erased.push_back({strip.left + band.origin.x, strip.top + band.origin.y, strip.right + band.origin.x,
                              strip.bottom + band.origin.y});
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
    const bool columnChosen = ColumnBandChosen(choices_.across);
    if (columnChosen)
      position.columnsWhole = host_.FreezePanes() && host_.ColumnOf(visible.bottomRight) <= host_.FrozenColumns();
    position.activeRow = activeRow_ = host_.RowOf(active);
    position.topRow = host_.RowOf(visible.topLeft);
    position.bottomRow = host_.RowOf(visible.bottomRight);
    position.activeColumn = activeColumn_ = host_.ColumnOf(active);
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
    // Each band by its own rules: one may stand without the other.
    rowAllowed_ = RowBandChosen(choices_.across) &&
                  BandAllowed(position.activeRow, topRowNumber, bottomRowNumber, rows, columns, position.rowsWhole);
    columnAllowed_ = columnChosen && ColumnBandAllowed(position, rows, columns);
    return rowAllowed_ || columnAllowed_ ? Verdict::Draw : Verdict::FinishWithoutBand;
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
    // A row band that would stand below the grid's bottom margin is not drawn;
    // with nothing else to draw the run ends there.
    if (!BandFits(kept_.gridRect, caret_.y, RowHeight(), insets)) rowAllowed_ = false;
    if (!rowAllowed_ && !columnAllowed_) return false;
    const double cellWidth = PointsToPixels(host_.App().ActiveCell()->Width(), Dpi()) * zoom_;
    const BandRects placed = PlaceBand(kept_.gridRect, caret_, RowHeight(), cellWidth, insets);
    const ColumnBandRects down = PlaceColumnBand(kept_.gridRect, placed, insets);
    record_.cell = Rect{caret_.x, caret_.y, placed.right.left, placed.left.bottom};
    if (choices_.ropMode == 0) choices_.ropMode = platform::kR2MaskPen;

    // Excel has said all it will: the rest is the add-in's own drawing.
    ownDpi_.emplace(os_.windows);
    // Nothing outside each band's outer rectangle within the grid window: the
    // next run erases only that, so tint drawn elsewhere would stay for good
    // (the left part comes out reversed with the active cell in the first
    // visible column, and lies left of the grid with the cell left of the view).
    DrawnBand& band = kept_.band;
    band = DrawnBand{};
    band.window = grid;
    band.main = kept_.mainWnd;
    band.onOverlay = surfaces_.For(kept_.mainWnd) == Surface::Overlay;
    band.origin = ClientOrigin(os_.windows, grid);
    band.row = rowAllowed_;
    band.column = columnAllowed_;
    band.left = placed.left;
    band.right = placed.right;
    band.outer = placed.outer;
    band.clip = Intersection(placed.outer, kept_.gridRect);
    band.above = down.above;
    band.below = down.below;
    band.columnOuter = down.outer;
    band.columnClip = Intersection(down.outer, kept_.gridRect);
    band.color = ScreenColor(os_.drawing, choices_.color);
    band.rop = choices_.ropMode;
    band.chosen = choices_.color;
    band.activeRow = activeRow_;
    band.activeColumn = activeColumn_;
    band.grid = kept_.gridRect;
    band.zoomPercent = zoomPercent_;
    SettleKept(band);
    if (band.onOverlay)
      DrawOnOverlays(band);
    else
      DrawThroughTheGrid(band);
    record_.drawn.clear();
    for (const auto& part : band.Parts()) record_.drawn.push_back(part.rect);
    band.standing = true;
    return true;
  }

  void DrawOnOverlays(const DrawnBand& band) {
    surfaces_.ShowOverlays(band.main, band.Clipped(), band.color);
    if (erasedOverlays_ == band.main) erasedOverlays_.reset();
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
    std::vector<BandSample> samples;
    const auto parts = ToDraw(band);
    if (surfaces_.Choice() == SurfaceChoice::Auto) samples = Samples(dc, band, parts);
    // The row's parts through the row's clip, the column's through the column's.
    for (std::size_t first = 0; first < parts.size(); first += 2) {
      // A kept band's stretch may hold none of its parts: only the cell.
      if (Intersection(parts[first].rect, parts[first].clip).Empty() &&
          Intersection(parts[first + 1].rect, parts[first + 1].clip).Empty())
        continue;
      const Rect clip = band.ClientOf(parts[first].clip);
      const ScopedSavedDC clipped(gdi, dc);
      gdi.IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
      for (std::size_t i = first; i < first + 2; ++i) {
        const Rect r = band.ClientOf(parts[i].rect);
        // GDI turns a rectangle the right way round, and draws a flat one's
        // outline: a column part with no room (the cell at the grid's top or
        // bottom) is not drawn at all. A row part turned over lies outside its clip.
        const bool columnPart = !(band.row && i < 2);
        if (!columnPart || !r.Empty()) gdi.Rectangle(dc, r.left, r.top, r.right, r.bottom);
      }
    }
    if (!samples.empty()) surfaces_.Drawn(band.main, band.window, std::move(samples));
  }

  // Two pixels inside each part, clear of its outline, that the grid shows:
  // what the raster operation will make of the grid's pixels there.
  std::vector<BandSample> Samples(platform::DcHandle dc, const DrawnBand& band,
                                  const std::vector<DrawnBand::Part>& parts) {
    std::vector<BandSample> samples;
    for (const auto& [screenPart, screenClip] : parts) {
      const Rect part = band.ClientOf(screenPart), clip = band.ClientOf(screenClip);
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
  // A move's paint: Excel's repaints since the band was drawn, in the grid's client coordinates.
  const std::optional<std::vector<Rect>>& keepUnless_;
  const Services& os_;
  RunHostValues host_;
  PaintRecord& record_;
  std::int32_t zoomPercent_ = 100;
  double zoom_ = 0;
  bool rowAllowed_ = false, columnAllowed_ = false;
  std::int32_t activeRow_ = 0, activeColumn_ = 0;
  // The band as the run found it, and which of its bands a move within a
  // row or a column keeps; a kept band is drawn again only within its limit.
  DrawnBand previous_;
  bool keepRow_ = false, keepColumn_ = false;
  std::optional<Rect> rowLimit_, columnLimit_;
  // The main window whose overlays the erase took the band from.
  std::optional<WindowHandle> erasedOverlays_;
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

void Highlighter::Paint(bool eraseOnly, bool aMove) {
  // Excel refuses its object model while a cell is edited, and the edit box
  // is no grid: the band waits for the edit to end.
  if (EditingCell(os_.windows)) {
    editingSeen_ = true;
    return;
  }
  PaintRecord record;
  ++paints_;
  // Only a move of the selection keeps parts of the band, and only where
  // none of Excel's repaints since took any of it. Every other run (a form
  // closed, a tick, a repaint that may have moved the row) cannot know what
  // Excel drew over unheard, and draws the band whole.
  const std::optional<std::vector<Rect>> keepUnless = aMove ? std::optional(repainted_) : std::nullopt;
  // Excel's repaints so far took parts of the band this run erases anyway,
  // and a new size the grid was told of is what this run places the band in.
  repainted_.clear();
  sizedPending_ = false;
  // The repaints the run asks for are its own, not Excel's.
  painting_ = true;
  const auto failure = AbandonQuietly(
      [&] { PaintRun(choices_, kept_, lastPaint_, surfaces_, eraseOnly, keepUnless, os_, App(), record).Run(); });
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
