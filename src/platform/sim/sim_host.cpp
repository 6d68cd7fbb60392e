#include "platform/sim/sim_host.h"

#include <algorithm>
#include <vector>

#include "platform/error.h"
#include "platform/rect_difference.h"
#include "platform/sim/glyphs.h"

namespace rowtint::sim {
namespace {

constexpr Pixel kTitleGreen = 0x467321;
constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kChrome = 0xF3F3F3;
constexpr Pixel kHeaderFill = 0xE6E6E6;
constexpr Pixel kHeaderInk = 0x404040;
constexpr Pixel kHeaderLine = 0xC0C0C0;
constexpr int kTitleHeight = 28;
constexpr int kHeaderHeight = 18;

// What of a pane is not filled by its own pixels moved by `by`.
std::vector<Rect> UncoveredByScroll(const Rect& pane, Point by) {
  if (by.x == 0 && by.y == 0) return {};
  std::vector<Rect> out;
  platform::SubtractRect(pane, {pane.left + by.x, pane.top + by.y, pane.right + by.x, pane.bottom + by.y}, out);
  return out;
}
}  // namespace

SimHost::SimHost(SimDesktop& desktop) : desktop_(desktop) {}

SimHost::~SimHost() { Close(); }

platform::Rect SimHost::GridRect() const { return desktop_.WindowRect(GridWindow()); }

platform::Rect SimHost::GridClient() {
  const Rect grid = GridRect();
  return {0, 0, grid.right - grid.left, grid.bottom - grid.top};
}

Point SimHost::Caret() {
  const SheetModel& sheet = Sheet();
  return {sheet.ColumnEdge(sheet.active.column), sheet.RowEdge(sheet.active.row)};
}

void SimHost::WheelOverGrid(int rows) {
  desktop_.SendWindowMessage(GridWindow(), platform::GridMessage::Scrolled, [&] { model_->ScrollRows(rows); });
}

void SimHost::RepaintGridArea(const platform::Rect& area) {
  const Rect grid = GridRect();
  desktop_.PaintNow(
      Intersect(grid, {grid.left + area.left, grid.top + area.top, grid.left + area.right, grid.top + area.bottom}));
}

void SimHost::RepaintAll() { desktop_.PaintNow(desktop_.WindowRect(MainWindow())); }

void SimHost::RepaintCell(CellRef cell) {
  const Rect grid = GridRect();
  const SheetModel& sheet = Sheet();
  desktop_.PaintNow(
      Intersect(grid, {grid.left + sheet.ColumnEdge(cell.column), grid.top + sheet.RowEdge(cell.row),
                       grid.left + sheet.ColumnEdge(cell.column + 1), grid.top + sheet.RowEdge(cell.row + 1)}));
}

void SimHost::PaintMainWindow(FrameBuffer& fb, const platform::Rect& clip, const Frame& frame) {
  const Rect main = desktop_.WindowRect(frame.main);
  const SheetModel& sheet = SheetOf(frame);
  const Rect grid = desktop_.WindowRect(frame.grid);
  fb.Fill(main, clip, kChrome);
  fb.Fill({main.left, main.top, main.right, main.top + kTitleHeight}, clip, kTitleGreen);
  const Workbook* book = model_->WorkbookById(frame.workbook);
  DrawText(fb, main.left + 10, main.top + 10, (book ? book->name : "") + " - Excel", kWhite, clip);
  PaintCommandBars(fb, clip, main, grid.top - kHeaderHeight);

  // Column headers above the grid, row headers left of it.
  const Rect colHeads{grid.left, grid.top - kHeaderHeight, grid.right, grid.top};
  fb.Fill(colHeads, clip, kHeaderFill);
  const CellRef last = sheet.LastVisible(grid.right - grid.left, grid.bottom - grid.top);
  // The frozen columns (rows) come first, then those scrolled into view.
  const auto next = [](std::int32_t i, std::int32_t frozen, std::int32_t scroll) {
    return i == frozen ? scroll : i + 1;
  };
  for (std::int32_t c = sheet.frozen.column > 0 ? 1 : sheet.scroll.column; c <= last.column;
       c = next(c, sheet.frozen.column, sheet.scroll.column)) {
    const int left = grid.left + sheet.ColumnEdge(c), right = grid.left + sheet.ColumnEdge(c + 1);
    const Rect head = Intersect(colHeads, {left, colHeads.top, right, colHeads.bottom});
    const std::string letters = ColumnLetters(c);
    DrawText(fb, (left + right - TextWidth(letters)) / 2, colHeads.top + 5, letters, kHeaderInk, Intersect(head, clip));
    fb.Fill({right - 1, colHeads.top, right, colHeads.bottom}, Intersect(colHeads, clip), kHeaderLine);
  }
  const Rect rowHeads{std::max(main.left, grid.left - 38), grid.top, grid.left, grid.bottom};
  fb.Fill(rowHeads, clip, kHeaderFill);
  for (std::int32_t r = sheet.frozen.row > 0 ? 1 : sheet.scroll.row; r <= last.row;
       r = next(r, sheet.frozen.row, sheet.scroll.row)) {
    const int top = grid.top + sheet.RowEdge(r), bottom = grid.top + sheet.RowEdge(r + 1);
    const Rect head = Intersect(rowHeads, {rowHeads.left, top, rowHeads.right, bottom});
    const std::string number = std::to_string(r);
    DrawText(fb, rowHeads.right - 3 - TextWidth(number), top + std::max(1, (bottom - top - kGlyphHeight) / 2), number,
             kHeaderInk, Intersect(head, clip));
    fb.Fill({rowHeads.left, bottom - 1, rowHeads.right, bottom}, Intersect(rowHeads, clip), kHeaderLine);
  }
}

// The active menu bar in one row, the visible toolbars in the next, as far
// as they fit above the grid's headers. A workbook window's copies of the
// add-ins' controls look as the controls themselves do.
void SimHost::PaintCommandBars(FrameBuffer& fb, const platform::Rect& clip, const Rect& main, int bottom) {
  const CommandBarStore& bars = Bars();
  auto strip = [](std::string caption) {
    std::erase(caption, '&');
    return caption;
  };
  int y = main.top + kTitleHeight + 4;
  if (bars.activeMenuBar && y + 14 <= bottom) {
    int x = main.left + 8;
    for (const auto& c : bars.activeMenuBar->controls) {
      const std::string caption = strip(c->caption);
      if (c->beginGroup == platform::kTrue) {
        fb.Fill({x, y - 2, x + 1, y + 10}, clip, kHeaderLine);
        x += 6;
      }
      DrawText(fb, x, y + 1, caption, kHeaderInk, clip);
      x += TextWidth(caption) + 12;
    }
  }
  y += 20;
  if (y + 22 > bottom) return;
  int x = main.left + 8;
  for (const auto& bar : bars.bars) {
    if (!bar->visible || bar->menuBar) continue;
    fb.Fill({x, y, x + 3, y + 22}, clip, kHeaderLine);  // the bar's grip
    x += 7;
    for (const auto& c : bar->controls) {
      if (c->beginGroup == platform::kTrue) x += 3;
      if (c->style == platform::kMsoButtonIcon) {
        // The host's icon for the face: a framed tile with the tooltip's initial.
        const Pixel face = 0x404040 + static_cast<Pixel>(c->faceId * 2654435761u) % 0x808080;
        fb.Fill({x, y, x + 22, y + 22}, clip, face);
        fb.Fill({x + 2, y + 2, x + 20, y + 20}, clip, kWhite);
        DrawText(fb, x + 8, y + 8, c->tooltip.substr(0, 1), face, clip);
        x += 25;
      } else {
        const std::string caption = strip(c->caption);
        DrawText(fb, x + 2, y + 8, caption, kHeaderInk, clip);
        x += TextWidth(caption) + 10;
      }
    }
    x += 10;
  }
}

// Every workbook's window shows the bars: those behind show them where the one in front leaves them uncovered.
void SimHost::RepaintCommandBars() {
  for (const auto& frame : frames_) {
    const Rect main = desktop_.WindowRect(frame->main), grid = desktop_.WindowRect(frame->grid);
    desktop_.PaintNow({main.left, main.top + kTitleHeight, main.right, grid.top - kHeaderHeight});
  }
}

void SimHost::PaintGrid(FrameBuffer& fb, const platform::Rect& clip, const Frame& frame) {
  const Rect grid = desktop_.WindowRect(frame.grid);
  SheetOf(frame).Render(fb, {grid.left, grid.top}, clip);
}

void SimHost::CaretChanged(bool atCell) {
  std::weak_ptr<SimHost> weak = weak_from_this();
  if (atCell)
    desktop_.SetCaretSource([weak] { return weak.lock() ? weak.lock()->Caret() : Point{}; });
  else
    desktop_.SetCaretSource(nullptr);
}

void SimHost::AddInCalled() {
  if (desktop_.AddInChangedThreadDpi())
    desktop_.RecordHostError("a call into Excel in the add-in's per-monitor DPI context");
}

void SimHost::EventFailed(const std::string& what) {
  ++failedEvents;
  desktop_.RecordHostError(what);
}

void SimHost::ScrollGrid(int dx, int dy, platform::Point frozen) {
  // The host scrolls the window's pixels, band and all, and paints only what
  // comes into view; the headers are painted afresh. Pixels of windows lying
  // over the grid are theirs: they neither move nor are moved onto. A pane
  // takes pixels only from itself, and the frozen corner keeps its own.
  FrameBuffer& fb = desktop_.Screen();
  const Rect grid = GridRect();
  const Rect visible = Intersect(grid, fb.Bounds());
  const int splitX = grid.left + frozen.x, splitY = grid.top + frozen.y;
  const auto above = desktop_.WindowsAbove(MainWindow());
  auto shown = [&](int x, int y) {
    if (x < visible.left || x >= visible.right || y < visible.top || y >= visible.bottom) return false;
    for (const Rect& r : above)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return false;
    return true;
  };
  FrameBuffer old = fb;
  desktop_.PaintArea(desktop_.WindowRect(MainWindow()));
  for (int y = visible.top; y < visible.bottom; ++y)
    for (int x = visible.left; x < visible.right; ++x) {
      const int fromX = x < splitX ? x : x - dx, fromY = y < splitY ? y : y - dy;
      if (shown(x, y) && shown(fromX, fromY) && (fromX < splitX) == (x < splitX) && (fromY < splitY) == (y < splitY))
        fb.Set(x, y, old.Get(fromX, fromY));
    }
  // The grid's paint message covers what came into view in each pane.
  const Rect panes[] = {{splitX, grid.top, grid.right, splitY},
                        {grid.left, splitY, splitX, grid.bottom},
                        {splitX, splitY, grid.right, grid.bottom}};
  const Point moves[] = {{dx, 0}, {0, dy}, {dx, dy}};
  for (int i = 0; i < 3; ++i)
    for (const Rect& uncovered : UncoveredByScroll(panes[i], moves[i])) desktop_.TellPainted(uncovered);
}

void SimHost::MoveGrid(const platform::Rect& rect, GridMove how) {
  // The grid's size message comes with the move; the paints follow it.
  desktop_.SendWindowMessage(shown_->grid, platform::GridMessage::Sized, [] {});
  const Rect before = GridRect();
  desktop_.MoveWindow(shown_->desk, rect);
  desktop_.MoveWindow(shown_->grid, rect);
  if (how == GridMove::Place) {
    RepaintAll();
  } else if (before.left != rect.left || before.top != rect.top) {
    MovedGridKeepsItsPixels(before, rect);
  } else {
    // Only what the new size exposes or gives back is painted; the rest keeps its pixels.
    const int right = std::max(before.right, rect.right), bottom = std::max(before.bottom, rect.bottom);
    desktop_.PaintNow({std::min(before.right, rect.right), rect.top, right, bottom});
    desktop_.PaintNow({rect.left, std::min(before.bottom, rect.bottom), right, bottom});
    desktop_.PaintNow({rect.left, rect.top - kHeaderHeight, right, rect.top});
    desktop_.PaintNow({std::max(0, rect.left - 38), rect.top, rect.left, bottom});
  }
}

// Windows keeps a moved window's client pixels, band and all, as far as the
// new size still holds them, and paints only what the new size uncovers.
void SimHost::MovedGridKeepsItsPixels(const Rect& before, const Rect& after) {
  FrameBuffer& fb = desktop_.Screen();
  const FrameBuffer old = fb;
  desktop_.PaintArea(desktop_.WindowRect(MainWindow()));
  const int dx = after.left - before.left, dy = after.top - before.top;
  const Rect kept =
      Intersect({after.left, after.top, after.left + std::min(before.right - before.left, after.right - after.left),
                 after.top + std::min(before.bottom - before.top, after.bottom - after.top)},
                fb.Bounds());
  const auto above = desktop_.WindowsAbove(MainWindow());
  auto shown = [&](int x, int y) {
    if (!fb.Bounds().Empty() && (x < 0 || y < 0 || x >= fb.Width() || y >= fb.Height())) return false;
    for (const Rect& r : above)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return false;
    return true;
  };
  for (int y = kept.top; y < kept.bottom; ++y)
    for (int x = kept.left; x < kept.right; ++x)
      if (shown(x, y) && shown(x - dx, y - dy)) fb.Set(x, y, old.Get(x - dx, y - dy));
  std::vector<Rect> uncovered;
  platform::SubtractRect(after, kept, uncovered);
  for (const Rect& part : uncovered) desktop_.TellPainted(part);
}

void SimHost::SetDpi(int dpi) {
  // The sheet is drawn at its monitor's resolution, the system's unless the monitor has one of its own.
  for (const auto& book : model_->Workbooks()) book->sheet.dpi = desktop_.monitorDpi.value_or(dpi);
  desktop_.dpi = dpi;
  RepaintAll();
}

bool SimHost::ResizeScreen(int width, int height) {
  const int wider = width - desktop_.Screen().Width(), taller = height - desktop_.Screen().Height();
  auto resized = [&](const Frame& frame) {
    const Rect grid = desktop_.WindowRect(frame.grid);
    return Rect{grid.left, grid.top, grid.right + wider, grid.bottom + taller};
  };
  for (const auto& frame : frames_)
    if (resized(*frame).Empty()) return false;
  desktop_.ResizeScreen(width, height);
  for (const auto& frame : frames_) {
    const Rect grid = resized(*frame);
    const Rect main = desktop_.WindowRect(frame->main);
    desktop_.MoveWindow(frame->main, {main.left, main.top, main.left + width, main.top + height});
    desktop_.MoveWindow(frame->desk, grid);
    desktop_.MoveWindow(frame->grid, grid);
  }
  RepaintAll();
  return true;
}

}  // namespace rowtint::sim
