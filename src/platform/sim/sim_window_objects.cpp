// The simulated host's window and its panes: one showing the whole grid,
// or with a freeze, one for each part of it, in the host's order (the top
// row of panes first, each row from the left).
#include <vector>

#include "platform/sim/sim_object_parts.h"

namespace rowtint::sim {
namespace {
namespace host = platform::host;
using platform::Raise;

constexpr std::int32_t kDisconnected = -2147417848;  // RPC_E_DISCONNECTED as the host reports it

// Which frozen part a pane shows: the frozen rows, the frozen columns, both or neither.
struct PaneSide {
  bool frozenRows = false;
  bool frozenColumns = false;
};

std::vector<PaneSide> Panes(const SheetModel& sheet) {
  std::vector<PaneSide> panes;
  for (const bool rows : {true, false})
    for (const bool columns : {true, false})
      if ((!rows || sheet.frozen.row > 0) && (!columns || sheet.frozen.column > 0)) panes.push_back({rows, columns});
  return panes;
}

// The window's first shown cell (A1 with a freeze both ways) or a pane's, and the last one the grid shows.
Area Shown(ExcelModel& h, PaneSide side, bool window) {
  const SheetModel& sheet = h.Sheet();
  const auto grid = h.View().GridClient();
  const CellRef last = sheet.LastVisible(grid.right - grid.left, grid.bottom - grid.top);
  const bool rowsFrom1 = window ? sheet.frozen.row > 0 : side.frozenRows;
  const bool columnsFrom1 = window ? sheet.frozen.column > 0 : side.frozenColumns;
  return {{rowsFrom1 ? 1 : sheet.scroll.row, columnsFrom1 ? 1 : sheet.scroll.column},
          {!window && side.frozenRows ? sheet.frozen.row : last.row,
           !window && side.frozenColumns ? sheet.frozen.column : last.column}};
}

class SimPane : public host::Pane {
 public:
  SimPane(HostRef host, PaneSide side) : host_(std::move(host)), side_(side) {}
  std::int32_t ScrollRow() override { return side_.frozenRows ? 1 : host_().Sheet().scroll.row; }
  std::int32_t ScrollColumn() override { return side_.frozenColumns ? 1 : host_().Sheet().scroll.column; }
  std::shared_ptr<host::Range> VisibleRange() override { return NewRange(host_, Shown(host_(), side_, false)); }
  // The sheet's edge lies where the pane shows it, scrolled out of view
  // above or left of it; a distance is scaled as the sheet's sizes are.
  std::int32_t PointsToScreenPixelsX(std::int32_t points) override {
    auto& h = host_();
    const SheetModel& sheet = h.Sheet();
    return h.View().GridOrigin().x + (side_.frozenColumns ? 0 : sheet.ScrolledColumnEdge(1)) +
           ScaledPixels(sheet, points);
  }
  std::int32_t PointsToScreenPixelsY(std::int32_t points) override {
    auto& h = host_();
    const SheetModel& sheet = h.Sheet();
    return h.View().GridOrigin().y + (side_.frozenRows ? 0 : sheet.ScrolledRowEdge(1)) + ScaledPixels(sheet, points);
  }

 private:
  static std::int32_t ScaledPixels(const SheetModel& sheet, std::int32_t points) {
    return RoundEven(points * static_cast<double>(sheet.dpi) / 72 * sheet.zoom / 100);
  }
  HostRef host_;
  PaneSide side_;
};

class SimWindow : public host::Window, public WindowMainHandle {
 public:
  SimWindow(HostRef host, int workbookId) : host_(std::move(host)), workbookId_(workbookId) {}
  bool HasMainHandle() override {
    auto h = host_.Peek();
    return h && h->WindowPerWorkbook();
  }
  std::optional<platform::WindowHandle> MainHandle() override {
    auto& h = host_();
    if (!h.WindowPerWorkbook()) return std::nullopt;
    return h.View().MainWindowOf(workbookId_);
  }
  double Zoom() override { return Own().zoom; }
  // The first scrollable row and column: past the frozen ones.
  std::int32_t ScrollRow() override { return Own().scroll.row; }
  std::int32_t ScrollColumn() override { return Own().scroll.column; }
  std::shared_ptr<host::Range> VisibleRange() override { return NewRange(host_, Shown(host_(), {}, true)); }
  std::shared_ptr<host::Range> ActiveCell() override {
    const CellRef active = host_().Sheet().active;
    return NewRange(host_, Area{active, active});
  }
  std::shared_ptr<host::Range> RangeFromPoint(std::int32_t x, std::int32_t y) override {
    auto& h = host_();
    if (!h.WorkbookById(workbookId_))
      Raise(kDisconnected, "Automation error: the object invoked has disconnected from its clients");
    // Only the window in front shows its grid; another workbook's window answers Nothing.
    if (h.Active().id != workbookId_) return nullptr;
    const auto cell = h.CellAtScreen({x, y});
    if (!cell) return nullptr;
    return NewRange(host_, Area{*cell, *cell});
  }
  std::shared_ptr<host::Pane> ActivePane() override {
    const SheetModel& sheet = host_().Sheet();
    return std::make_shared<SimPane>(
        host_, PaneSide{sheet.active.row <= sheet.frozen.row, sheet.active.column <= sheet.frozen.column});
  }
  bool FreezePanes() override { return Own().frozen != CellRef{0, 0}; }
  std::int32_t SplitRow() override { return Own().frozen.row; }
  std::int32_t SplitColumn() override { return Own().frozen.column; }
  std::int32_t PaneCount() override { return static_cast<std::int32_t>(Panes(host_().Sheet()).size()); }
  std::shared_ptr<host::Pane> PaneAt(std::int32_t index) override {
    const auto panes = Panes(host_().Sheet());
    if (index < 1 || index > static_cast<std::int32_t>(panes.size()))
      Raise(platform::err::kSubscriptOutOfRange, "Subscript out of range");
    return std::make_shared<SimPane>(host_, panes[static_cast<std::size_t>(index - 1)]);
  }

 private:
  // The sheet of this window's own workbook, active or not; a closed
  // window's object is cut off from the host, as Excel's is.
  const SheetModel& Own() {
    const Workbook* book = host_().WorkbookById(workbookId_);
    if (!book) Raise(kDisconnected, "Automation error: the object invoked has disconnected from its clients");
    return book->sheet;
  }
  HostRef host_;
  int workbookId_;
};
}  // namespace

std::shared_ptr<host::Window> NewWindow(const HostRef& host, int workbookId) {
  return std::make_shared<SimWindow>(host, workbookId);
}

}  // namespace rowtint::sim
