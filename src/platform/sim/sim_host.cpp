#include "platform/sim/sim_host.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/sim/glyphs.h"
#include "platform/sim/sim_excel_objects.h"

namespace rowtint::sim {
namespace {
namespace host = platform::host;

constexpr Pixel kTitleGreen = 0x467321;
constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kChrome = 0xF3F3F3;
constexpr Pixel kHeaderFill = 0xE6E6E6;
constexpr Pixel kHeaderInk = 0x404040;
constexpr Pixel kHeaderLine = 0xC0C0C0;
constexpr int kTitleHeight = 28;
constexpr int kHeaderHeight = 18;

class NamedObject : public host::Object {
 public:
  explicit NamedObject(std::string name) : name_(std::move(name)) {}
  std::string TypeName() override { return name_; }
  std::shared_ptr<host::Range> AsRange() override {
    platform::Raise(platform::err::kNotSupported, "Object doesn't support this property or method");
  }

 private:
  std::string name_;
};

class SinkConnection : public host::EventConnection {
 public:
  SinkConnection(std::weak_ptr<SimHost> host, std::vector<host::AppEvents*>& sinks, host::AppEvents* sink)
      : host_(std::move(host)), sinks_(sinks), sink_(sink) {}
  ~SinkConnection() override {
    if (host_.lock()) std::erase(sinks_, sink_);
  }

 private:
  std::weak_ptr<SimHost> host_;
  std::vector<host::AppEvents*>& sinks_;
  host::AppEvents* sink_;
};
}  // namespace

SimHost::SimHost(SimDesktop& desktop, std::shared_ptr<CommandBarStore> bars)
    : desktop_(desktop), bars_(std::move(bars)) {}

std::shared_ptr<SimHost> SimHost::Start(SimDesktop& desktop, std::shared_ptr<CommandBarStore> bars,
                                        platform::Rect gridRect, const SheetModel* workbook, HostFaults* faults) {
  if (!bars) bars = std::make_shared<CommandBarStore>();
  std::shared_ptr<SimHost> h(new SimHost(desktop, std::move(bars)));
  h->faults_ = faults;
  if (workbook) h->sheet_ = *workbook;
  std::weak_ptr<SimHost> weak = h;
  h->mainWindow_ = desktop.CreateWindow("XLMAIN", 0, desktop.Screen().Bounds(), [weak](FrameBuffer& fb, const Rect& c) {
    if (auto self = weak.lock()) self->PaintMainWindow(fb, c);
  });
  h->gridWindow_ = desktop.CreateWindow("EXCEL7", h->mainWindow_, gridRect, [weak](FrameBuffer& fb, const Rect& c) {
    if (auto self = weak.lock()) self->PaintGrid(fb, c);
  });
  desktop.SetFocusWindow(h->gridWindow_);
  desktop.SetActiveWindowHandle(h->mainWindow_);
  desktop.SetCaretSource([weak] { return weak.lock() ? weak.lock()->Caret() : Point{}; });
  h->RepaintAll();
  return h;
}

SimHost::~SimHost() { Close(); }

void SimHost::Close() {
  if (!mainWindow_) return;
  desktop_.DestroyWindow(mainWindow_);
  desktop_.SetCaretSource(nullptr);
  mainWindow_ = gridWindow_ = 0;
  desktop_.FlushRepaints();
}

platform::Rect SimHost::GridRect() const { return desktop_.WindowRect(gridWindow_); }

std::shared_ptr<host::Application> SimHost::Application() { return MakeApplication(shared_from_this()); }

Point SimHost::Caret() { return {sheet_.ColumnEdge(sheet_.active.column), sheet_.RowEdge(sheet_.active.row)}; }

void SimHost::RepaintAll() { desktop_.PaintNow(desktop_.WindowRect(mainWindow_)); }

void SimHost::RepaintCell(CellRef cell) {
  const Rect grid = GridRect();
  desktop_.PaintNow(
      Intersect(grid, {grid.left + sheet_.ColumnEdge(cell.column), grid.top + sheet_.RowEdge(cell.row),
                       grid.left + sheet_.ColumnEdge(cell.column + 1), grid.top + sheet_.RowEdge(cell.row + 1)}));
}

void SimHost::PaintMainWindow(FrameBuffer& fb, const platform::Rect& clip) {
  const Rect main = desktop_.WindowRect(mainWindow_);
  const Rect grid = GridRect();
  fb.Fill(main, clip, kChrome);
  fb.Fill({main.left, main.top, main.right, main.top + kTitleHeight}, clip, kTitleGreen);
  DrawText(fb, main.left + 10, main.top + 10, "Book1 - Excel", kWhite, clip);
  PaintCommandBars(fb, clip, grid.top - kHeaderHeight);

  // Column headers above the grid, row headers left of it.
  const Rect colHeads{grid.left, grid.top - kHeaderHeight, grid.right, grid.top};
  fb.Fill(colHeads, clip, kHeaderFill);
  const CellRef last = sheet_.LastVisible(grid.right - grid.left, grid.bottom - grid.top);
  for (std::int32_t c = sheet_.scroll.column; c <= last.column; ++c) {
    const int left = grid.left + sheet_.ColumnEdge(c), right = grid.left + sheet_.ColumnEdge(c + 1);
    const Rect head = Intersect(colHeads, {left, colHeads.top, right, colHeads.bottom});
    const std::string letters = ColumnLetters(c);
    DrawText(fb, (left + right - TextWidth(letters)) / 2, colHeads.top + 5, letters, kHeaderInk, Intersect(head, clip));
    fb.Fill({right - 1, colHeads.top, right, colHeads.bottom}, Intersect(colHeads, clip), kHeaderLine);
  }
  const Rect rowHeads{std::max(main.left, grid.left - 38), grid.top, grid.left, grid.bottom};
  fb.Fill(rowHeads, clip, kHeaderFill);
  for (std::int32_t r = sheet_.scroll.row; r <= last.row; ++r) {
    const int top = grid.top + sheet_.RowEdge(r), bottom = grid.top + sheet_.RowEdge(r + 1);
    const Rect head = Intersect(rowHeads, {rowHeads.left, top, rowHeads.right, bottom});
    const std::string number = std::to_string(r);
    DrawText(fb, rowHeads.right - 3 - TextWidth(number), top + std::max(1, (bottom - top - kGlyphHeight) / 2), number,
             kHeaderInk, Intersect(head, clip));
    fb.Fill({rowHeads.left, bottom - 1, rowHeads.right, bottom}, Intersect(rowHeads, clip), kHeaderLine);
  }
}

// The active menu bar in one row, the visible toolbars in the next, as far
// as they fit above the grid's headers.
void SimHost::PaintCommandBars(FrameBuffer& fb, const platform::Rect& clip, int bottom) {
  const Rect main = desktop_.WindowRect(mainWindow_);
  auto strip = [](std::string caption) {
    std::erase(caption, '&');
    return caption;
  };
  int y = main.top + kTitleHeight + 4;
  if (bars_->activeMenuBar && y + 14 <= bottom) {
    int x = main.left + 8;
    for (const auto& c : bars_->activeMenuBar->controls) {
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
  for (const auto& bar : bars_->bars) {
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

void SimHost::RepaintCommandBars() {
  const Rect main = desktop_.WindowRect(mainWindow_);
  desktop_.PaintNow({main.left, main.top + kTitleHeight, main.right, GridRect().top - kHeaderHeight});
}

void SimHost::PaintGrid(FrameBuffer& fb, const platform::Rect& clip) {
  const Rect grid = GridRect();
  sheet_.Render(fb, {grid.left, grid.top}, clip);
}

void SimHost::Raise(const std::function<void(host::AppEvents&)>& event) {
  const auto sinks = sinks_;
  for (auto* sink : sinks) {
    if (std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) continue;
    try {
      event(*sink);
    } catch (const platform::PlatformError& e) {
      ++failedEvents;
      desktop_.RecordHostError(std::to_string(e.Number()) + " " + e.Description());
    }
  }
}

std::unique_ptr<host::EventConnection> SimHost::Advise(host::AppEvents& sink) {
  sinks_.push_back(&sink);
  return std::make_unique<SinkConnection>(weak_from_this(), sinks_, &sink);
}

void SimHost::Select(const Area& area) {
  const CellRef previous = sheet_.active;
  sheet_.selection = area;
  sheet_.active = area.first;
  sheet_.objectSelected = false;
  // The host brings the active cell into view before it tells anyone of the change.
  const Rect grid = GridRect();
  ScrollView(sheet_.ScrollToShow(sheet_.active, grid.right - grid.left, grid.bottom - grid.top));
  RepaintCell(previous);
  RepaintCell(sheet_.active);
  auto target = MakeRange(shared_from_this(), area);
  Raise([&](host::AppEvents& s) { s.SheetSelectionChange(std::make_shared<NamedObject>("Worksheet"), target); });
}

void SimHost::SelectShape() {
  sheet_.objectSelected = true;
  RepaintCell(sheet_.active);
}

void SimHost::Scroll(CellRef topLeft) {
  ScrollView(
      {std::clamp(topLeft.row, 1, SheetModel::kMaxRows), std::clamp(topLeft.column, 1, SheetModel::kMaxColumns)});
}

void SimHost::ScrollView(CellRef topLeft) {
  const CellRef before = sheet_.scroll;
  if (topLeft == before) return;
  sheet_.scroll = topLeft;
  // The host scrolls the window's pixels, band and all, and paints only what
  // comes into view; the headers are painted afresh. Pixels of windows lying
  // over the grid are theirs: they neither move nor are moved onto.
  const int dx = sheet_.ColumnEdge(before.column), dy = sheet_.RowEdge(before.row);
  FrameBuffer& fb = desktop_.Screen();
  const Rect visible = Intersect(GridRect(), fb.Bounds());
  const auto above = desktop_.WindowsAbove(mainWindow_);
  auto shown = [&](int x, int y) {
    if (x < visible.left || x >= visible.right || y < visible.top || y >= visible.bottom) return false;
    for (const Rect& r : above)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return false;
    return true;
  };
  FrameBuffer old = fb;
  RepaintAll();
  for (int y = visible.top; y < visible.bottom; ++y)
    for (int x = visible.left; x < visible.right; ++x)
      if (shown(x, y) && shown(x - dx, y - dy)) fb.Set(x, y, old.Get(x - dx, y - dy));
}

void SimHost::MoveGrid(platform::Rect rect) {
  const Rect before = GridRect();
  desktop_.MoveWindow(gridWindow_, rect);
  if (before.left != rect.left || before.top != rect.top) {
    RepaintAll();
  } else {
    // Only what the new size exposes or gives back is painted; the rest keeps its pixels.
    const int right = std::max(before.right, rect.right), bottom = std::max(before.bottom, rect.bottom);
    desktop_.PaintNow({std::min(before.right, rect.right), rect.top, right, bottom});
    desktop_.PaintNow({rect.left, std::min(before.bottom, rect.bottom), right, bottom});
    desktop_.PaintNow({rect.left, rect.top - kHeaderHeight, right, rect.top});
    desktop_.PaintNow({std::max(0, rect.left - 38), rect.top, rect.left, bottom});
  }
  Raise([&](host::AppEvents& s) {
    s.WindowResize(std::make_shared<NamedObject>("Workbook"), std::make_shared<NamedObject>("Window"));
  });
}

void SimHost::PlaceGrid(platform::Rect rect) {
  desktop_.MoveWindow(gridWindow_, rect);
  RepaintAll();
}

void SimHost::SetDpi(int dpi) {
  sheet_.dpi = dpi;
  desktop_.dpi = dpi;
  RepaintAll();
}

void SimHost::SetZoom(std::int32_t percent) {
  sheet_.zoom = percent;
  RepaintAll();
}

void SimHost::SetRowHeight(std::int32_t row, double points) {
  sheet_.SetRowHeight(row, points);
  RepaintAll();
}

void SimHost::SetColumnWidth(std::int32_t column, double points) {
  sheet_.SetColumnWidth(column, points);
  RepaintAll();
}

void SimHost::SetText(CellRef cell, const std::string& text) {
  sheet_.SetText(cell, text);
  RepaintCell(cell);
}

void SimHost::ActivateSheet() {
  Raise([](host::AppEvents& s) { s.SheetActivate(std::make_shared<NamedObject>("Worksheet")); });
}

void SimHost::ActivateWorkbook() {
  Raise([](host::AppEvents& s) { s.WorkbookActivate(std::make_shared<NamedObject>("Workbook")); });
}

void SimHost::Print() {
  platform::VbBool cancel = platform::kFalse;
  Raise([&](host::AppEvents& s) { s.WorkbookBeforePrint(std::make_shared<NamedObject>("Workbook"), cancel); });
}

void SimHost::ResizeScreen(int width, int height, platform::Rect gridRect) {
  desktop_.ResizeScreen(width, height);
  desktop_.MoveWindow(mainWindow_, {0, 0, width, height});
  desktop_.MoveWindow(gridWindow_, gridRect);
  RepaintAll();
}

}  // namespace rowtint::sim
