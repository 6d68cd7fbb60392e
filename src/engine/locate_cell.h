// Where the active cell's top-left corner lies on the screen. Excel before
// 2013 keeps the system caret there; today's Excel may keep none at a cell
// that is selected but not edited, and then the pane that shows the cell
// places it: its screen origin plus the cell's distance from the sheet's
// edge, in points scaled to the grid's pixels.
#pragma once

#include <optional>

#include "engine/run_host_values.h"
#include "platform/window_queries.h"

namespace rowtint::engine {

struct CellCorner {
  platform::Point corner;                  // the one the band is placed at
  std::optional<platform::Point> byCaret;  // each way that was asked, for the diagnostics log
  std::optional<platform::Point> byPane;
};

// The pane whose visible range holds the cell; the active one when none
// does (the cell out of view), or when the window has only one.
std::shared_ptr<platform::host::Pane> PaneShowing(platform::host::Window& window, platform::host::Range& cell);

// `dpi` and `zoom` (a fraction, 1 at 100 %) are the grid's. With `bothWays`
// the pane is asked even when the caret answers. Raises what the host raises.
CellCorner LocateActiveCell(platform::WindowQueries& windows, platform::WindowHandle grid, RunHostValues& host, int dpi,
                            double zoom, bool bothWays);

}  // namespace rowtint::engine
