// The simulated host's window and its one pane, which shows the whole grid.
#include "platform/sim/sim_object_parts.h"

namespace rowtint::sim {
namespace {
namespace host = platform::host;
using platform::Raise;

class SimPane : public host::Pane {
 public:
  explicit SimPane(HostRef host) : host_(std::move(host)) {}
  std::int32_t ScrollRow() override { return host_().Sheet().scroll.row; }
  std::int32_t ScrollColumn() override { return host_().Sheet().scroll.column; }
  std::shared_ptr<host::Range> VisibleRange() override {
    auto& h = host_();
    const auto grid = h.View().GridClient();
    const CellRef last = h.Sheet().LastVisible(grid.right - grid.left, grid.bottom - grid.top);
    return NewRange(host_, Area{h.Sheet().scroll, last});
  }
  // The sheet's edge lies where the grid shows it, scrolled out of view
  // above or left of the grid; a distance is scaled as the sheet's sizes are.
  std::int32_t PointsToScreenPixelsX(std::int32_t points) override {
    auto& h = host_();
    const SheetModel& sheet = h.Sheet();
    return h.View().GridOrigin().x + sheet.ColumnEdge(1) + ScaledPixels(sheet, points);
  }
  std::int32_t PointsToScreenPixelsY(std::int32_t points) override {
    auto& h = host_();
    const SheetModel& sheet = h.Sheet();
    return h.View().GridOrigin().y + sheet.RowEdge(1) + ScaledPixels(sheet, points);
  }

 private:
  static std::int32_t ScaledPixels(const SheetModel& sheet, std::int32_t points) {
    return RoundEven(points * static_cast<double>(sheet.dpi) / 72 * sheet.zoom / 100);
  }
  HostRef host_;
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
  double Zoom() override { return host_().Sheet().zoom; }
  std::int32_t ScrollRow() override { return host_().Sheet().scroll.row; }
  std::int32_t ScrollColumn() override { return host_().Sheet().scroll.column; }
  std::shared_ptr<host::Range> VisibleRange() override { return SimPane(host_).VisibleRange(); }
  std::shared_ptr<host::Range> ActiveCell() override {
    const CellRef active = host_().Sheet().active;
    return NewRange(host_, Area{active, active});
  }
  std::shared_ptr<host::Pane> ActivePane() override {
    host_();
    return std::make_shared<SimPane>(host_);
  }
  bool FreezePanes() override {
    host_();
    return false;
  }
  std::int32_t SplitRow() override {
    host_();
    return 0;
  }
  std::int32_t SplitColumn() override {
    host_();
    return 0;
  }
  std::int32_t PaneCount() override {
    host_();
    return 1;
  }
  std::shared_ptr<host::Pane> PaneAt(std::int32_t index) override {
    host_();
    if (index != 1) Raise(platform::err::kSubscriptOutOfRange, "Subscript out of range");
    return std::make_shared<SimPane>(host_);
  }

 private:
  HostRef host_;
  int workbookId_;
};
}  // namespace

std::shared_ptr<host::Window> NewWindow(const HostRef& host, int workbookId) {
  return std::make_shared<SimWindow>(host, workbookId);
}

}  // namespace rowtint::sim
