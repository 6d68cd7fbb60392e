#include "engine/locate_cell.h"

#include <functional>

#include "engine/address_text.h"
#include "engine/band_geometry.h"
#include "engine/excel_windows.h"
#include "engine/numeric.h"
#include "engine/scoped_gdi.h"

namespace rowtint::engine {
namespace {
namespace host = platform::host;
using platform::Point;

// Rows or columns of mixed sizes are halved until each part has one size;
// past this many questions the sizes are left to the scaled estimate.
constexpr int kMostSizeQuestions = 64;

// The pixels spans of rows and columns take on the screen, from the sizes
// Excel gives in points, each rounded as Excel draws it. A span of one size
// costs a question or two, however long it is.
class SpanPixels {
 public:
  SpanPixels(RunHostValues& host, int dpi, std::int32_t zoomPercent) : host_(host), dpi_(dpi), zoom_(zoomPercent) {}

  std::optional<std::int64_t> Rows(std::int32_t first, std::int32_t last) {
    if (last < first) return 0;
    if (--questions_ < 0) return std::nullopt;
    if (const auto height = host_.App().GetRange(BlockAddress(first, 1, last, 1))->RowHeight())
      return std::int64_t{last - first + 1} * SizePixels(*height, dpi_, zoom_);
    return Halves(first, last, &SpanPixels::Rows);
  }

  // `widthOfFirst` is the first column's width in points, when already known.
  std::optional<std::int64_t> Columns(std::int32_t first, std::int32_t last, std::optional<double> widthOfFirst = {}) {
    if (last < first) return 0;
    if (--questions_ < 0) return std::nullopt;
    // The columns' width comes in characters: a width in points is the first column's own.
    if (host_.App().GetRange(BlockAddress(1, first, 1, last))->ColumnWidth()) {
      const double width =
          widthOfFirst ? *widthOfFirst : host_.App().GetRange(BlockAddress(1, first, 1, first))->Width();
      return std::int64_t{last - first + 1} * SizePixels(width, dpi_, zoom_);
    }
    return Halves(first, last, [](SpanPixels& self, std::int32_t a, std::int32_t b) { return self.Columns(a, b); });
  }

 private:
  template <class Part>
  std::optional<std::int64_t> Halves(std::int32_t first, std::int32_t last, Part part) {
    if (first == last) return std::nullopt;
    const std::int32_t middle = first + (last - first) / 2;
    const auto before = std::invoke(part, *this, first, middle);
    if (!before) return std::nullopt;
    const auto after = std::invoke(part, *this, middle + 1, last);
    if (!after) return std::nullopt;
    return *before + *after;
  }

  RunHostValues& host_;
  int dpi_;
  std::int32_t zoom_;
  int questions_ = kMostSizeQuestions;
};

// The active cell's corner from the pane that shows it: the pane begins at
// the grid's corner, or past the frozen rows and columns when it shows the
// scrolled part, with its first row and column; each row and column before
// the active cell's takes its whole pixels. Nothing when the cell lies
// outside the pane's view or the sizes cannot all be had.
std::optional<Point> AddedUp(RunHostValues& host, Point gridOrigin, int dpi, std::int32_t zoomPercent) {
  const AddressHalves visible = SplitRangeAddress(host.VisibleAddress());
  const std::string& active = host.ActiveAddress();
  const std::int32_t row = host.RowOf(active), column = host.ColumnOf(active);
  const std::int32_t top = host.RowOf(visible.topLeft), left = host.ColumnOf(visible.topLeft);
  if (row < top || column < left) return std::nullopt;
  SpanPixels pixels(host, dpi, zoomPercent);
  const std::int32_t frozenRows = host.FrozenRows(), frozenColumns = host.FrozenColumns();
  const auto above = pixels.Rows(top > frozenRows ? 1 : top, top > frozenRows ? frozenRows : 0);
  const auto rows = pixels.Rows(top, row - 1);
  const auto leftOf = pixels.Columns(left > frozenColumns ? 1 : left, left > frozenColumns ? frozenColumns : 0);
  // The first visible cell's width is its column's.
  const auto columns = pixels.Columns(left, column - 1, host.CellAt(visible.topLeft).Width());
  if (!above || !rows || !leftOf || !columns) return std::nullopt;
  return Point{ToInt32(static_cast<double>(gridOrigin.x + *leftOf + *columns)),
               ToInt32(static_cast<double>(gridOrigin.y + *above + *rows))};
}

// Excel's own answer: the active cell at the corner, and another cell (or
// none) just up and left of it.
bool ExcelAgrees(RunHostValues& host, Point corner) {
  auto& window = host.ActiveWindow();
  const auto at = window.RangeFromPoint(corner.x, corner.y);
  if (!at || at->Address() != host.ActiveAddress()) return false;
  const auto before = window.RangeFromPoint(corner.x - 1, corner.y - 1);
  return !before || before->Address() != host.ActiveAddress();
}

Point Scaled(RunHostValues& host, int dpi, std::int32_t zoomPercent) {
  auto& pane = host.Pane();
  auto& cell = host.ActiveCell();
  const double scale = dpi / 72.0 * zoomPercent / 100.0;
  return {pane.PointsToScreenPixelsX(0) + ToInt32(cell.Left() * scale),
          pane.PointsToScreenPixelsY(0) + ToInt32(cell.Top() * scale)};
}
}  // namespace

CellCorner LocateActiveCell(platform::WindowQueries& windows, platform::WindowHandle grid, RunHostValues& host, int dpi,
                            std::int32_t zoomPercent, bool everyWay) {
  CellCorner found;
  Point gridOrigin;
  {
    const ScopedPerMonitorDpi own(windows);
    platform::WindowHandle caretWindow = 0;
    platform::Rect caret;
    if (grid && windows.GetThreadCaret(caretWindow, caret) && caretWindow == grid) {
      Point corner{caret.left, caret.top};
      windows.ClientToScreen(grid, corner);
      found.byCaret = corner;
    }
    if (!found.byCaret || everyWay) gridOrigin = ClientOrigin(windows, grid);
  }
  if (!found.byCaret || everyWay) {
    found.byPane = AddedUp(host, gridOrigin, dpi, zoomPercent);
    found.confirmed = found.byPane && ExcelAgrees(host, *found.byPane);
    if (!found.confirmed || everyWay) found.byScale = Scaled(host, dpi, zoomPercent);
  }
  found.corner = found.byCaret ? *found.byCaret : found.confirmed ? *found.byPane : *found.byScale;
  return found;
}

}  // namespace rowtint::engine
