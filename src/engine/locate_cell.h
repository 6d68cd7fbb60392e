// Where the active cell's top-left corner lies on the screen. Excel before
// 2013 keeps the system caret there; today's Excel may keep none at a cell
// that is selected but not edited. Then the pane that shows the cell places
// it: from the pane's first row and column, each row's and column's size in
// whole pixels as Excel draws them, and Excel's own RangeFromPoint confirms
// the corner. Where it does not, the pane's origin plus the cell's distance
// in points, scaled, is the best there is.
#pragma once

#include <optional>

#include "engine/run_host_values.h"
#include "platform/window_queries.h"

namespace rowtint::engine {

struct CellCorner {
  platform::Point corner;                  // the one the band is placed at
  std::optional<platform::Point> byCaret;  // each way that was asked, for the diagnostics log
  std::optional<platform::Point> byPane;   // the sizes in pixels, added up from the pane's corner
  bool confirmed = false;                  // Excel's RangeFromPoint agreed with byPane
  std::optional<platform::Point> byScale;  // the pane's origin plus the cell's distance in points, scaled
};

// `dpi` and `zoomPercent` are the grid's. With `everyWay` the pane is asked,
// and its corner confirmed, even when the caret answers. Raises what the host
// raises. The caret and the grid are asked for in the per-monitor DPI
// context, Excel in the one the thread was in.
CellCorner LocateActiveCell(platform::WindowQueries& windows, platform::WindowHandle grid, RunHostValues& host, int dpi,
                            std::int32_t zoomPercent, bool everyWay);

}  // namespace rowtint::engine
