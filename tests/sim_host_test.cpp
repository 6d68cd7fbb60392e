// The simulated host as a user sees it: a selection brings the active cell
// into view as little as it can, before the add-in hears of it, and a scroll
// moves the grid's pixels by exactly the rows scrolled, leaving the pixels of
// windows above the grid alone.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

class SimHostTest : public SimTest {};

TEST_F(SimHostTest, ASelectionScrollsTheLeastThatShowsTheActiveCellWhole) {
  // The 1200 by 640 grid shows rows 1 to 32 and columns A to R whole, S in part.
  struct Case {
    const char* select;
    sim::CellRef scroll;
  } cases[] = {
      {"C32", {1, 1}},             // whole already
      {"C33", {2, 1}},             // one row below: one row
      {"C40", {9, 1}},             // row 40 becomes the last whole row
      {"C3:D3", {3, 1}},           // above: it becomes the top row
      {"S3", {3, 2}},              // the partly shown column: one column
      {"A3", {3, 1}},              // left of the view
      {"C1048576", {1048545, 1}},  // the sheet's last row
  };
  for (const auto& c : cases) {
    Run(std::string("select ") + c.select);
    EXPECT_EQ(Host().Sheet().scroll, c.scroll) << c.select;
    EXPECT_EQ(session_.AddIn()->SelScrollRow(), c.scroll.row) << c.select << ": the event came after the scroll";
  }
  // A cell taller than the grid shows its top.
  Run({"scroll 1 1", "zoom 200", "row-height 20 409", "select C20"});
  EXPECT_EQ(Host().Sheet().scroll, (sim::CellRef{20, 1}));
}

TEST_F(SimHostTest, ScrollingMovesThePixelsByExactlyTheRowsScrolled) {
  // Rows whose sizes at 75 % are not whole numbers of the standard row's pixels.
  Run({"zoom 75", "row-height 2 12.75", "row-height 3 9.75", "row-height 4 30", "set C6 text", "set B9 more",
       "select C8"});
  const sim::FrameBuffer before = Desktop().Screen();
  Run("scroll 4 2");
  const int dy = -Host().Sheet().RowEdge(1), dx = -Host().Sheet().ColumnEdge(1);
  ASSERT_EQ(dy, 15 + 13 + 10) << "each row rounded to whole pixels at 75 %";
  ASSERT_EQ(dx, 48);
  const Rect grid = Host().GridRect();
  int moved = 0, wrong = 0;
  for (int y = grid.top; y < grid.bottom - dy; ++y)
    for (int x = grid.left; x < grid.right - dx; ++x, ++moved)
      if (ScreenAt(x, y) != before.Get(x + dx, y + dy)) ++wrong;
  EXPECT_EQ(wrong, 0) << "of " << moved << " pixels moved by (" << dx << ", " << dy << ")";
  // What came into view is the host's own drawing.
  const auto content = Desktop().ContentSnapshot();
  int exposed = 0;
  for (int y = grid.top; y < grid.bottom; ++y)
    for (int x = grid.left; x < grid.right; ++x)
      if ((y >= grid.bottom - dy || x >= grid.right - dx) && ScreenAt(x, y) != content.Get(x, y)) ++exposed;
  EXPECT_EQ(exposed, 0);
}

TEST_F(SimHostTest, WindowsOverTheGridKeepTheirPixelsWhenItScrolls) {
  Run({"set E14 under", "select C12", "click Option"});
  const Rect form = Desktop().WindowRect(Forms().WindowOf(*Forms().ActiveForm()));
  const sim::FrameBuffer before = Desktop().Screen();
  Host().Scroll({4, 2});  // as another program might; a script cannot while the form is up
  int changed = 0;
  for (int y = form.top; y < form.bottom; ++y)
    for (int x = form.left; x < form.right; ++x)
      if (ScreenAt(x, y) != before.Get(x, y)) ++changed;
  EXPECT_EQ(changed, 0);
  // Nor does the grid take pixels from under the form: outside the form and
  // the band it shows what the host draws.
  const auto content = Desktop().ContentSnapshot();
  const Rect grid = Host().GridRect();
  const Rect band = S().LastBandRect;
  int foreign = 0;
  for (int y = grid.top; y < grid.bottom; ++y)
    for (int x = grid.left; x < grid.right; ++x) {
      const bool inForm = x >= form.left && x < form.right && y >= form.top && y < form.bottom;
      const bool inMovedBand = x >= band.left - 64 && x < band.right - 64 && y >= band.top - 60 && y < band.bottom - 60;
      if (!inForm && !inMovedBand && ScreenAt(x, y) != content.Get(x, y)) ++foreign;
    }
  EXPECT_EQ(foreign, 0);
}

}  // namespace
}  // namespace rowtint::testing
