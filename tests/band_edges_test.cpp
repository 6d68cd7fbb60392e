// The band at the edges of its conditions, as the user sees it on the
// screen: at zooms other than 100, after a wheel scroll with the active cell
// in the leftmost column, in the last, partly shown column, left of the view,
// in a low row that still fits, and after the options form's Cancel.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;
using sim::Pixel;

class BandEdgesTest : public SimTest {
 protected:
  bool In(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
  // Pixels that differ from what the host itself draws, outside `allowed`.
  int TintOutside(const Rect& allowed) {
    const auto content = Desktop().ContentSnapshot();
    int n = 0;
    for (int y = 0; y < content.Height(); ++y)
      for (int x = 0; x < content.Width(); ++x)
        if (!In(allowed, x, y) && ScreenAt(x, y) != content.Get(x, y)) ++n;
    return n;
  }
  // Pixels of r, as far as it lies inside `shown`, that are not what
  // "Primitive Colors Font" makes of the host's drawing.
  int NotBand(const Rect& r, Rect shown = {0, 0, 1280, 800}) {
    const auto content = Desktop().ContentSnapshot();
    const Rect part = sim::Intersect(r, shown);
    int n = 0;
    for (int y = part.top; y < part.bottom; ++y)
      for (int x = part.left; x < part.right; ++x) {
        const bool outline = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
        if (ScreenAt(x, y) != ((outline ? 0 : 14600886u) & content.Get(x, y))) ++n;
      }
    return n;
  }
  // The active cell's rectangle on the screen.
  Rect ActiveCell() {
    const auto& sheet = Host().Sheet();
    const Rect grid = Host().GridRect();
    return {grid.left + sheet.ColumnEdge(sheet.active.column), grid.top + sheet.RowEdge(sheet.active.row),
            grid.left + sheet.ColumnEdge(sheet.active.column + 1), grid.top + sheet.RowEdge(sheet.active.row + 1)};
  }
};

TEST_F(BandEdgesTest, AtEveryZoomTheBandStopsAtTheActiveCellsEdgesAndSpansItsRow) {
  Run({"set B6 left", "set D6 right", "col-width C 60"});
  for (const char* zoom : {"50", "75", "125", "150", "200"}) {
    SCOPED_TRACE(zoom);
    Run({(std::string("zoom ") + zoom).c_str(), "select C6"});
    const Rect cell = ActiveCell();
    EXPECT_EQ(S().LeftBandRect.right, cell.left);
    EXPECT_EQ(S().RightBandRect.left, cell.right) << "the right part starts where the cell ends";
    EXPECT_EQ(S().LeftBandRect.top, cell.top);
    EXPECT_GE(S().LeftBandRect.bottom, cell.bottom - 2) << "the band spans the row but its gridline";
    EXPECT_LE(S().LeftBandRect.bottom, cell.bottom);
    EXPECT_EQ(NotBand(S().LeftBandRect), 0);
    EXPECT_EQ(NotBand(S().RightBandRect), 0);
    EXPECT_EQ(TintOutside(S().LastBandRect), 0);
    // The active cell itself keeps the host's pixels.
    const Rect inside{cell.left, cell.top, cell.right, S().LeftBandRect.bottom};
    EXPECT_EQ(TintOutside({}) - TintOutside(inside), 0);
  }
}

TEST_F(BandEdgesTest, AWheelScrollWithTheActiveCellInTheLeftmostColumnRepaints) {
  Run({"scroll 1 3", "select C10", "tick"});
  ASSERT_EQ(Host().Sheet().scroll, (sim::CellRef{1, 3})) << "C is the leftmost column";
  // Row 10 scrolls to the middle: the band is drawn there anew.
  Run("scroll 4 3");
  Records();
  Run("tick");
  EXPECT_EQ(Records().drawn.size(), 2u);
  EXPECT_EQ(S().LeftBandRect.top, Host().GridRect().top + 6 * 20);
  EXPECT_EQ(TintOutside(S().LastBandRect), 0);
  // Row 10 scrolls to the top, where no band is drawn: the one the wheel carried there goes.
  Run({"scroll 10 3", "tick"});
  EXPECT_EQ(TintOutside({}), 0);
}

TEST_F(BandEdgesTest, TheLastPartlyShownColumnGetsItsBandWhileTheColumnCheckIsArmed) {
  // S is the last column shown, in part; selecting it brings it into view, the scroll bar takes the view back.
  Run({"select S10", "tick", "scroll 1 1", "tick"});
  ASSERT_TRUE(engine::IsTrue(S().ColumnCheckArmed));
  const Rect grid = Host().GridRect();
  const Rect cell = ActiveCell();
  ASSERT_GT(cell.right, grid.right);
  EXPECT_EQ(S().LeftBandRect.right, cell.left);
  EXPECT_EQ(NotBand({grid.left + 7, cell.top, cell.left, S().LeftBandRect.bottom}), 0);
  EXPECT_TRUE(engine::IsTrue(S().ColumnCheckArmed)) << "the column shown in part is no reason to refuse";
  EXPECT_EQ(TintOutside(sim::Intersect(S().LastBandRect, grid)), 0) << "nothing past the grid's edge";
}

TEST_F(BandEdgesTest, ACellLeftOfTheViewDisarmsTheColumnCheckWithoutABand) {
  Run({"select B10", "tick", "scroll 1 4"});
  Records();
  Run("tick");
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_FALSE(engine::IsTrue(S().ColumnCheckArmed));
  const Rect grid = Host().GridRect();
  const Rect row{grid.left + 7, S().LastBandRect.top, grid.right, S().LastBandRect.bottom};
  EXPECT_EQ(TintOutside({}) - TintOutside(row), 0) << "no band in the row";
  // Disarmed, the next paint draws: only the part right of the cell, inside the grid.
  Run("paint");
  EXPECT_EQ(Records().drawn.size(), 2u);
  ASSERT_LT(S().RightBandRect.left, grid.left) << "the cell ends left of the grid";
  EXPECT_EQ(NotBand(S().RightBandRect, {grid.left + 7, grid.top, grid.right, grid.bottom}), 0);
  EXPECT_EQ(TintOutside(grid), 0);
}

TEST_F(BandEdgesTest, ALowRowThatStillFitsGetsItsBand) {
  // Row 32 starts 17 pixels above the grid's bottom and is 12 high: 743 < (760 - 20) + 11.
  // Rows 33 and 34 still start inside the grid, so row 32 is not among the last two.
  Run({"row-height 31 17.25", "row-height 32 9", "row-height 33 3", "select C32"});
  ASSERT_EQ(S().CaretPoint.y, 743);
  ASSERT_EQ(Host().Sheet().scroll, (sim::CellRef{1, 1}));
  EXPECT_EQ(S().LeftBandRect, (Rect{47, 743, 168, 754}));
  EXPECT_EQ(NotBand(S().LeftBandRect), 0);
  EXPECT_EQ(NotBand(S().RightBandRect), 0);
  EXPECT_EQ(TintOutside(S().LastBandRect), 0);
}

TEST_F(BandEdgesTest, CancelRepaintsTheBandWhereTheFormLay) {
  Run("select C16");  // row 16 runs under the centred form
  const Rect band = S().LastBandRect;
  Run("click Option");
  const Rect form = Desktop().WindowRect(Forms().WindowOf(*Forms().ActiveForm()));
  ASSERT_LT(form.top, band.top);
  ASSERT_GT(form.bottom, band.bottom);
  Run("form click cb_cancel");
  EXPECT_EQ(S().LastBandRect, band);
  EXPECT_EQ(NotBand(S().LeftBandRect), 0);
  EXPECT_EQ(NotBand(S().RightBandRect), 0) << "whole again where the form covered it";
  EXPECT_EQ(TintOutside(band), 0);
}

}  // namespace
}  // namespace rowtint::testing
