#include "engine/locate_cell.h"

#include "engine/numeric.h"

namespace rowtint::engine {
namespace {
namespace host = platform::host;

bool Shows(host::Pane& pane, std::int32_t row, std::int32_t column) {
  const auto visible = pane.VisibleRange();
  const std::int32_t top = visible->Row(), left = visible->Column();
  return row >= top && row < top + visible->Rows()->Count() && column >= left &&
         column < left + visible->Columns()->Count();
}

platform::Point ByPane(RunHostValues& host, int dpi, double zoom) {
  const auto cell = host.App().ActiveCell();
  const auto pane = PaneShowing(host.ActiveWindow(), *cell);
  const double scale = dpi / 72.0 * zoom;
  return {pane->PointsToScreenPixelsX(0) + ToInt32(cell->Left() * scale),
          pane->PointsToScreenPixelsY(0) + ToInt32(cell->Top() * scale)};
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

CellCorner LocateActiveCell(platform::WindowQueries& windows, platform::WindowHandle grid, RunHostValues& host, int dpi,
                            double zoom, bool bothWays) {
  CellCorner found;
  platform::WindowHandle caretWindow = 0;
  platform::Rect caret;
  if (grid && windows.GetThreadCaret(caretWindow, caret) && caretWindow == grid) {
    platform::Point corner{caret.left, caret.top};
    windows.ClientToScreen(grid, corner);
    found.byCaret = corner;
  }
  if (!found.byCaret || bothWays) found.byPane = ByPane(host, dpi, zoom);
  found.corner = found.byCaret ? *found.byCaret : *found.byPane;
  return found;
}

}  // namespace rowtint::engine
