// The band's geometry, the skip conditions and the erase paths, read off
// the shared state and the desktop's records after each paint.
#include <gtest/gtest.h>

#include "engine/highlight_state.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

constexpr Rect kNoRect{};
constexpr Rect kDefaultGrid{40, 120, 1240, 760};

class PainterTest : public SimTest {
 protected:
  // Column A is 150 points wide, so that B11 sits at (300, 400) on a grid at (100, 200).
  void WorkedExampleLayout() { Run({"grid 100 200 900 700", "col-width A 150"}); }
};

TEST_F(PainterTest, WorkedExample) {
  WorkedExampleLayout();
  Run("select B11");
  EXPECT_EQ(S().GridRect, (Rect{100, 200, 900, 700}));
  EXPECT_EQ(S().CaretPoint, (platform::Point{300, 400}));
  EXPECT_EQ(S().LeftBandRect, (Rect{107, 400, 300, 419}));
  EXPECT_EQ(S().RightBandRect, (Rect{364, 400, 880, 419}));
  EXPECT_EQ(S().LastBandRect, (Rect{107, 400, 880, 419}));
  const auto drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].rect, S().LeftBandRect);
  EXPECT_EQ(drawn[1].rect, S().RightBandRect);
  EXPECT_EQ(drawn[0].color, 14600886);
  EXPECT_EQ(drawn[0].rop, 9);
}

TEST_F(PainterTest, ZoomSeventyFiveWithATwelveAndThreeQuarterPointRow) {
  WorkedExampleLayout();
  Run({"zoom 75", "row-height 11 12.75", "select B11"});
  EXPECT_EQ(S().LeftBandRect.bottom - S().LeftBandRect.top, 12);
}

TEST_F(PainterTest, TheBandHasTheRowsRealSizeAtTheScreensResolution) {
  // At 96 dots per inch a 15-point row is 20 pixels, at 144 (150 %) 30, and
  // a 48-point column 64 and 96: the band spans the row less its gridline,
  // and the right part starts where the active cell ends.
  struct Case {
    int dpi;
    int rowPixels;
    int columnPixels;
  } cases[] = {{96, 20, 64}, {144, 30, 96}, {120, 25, 80}};
  for (const auto& c : cases) {
    Run({("dpi " + std::to_string(c.dpi)).c_str(), "select A1", "select C5"});
    const auto& sheet = Host().Sheet();
    EXPECT_EQ(sheet.RowEdge(6) - sheet.RowEdge(5), c.rowPixels) << c.dpi;
    EXPECT_EQ(S().LeftBandRect.bottom - S().LeftBandRect.top, c.rowPixels - 1) << c.dpi;
    EXPECT_EQ(S().RightBandRect.left - S().LeftBandRect.right, c.columnPixels) << c.dpi;
    EXPECT_EQ(S().LeftBandRect.top - S().GridRect.top, sheet.RowEdge(5)) << c.dpi;
  }
}

TEST_F(PainterTest, PlaceholdersAreReplacedAndKept) {
  S().HighlightColor = 0;
  S().RopMode = 0;
  Run("select C5");
  const auto drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].color, 14600886);
  EXPECT_EQ(drawn[0].rop, 9);
  EXPECT_EQ(S().HighlightColor, 14600886);
  EXPECT_EQ(S().RopMode, 9);
}

TEST_F(PainterTest, FirstPaintAfterStartUpErasesTheWholeGrid) {
  // Nothing is known yet of what the screen shows: no band, no scroll it was drawn at.
  Run("paint");
  const auto records = Records();
  ASSERT_FALSE(records.invalidated.empty());
  EXPECT_EQ(records.invalidated.front(), kDefaultGrid);
}

// Where the active cell stands decides whether a band is drawn and whether
// the run reaches its end (PaintScrollRow) and gives the foreground back.
struct PositionCase {
  const char* name;
  const char* selection;
  bool draws;
  bool reachesEnd;
  friend void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.name; }
};

class PainterPositionTest : public SimTest, public ::testing::WithParamInterface<PositionCase> {};

TEST_P(PainterPositionTest, DrawsOnlyWhereTheRowAllows) {
  const auto& c = GetParam();
  // The scroll bars move the view, not the selection: visible rows 5 to 36.
  Run(std::string("select ") + c.selection);
  Run("scroll 5 1");
  S().PaintScrollRow = 1;
  Records();
  Run("paint");
  const auto records = Records();
  EXPECT_EQ(!records.drawn.empty(), c.draws);
  EXPECT_EQ(S().PaintScrollRow, c.reachesEnd ? 5 : 1);
  EXPECT_EQ(records.foregroundCalls.size(), c.reachesEnd ? 2u : 1u);
  EXPECT_FALSE(records.invalidated.empty()) << "the previous band is always erased";
}

INSTANTIATE_TEST_SUITE_P(Rows, PainterPositionTest,
                         ::testing::Values(PositionCase{"FirstVisibleRow", "C5", false, true},
                                           PositionCase{"SecondVisibleRow", "C6", true, true},
                                           PositionCase{"RowAboveTheLastVisible", "C35", false, true},
                                           PositionCase{"TwoAboveTheLastVisible", "C34", true, true},
                                           PositionCase{"LastVisibleRow", "C36", false, false},
                                           PositionCase{"AboveTheView", "C2", false, false},
                                           PositionCase{"OneRowTwoColumns", "C10:D10", true, true},
                                           PositionCase{"OneRowThreeColumns", "C10:E10", false, true},
                                           PositionCase{"TwoRows", "C10:C11", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PainterTest, SwitchedOffOnlyErases) {
  Run("select C5");
  const Rect band = S().LastBandRect;
  S().HighlightOff = platform::kTrue;
  S().PaintScrollRow = 99;
  Records();
  Run("paint");
  const auto records = Records();
  EXPECT_TRUE(records.drawn.empty());
  EXPECT_EQ(records.invalidated.size(), 1u);
  EXPECT_EQ(records.invalidated.front(), band);
  EXPECT_EQ(S().PaintScrollRow, 99);
}

TEST_F(PainterTest, ErasePaths) {
  Run("select C5");
  const Rect band = S().LastBandRect;
  Records();

  // Nothing scrolled: the last band goes.
  Run("paint");
  EXPECT_EQ(Records().invalidated.front(), band);

  // Whole grid asked for: the whole grid goes and the flag is consumed.
  S().RedrawWholeGrid = platform::kTrue;
  Run("paint");
  EXPECT_EQ(Records().invalidated.front(), kDefaultGrid);
  EXPECT_FALSE(engine::IsTrue(S().RedrawWholeGrid));

  // Scrolled two rows: the strip at the caret's new row, as wide as the last band.
  Run("scroll 3 1");
  Run("paint");
  const Rect strip = Records().invalidated.front();
  EXPECT_EQ(strip, (Rect{band.left, 120 + 40, band.right, 120 + 40 + 19}));

  // Scrolled sideways: the band moved along its row into the grid's margins, and the whole grid goes.
  Run("scroll 3 2");
  Run("paint");
  EXPECT_EQ(Records().invalidated.front(), kDefaultGrid);
  Run("paint");
  EXPECT_EQ(Records().invalidated.front(), S().LastBandRect) << "the sideways scroll is seen once";
}

TEST_F(PainterTest, WithTheFocusOutsideTheHostTheLastGridIsErasedAndNothingDrawn) {
  Run({"select C5", "scroll 3 1", "click About"});
  Records();
  Run("paint");
  const auto records = Records();
  // The caret marks no cell now: the scrolled band can only be sure to go with the whole grid.
  ASSERT_EQ(records.invalidated.size(), 1u);
  EXPECT_EQ(records.invalidated.front(), kDefaultGrid);
  EXPECT_EQ(S().GridRect, kDefaultGrid) << "the form is no grid";
  EXPECT_TRUE(records.drawn.empty());
}

TEST_F(PainterTest, ColumnCheckRefusesOnceThenLetsThrough) {
  // Column T starts at 40 + 19 * 64 = 1256, right of the grid: outside the
  // visible columns once the sheet is scrolled back to column A.
  Run({"select T10", "scroll 1 1"});
  Records();
  Run("paint");
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_FALSE(engine::IsTrue(S().ColumnCheckArmed));

  Run("paint");
  const auto drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  // The caret lies right of the grid: the left part stops 20 short of its
  // edge, and the right part, starting past the edge, is one pixel wide.
  EXPECT_EQ(S().LeftBandRect.right, 1220);
  EXPECT_EQ(S().RightBandRect.left, 1284);
  EXPECT_EQ(S().RightBandRect.right, 1285);

  Run("activate-sheet");
  EXPECT_TRUE(engine::IsTrue(S().ColumnCheckArmed));
}

TEST_F(PainterTest, ForegroundMovesOnlyAfterVersionNine) {
  const auto main = S().ExcelMainWnd;
  Run({"version 9.0", "select C5"});
  EXPECT_TRUE(Records().foregroundCalls.empty());
  Run({"version 10.0", "select C6"});
  const auto calls = Records().foregroundCalls;
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], main);
  EXPECT_EQ(calls[1], main);  // the active window when the run began
}

TEST_F(PainterTest, ASelectionThatIsNotCellsEndsTheRunQuietly) {
  Run({"select C5", "select-object"});
  S().PaintScrollRow = 77;
  Records();
  Run("paint");
  const auto records = Records();
  EXPECT_TRUE(records.drawn.empty());
  EXPECT_EQ(records.invalidated.size(), 1u) << "the erase before the failure stays done";
  EXPECT_EQ(S().PaintScrollRow, 77);
  EXPECT_EQ(Desktop().OpenDcCount(), 0);
  EXPECT_EQ(Desktop().OpenBrushCount(), 0);
}

TEST_F(PainterTest, NoHostMeansNothingIsTouched) {
  S().HostApp.reset();
  Records();
  Band().PaintRowBand();
  const auto records = Records();
  EXPECT_TRUE(records.invalidated.empty());
  EXPECT_TRUE(records.drawn.empty());
}

TEST_F(PainterTest, BandThatDoesNotFitEndsTheRunAndGivesTheBrushBack) {
  // Row 32 starts 17 pixels above the grid's bottom and is 3 pixels high:
  // 743 < (760 - 20) + 3 does not hold. Rows 33 and 34 still start inside the grid.
  Run({"row-height 31 17.25", "row-height 32 3", "row-height 33 3"});
  S().PaintScrollRow = 1;
  Records();
  Run("select C32");
  EXPECT_EQ(S().CaretPoint.y, 743);
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_EQ(S().PaintScrollRow, 1) << "the run ended before its finish";
  EXPECT_EQ(Desktop().OpenDcCount(), 0);
  EXPECT_EQ(Desktop().OpenBrushCount(), 0);
}

}  // namespace
}  // namespace rowtint::testing
