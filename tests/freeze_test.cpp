// Frozen panes as the user and an add-in meet them: the frozen rows and
// columns stay where they are while the rest scrolls, a selection scrolls
// only the scrollable part, and the window answers with a pane for each
// part, in the host's order, each placing the sheet where the screen shows it.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "platform/error.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;
namespace host = platform::host;

constexpr sim::Pixel kActiveBorder = 0x467321;

struct PaneAnswer {
  std::int32_t scrollRow, scrollColumn;
  const char* visible;
};

class FreezeTest : public SimTest {
 protected:
  std::shared_ptr<host::Window> Window() { return Host().Model().Application()->ActiveWindow(); }
  std::string ErrorOf(const std::string& line) { return ScriptErrorOf(line); }
  // Where the pane says the active cell's top-left corner lies on the screen.
  platform::Point ByPane(host::Pane& pane) {
    const auto cell = Host().Model().Application()->ActiveCell();
    const double scale = Host().Sheet().dpi / 72.0 * Host().Sheet().zoom / 100;
    return {pane.PointsToScreenPixelsX(0) + static_cast<int>(std::lround(cell->Left() * scale)),
            pane.PointsToScreenPixelsY(0) + static_cast<int>(std::lround(cell->Top() * scale))};
  }
};

// The 1200 by 640 grid at 100 %: rows of 20 pixels, columns of 64; A to S and rows 1 to 32 start in it.
TEST_F(FreezeTest, EachPaneAnswersForThePartItShows) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    sim::CellRef windowScroll;
    const char* windowVisible;
    std::vector<PaneAnswer> panes;
    // A cell in each pane, in the panes' order.
    std::vector<const char*> cells;
  } cases[] = {
      {"NoFreeze", {"scroll 5 2"}, {5, 2}, "$B$5:$T$36", {{5, 2, "$B$5:$T$36"}}, {"D9"}},
      {"Rows", {"freeze 2 0"}, {3, 1}, "$A$1:$S$32", {{1, 1, "$A$1:$S$2"}, {3, 1, "$A$3:$S$32"}}, {"D2", "D14"}},
      {"RowsScrolled",
       {"freeze 2 0", "scroll 9 1"},
       {9, 1},
       "$A$1:$S$38",
       {{1, 1, "$A$1:$S$2"}, {9, 1, "$A$9:$S$38"}},
       {"C1", "C20"}},
      {"ColumnScrolled",
       {"freeze 0 1", "scroll 1 4"},
       {1, 4},
       "$A$1:$U$32",
       {{1, 1, "$A$1:$A$32"}, {1, 4, "$D$1:$U$32"}},
       {"A7", "E7"}},
      {"BothScrolled",
       {"freeze 3 2", "scroll 12 5"},
       {12, 5},
       "$A$1:$U$40",
       {{1, 1, "$A$1:$B$3"}, {1, 5, "$E$1:$U$3"}, {12, 1, "$A$12:$B$40"}, {12, 5, "$E$12:$U$40"}},
       {"B2", "G3", "A15", "G15"}},
      {"ScrolledPastTheFreeze",
       {"freeze 3 2", "scroll 1 1"},
       {4, 3},
       "$A$1:$S$32",
       {{1, 1, "$A$1:$B$3"}, {1, 3, "$C$1:$S$3"}, {4, 1, "$A$4:$B$32"}, {4, 3, "$C$4:$S$32"}},
       {"A1", "R1", "B32", "C4"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Run({"freeze off", "caret off"});
    Run(c.lines);
    auto window = Window();
    EXPECT_EQ(window->ScrollRow(), c.windowScroll.row);
    EXPECT_EQ(window->ScrollColumn(), c.windowScroll.column);
    EXPECT_EQ(window->VisibleRange()->Address(), c.windowVisible);
    ASSERT_EQ(window->PaneCount(), static_cast<std::int32_t>(c.panes.size()));
    for (std::size_t i = 0; i < c.panes.size(); ++i) {
      SCOPED_TRACE("pane " + std::to_string(i + 1) + ", " + c.cells[i]);
      auto pane = window->PaneAt(static_cast<std::int32_t>(i + 1));
      EXPECT_EQ(pane->ScrollRow(), c.panes[i].scrollRow);
      EXPECT_EQ(pane->ScrollColumn(), c.panes[i].scrollColumn);
      EXPECT_EQ(pane->VisibleRange()->Address(), c.panes[i].visible);
      // The cell is shown whole already: selecting it scrolls nothing.
      Run(std::string("select ") + c.cells[i]);
      ASSERT_EQ(window->ScrollRow(), c.windowScroll.row);
      ASSERT_EQ(window->ScrollColumn(), c.windowScroll.column);
      auto active = window->ActivePane();
      EXPECT_EQ(active->VisibleRange()->Address(), c.panes[i].visible) << "the active pane holds the active cell";
      // Its border's corner is drawn where the pane says the cell begins, and not a pixel before.
      const platform::Point corner = ByPane(*pane);
      EXPECT_EQ(ScreenAt(corner.x, corner.y), kActiveBorder) << corner;
      EXPECT_EQ(ByPane(*active), corner);
      EXPECT_NE(ScreenAt(corner.x - 1, corner.y + 5), kActiveBorder) << corner;
      EXPECT_NE(ScreenAt(corner.x + 5, corner.y - 1), kActiveBorder) << corner;
    }
    EXPECT_THROW(window->PaneAt(static_cast<std::int32_t>(c.panes.size() + 1)), platform::PlatformError);
  }
}

TEST_F(FreezeTest, ASelectionScrollsOnlyTheScrollablePartTheLeastThatShowsTheCell) {
  // Below three frozen rows and two frozen columns the grid has room for 29 rows and 16 columns whole.
  struct Case {
    const char* select;
    sim::CellRef scroll;
  } cases[] = {
      {"F20", {4, 3}},     // whole already
      {"Z50", {22, 11}},   // below and right: it becomes the last whole row and column
      {"B60", {32, 11}},   // a frozen column: only the rows scroll
      {"E1", {32, 5}},     // a frozen row: only the columns scroll
      {"A2", {32, 5}},     // in the frozen corner: nothing scrolls
      {"H6", {6, 5}},      // under the frozen rows: it becomes the first scrollable row
      {"C300", {272, 3}},  // down and left at once
      {"X40", {40, 9}},    // up and right at once
  };
  Run("freeze 3 2");
  for (const auto& c : cases) {
    Run(std::string("select ") + c.select);
    EXPECT_EQ(Host().Sheet().scroll, c.scroll) << c.select;
  }
  // Scrolling stops at the freeze, and unfreezing shows the top left.
  Run("scroll 1 1");
  EXPECT_EQ(Host().Sheet().scroll, (sim::CellRef{4, 3}));
  Run("freeze off");
  EXPECT_EQ(Host().Sheet().scroll, (sim::CellRef{1, 1}));
  EXPECT_EQ(Window()->PaneCount(), 1);
}

TEST_F(FreezeTest, ScrollingMovesOnlyTheScrollablePixelsAndKeepsTheFrozenOnes) {
  Run({"set A1 heading", "set B2 frozen", "set D14 text", "set A20 side", "freeze 2 1", "select D14"});
  const sim::FrameBuffer before = Desktop().Screen();
  RunWithUnseenScrolls({"scroll 9 3"});
  const Rect grid = Host().GridRect();
  const int top = grid.top + 40, left = grid.left + 64, dy = 6 * 20, dx = 64;
  int frozenChanged = 0, wrong = 0;
  for (int y = grid.top; y < grid.bottom; ++y)
    for (int x = grid.left; x < grid.right; ++x) {
      const bool frozenRow = y < top, frozenColumn = x < left;
      if (frozenRow && frozenColumn) {
        frozenChanged += ScreenAt(x, y) != before.Get(x, y);
        continue;
      }
      // Each pane moves only the way it scrolls, and only with pixels of its own.
      const int fromX = frozenColumn ? x : x + dx, fromY = frozenRow ? y : y + dy;
      if (fromX < grid.right && fromY < grid.bottom) wrong += ScreenAt(x, y) != before.Get(fromX, fromY);
    }
  EXPECT_EQ(frozenChanged, 0);
  EXPECT_EQ(wrong, 0);
}

TEST_F(FreezeTest, AFreezeNoHostCouldMakeIsRefusedAndChangesNothing) {
  struct Case {
    const char* line;
    const char* why;
  } cases[] = {
      {"freeze", "'freeze' takes at least 1 argument, not 0"},
      {"freeze 2", "'freeze' takes 2 arguments, not 1"},
      {"freeze off 1", "'freeze' takes 1 argument, not 2"},
      {"freeze 1 2 3", "'freeze' takes at most 2 arguments, not 3"},
      {"freeze 0 0", "'freeze' takes a row or a column to freeze, or off"},
      {"freeze -1 0", "count of rows from 0 to 1048575"},
      {"freeze 1 16384", "count of columns from 0 to 16383"},
      {"freeze on 1", "whole number for the count of rows, not 'on'"},
      {"freeze 32 0", "'freeze 32 0' leaves the grid no room"},
      {"freeze 0 19", "'freeze 0 19' leaves the grid no room"},
  };
  Run({"freeze 1 1", "scroll 5 5"});
  for (const auto& c : cases) {
    EXPECT_NE(ErrorOf(c.line).find(c.why), std::string::npos) << c.line << ": " << ErrorOf(c.line);
    EXPECT_EQ(Host().Sheet().frozen, (sim::CellRef{1, 1})) << c.line;
    EXPECT_EQ(Host().Sheet().scroll, (sim::CellRef{5, 5})) << c.line;
  }
  // The largest freezes that leave the grid a row or a column.
  for (const char* line : {"freeze 31 0", "freeze 0 18"}) EXPECT_EQ(ErrorOf(line), "") << line;
}

}  // namespace
}  // namespace rowtint::testing
