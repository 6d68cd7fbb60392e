#include "engine/run_host_values.h"

namespace rowtint::engine {
namespace host = platform::host;

namespace {
bool Shows(host::Pane& pane, std::int32_t row, std::int32_t column) {
  const auto visible = pane.VisibleRange();
  const std::int32_t top = visible->Row(), left = visible->Column();
  return row >= top && row < top + visible->Rows()->Count() && column >= left &&
         column < left + visible->Columns()->Count();
}
}  // namespace

std::shared_ptr<host::Pane> PaneShowing(host::Window& window, host::Range& cell) {
  const std::int32_t count = window.PaneCount();
  if (count > 1) {
    const std::int32_t row = cell.Row(), column = cell.Column();
    for (std::int32_t i = 1; i <= count; ++i)
      if (auto pane = window.PaneAt(i); Shows(*pane, row, column)) return pane;
  }
  return window.ActivePane();
}

host::Window& RunHostValues::ActiveWindow() {
  if (!window_) window_ = app_.ActiveWindow();
  return *window_;
}

std::int32_t RunHostValues::ScrollRow() {
  if (!scrollRow_) scrollRow_ = ActiveWindow().ScrollRow();
  return *scrollRow_;
}

std::int32_t RunHostValues::ScrollColumn() {
  if (!scrollColumn_) scrollColumn_ = ActiveWindow().ScrollColumn();
  return *scrollColumn_;
}

RunHostValues::CellValues& RunHostValues::Cell(const std::string& address) {
  for (auto& known : cells_)
    if (known.address == address) return known;
  auto range = app_.GetRange(address);
  cells_.push_back({address, std::move(range), std::nullopt, std::nullopt});
  return cells_.back();
}

host::Range& RunHostValues::CellAt(const std::string& address) { return *Cell(address).range; }

std::int32_t RunHostValues::RowOf(const std::string& address) {
  auto& cell = Cell(address);
  if (!cell.row) cell.row = cell.range->Row();
  return *cell.row;
}

std::int32_t RunHostValues::ColumnOf(const std::string& address) {
  auto& cell = Cell(address);
  if (!cell.column) cell.column = cell.range->Column();
  return *cell.column;
}

double RunHostValues::ActiveCellHeight() {
  if (!height_) height_ = app_.ActiveCell()->Height();
  return *height_;
}

host::Range& RunHostValues::ActiveCell() {
  if (!activeCell_) activeCell_ = ActiveWindow().ActiveCell();
  return *activeCell_;
}

const std::string& RunHostValues::ActiveAddress() {
  if (!activeAddress_) activeAddress_ = ActiveCell().Address();
  return *activeAddress_;
}

host::Pane& RunHostValues::Pane() {
  if (!pane_) pane_ = PaneShowing(ActiveWindow(), ActiveCell());
  return *pane_;
}

const std::string& RunHostValues::VisibleAddress() {
  if (!visibleAddress_) visibleAddress_ = Pane().VisibleRange()->Address();
  return *visibleAddress_;
}

bool RunHostValues::FreezePanes() {
  if (!frozen_) frozen_ = ActiveWindow().FreezePanes();
  return *frozen_;
}

std::int32_t RunHostValues::FrozenRows() {
  if (!frozenRows_) frozenRows_ = FreezePanes() ? ActiveWindow().SplitRow() : 0;
  return *frozenRows_;
}

std::int32_t RunHostValues::FrozenColumns() {
  if (!frozenColumns_) frozenColumns_ = FreezePanes() ? ActiveWindow().SplitColumn() : 0;
  return *frozenColumns_;
}

}  // namespace rowtint::engine
