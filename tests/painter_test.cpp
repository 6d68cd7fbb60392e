// The band's geometry, the skip conditions and the erase paths, read off
// the shared state and the desktop's records after each paint.
#include <gtest/gtest.h>

#include "engine/band_choices.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

constexpr Rect kDefaultGrid{40, 120, 1240, 760};

class PainterTest : public SimTest {};

TEST_F(PainterTest, TheFirstPaintOfAConnectionErasesTheWholeGridAndFillsInThePlaceholders) {
  // Nothing is known yet of what the screen shows: no band, no scroll it was drawn at.
  Run("paint");
  const auto first = Records().invalidated;
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.front(), kDefaultGrid);
  // A stored colour of 0 is the placeholder too.
  Run({"shutdown", "setting RGB RGB-bc 0", "start"});
  ASSERT_EQ(S().RopMode, 0);
  ASSERT_EQ(S().HighlightColor, 0);
  Records();
  Run("select C5");
  const auto records = Records();
  ASSERT_FALSE(records.invalidated.empty());
  EXPECT_EQ(records.invalidated.front(), kDefaultGrid);
  ASSERT_EQ(records.drawn.size(), 2u);
  EXPECT_EQ(records.drawn[0].color, 14600886);
  EXPECT_EQ(records.drawn[0].rop, 9);
  EXPECT_EQ(S().HighlightColor, 14600886);
  EXPECT_EQ(S().RopMode, 9);
  EXPECT_EQ(TimerInterval(), 300u);
}

TEST_F(PainterTest, TheBandHasTheRowsRealSizeAtTheScreensResolutionAndZoom) {
  // At 96 dots per inch a 15-point row is 20 pixels, at 144 (150 %) 30, and
  // a 48-point column 64 and 96: the band spans the row less its gridline,
  // and the right part starts where the active cell ends.
  struct Case {
    int dpi, zoom;
    const char* rowPoints;
    int bandHeight, cellWidth;
  } cases[] = {{96, 100, "15", 19, 64}, {144, 100, "15", 29, 96}, {120, 100, "15", 24, 80}, {96, 75, "12.75", 12, 48}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi * 1000 + c.zoom);
    Run({"dpi " + std::to_string(c.dpi), "zoom " + std::to_string(c.zoom), std::string("row-height 5 ") + c.rowPoints,
         "select A1", "select C5"});
    EXPECT_EQ(S().LeftBandRect.bottom - S().LeftBandRect.top, c.bandHeight);
    EXPECT_EQ(S().RightBandRect.left - S().LeftBandRect.right, c.cellWidth);
    EXPECT_EQ(S().LeftBandRect.top - S().GridRect.top, Host().Sheet().RowEdge(5));
  }
}

// Where the active cell stands decides whether a band is drawn and whether
// the run reaches its end (PaintScrollRow).
struct PositionCase {
  const char* name;
  std::vector<std::string> lines;
  bool draws;
  bool reachesEnd;
  friend void PrintTo(const PositionCase& c, std::ostream* os) { *os << c.name; }
};

class PainterPositionTest : public SimTest, public ::testing::WithParamInterface<PositionCase> {};

TEST_P(PainterPositionTest, DrawsOnlyWhereTheRowAllows) {
  const auto& c = GetParam();
  // Each case ends with a scroll the band does not follow: a run that
  // reaches its end notes the new scroll row, one that ends early does not.
  RunWithUnseenScrolls(c.lines);
  const std::int32_t before = S().PaintScrollRow;
  ASSERT_NE(before, Host().Sheet().scroll.row);
  Records();
  Run("paint");
  const auto records = Records();
  EXPECT_EQ(!records.drawn.empty(), c.draws);
  EXPECT_EQ(S().PaintScrollRow, c.reachesEnd ? Host().Sheet().scroll.row : before);
  EXPECT_TRUE(records.foregroundCalls.empty());
  ASSERT_FALSE(records.invalidated.empty()) << "the previous band is always erased";
  if (c.draws) {
    EXPECT_EQ(NotBand(S().LeftBandRect), 0);
    EXPECT_EQ(NotBand(S().RightBandRect), 0);
  }
}

// The scroll bars move the view, not the selection: with "scroll 5 1" rows 5 to 36 are shown.
INSTANTIATE_TEST_SUITE_P(
    Rows, PainterPositionTest,
    ::testing::Values(PositionCase{"FirstVisibleRow", {"select C5", "scroll 5 1"}, false, true},
                      PositionCase{"SecondVisibleRow", {"select C6", "scroll 5 1"}, true, true},
                      PositionCase{"RowAboveTheLastVisible", {"select C35", "scroll 5 1"}, false, true},
                      PositionCase{"TwoAboveTheLastVisible", {"select C34", "scroll 5 1"}, true, true},
                      PositionCase{"LastVisibleRow", {"select C36", "scroll 5 1"}, false, false},
                      PositionCase{"AboveTheView", {"select C2", "scroll 5 1"}, false, false},
                      PositionCase{"OneRowTwoColumns", {"select C10:D10", "scroll 5 1"}, true, true},
                      PositionCase{"OneRowThreeColumns", {"select C10:E10", "scroll 5 1"}, false, true},
                      PositionCase{"TwoRows", {"select C10:C11", "scroll 5 1"}, false, true},
                      // Scrolled to row 2, row 33 starts 17 pixels above the grid's bottom (743): 12 pixels
                      // high it fits, 743 < (760 - 20) + 11; 3 high it does not. Rows 34 and 35 still start
                      // inside the grid.
                      PositionCase{"LowRowThatFits",
                                   {"row-height 32 17.25", "row-height 33 9", "row-height 34 3", "scroll 3 1",
                                    "select C33", "scroll 2 1"},
                                   true,
                                   true},
                      PositionCase{"LowRowThatDoesNotFit",
                                   {"row-height 32 17.25", "row-height 33 3", "row-height 34 3", "scroll 3 1",
                                    "select C33", "scroll 2 1"},
                                   false,
                                   false},
                      // A shape selected: the run ends quietly after its erase.
                      PositionCase{
                          "SelectionThatIsNotCells", {"select C5", "select-object", "scroll 5 1"}, false, false},
                      PositionCase{"SwitchedOff", {"select C5", "switch", "scroll 5 1"}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PainterTest, ErasePaths) {
  Run("select C5");
  const Rect band = S().LastBandRect;
  Records();

  // Nothing scrolled: the last band goes.
  Run("paint");
  EXPECT_EQ(Records().invalidated.front(), band);

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

  // A selection after a scroll the band did not follow asks for the whole
  // grid; the paint it starts takes the request, and the next erases the band alone.
  RunWithUnseenScrolls({"scroll 5 2", "select C9"});
  EXPECT_EQ(Records().invalidated.front(), kDefaultGrid);
  EXPECT_FALSE(S().RedrawWholeGrid);
  Run("paint");
  EXPECT_EQ(Records().invalidated.front(), S().LastBandRect);
}

TEST_F(PainterTest, WithTheFocusInTheAddInsFormTheLastGridIsErasedAndNothingDrawn) {
  RunWithUnseenScrolls({"select C5", "scroll 3 1", "click About"});
  Records();
  Run("paint");
  const auto records = Records();
  // The caret marks no cell now: the scrolled band can only be sure to go with the whole grid.
  ASSERT_EQ(records.invalidated.size(), 1u);
  EXPECT_EQ(records.invalidated.front(), kDefaultGrid);
  EXPECT_EQ(S().GridRect, kDefaultGrid) << "the form is no grid";
  EXPECT_TRUE(records.drawn.empty());
  Run({"tick", "paint"});
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_EQ(TintIn(FormRect()), 0) << "tint inside the form";
}

TEST_F(PainterTest, ColumnCheckRefusesOnceThenLetsThrough) {
  // Column T starts at 40 + 19 * 64 = 1256, right of the grid: outside the
  // visible columns once the sheet is scrolled back to column A.
  RunWithUnseenScrolls({"select T10", "scroll 1 1"});
  Records();
  Run("paint");
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_FALSE(S().ColumnCheckArmed);

  Run("paint");
  const auto drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  // The caret lies right of the grid: the left part stops 20 short of its
  // edge, and the right part, starting past the edge, is one pixel wide.
  EXPECT_EQ(S().LeftBandRect.right, 1220);
  EXPECT_EQ(S().RightBandRect.left, 1284);
  EXPECT_EQ(S().RightBandRect.right, 1285);
}

// Drawing through the grid's DC or on an overlay needs no window in front: a
// paint calls SetForegroundWindow in no version, and with one of the add-in's
// forms up the foreground and the keyboard focus stay on the form.
TEST_F(PainterTest, APaintNeverMovesTheForeground) {
  for (const char* version : {"9.0", "10.0", "16.0"}) {
    Run({std::string("version ") + version, "select C5"});
    EXPECT_TRUE(Records().foregroundCalls.empty()) << version;
  }
  RunWithUnseenScrolls({"select C9", "scroll 3 1", "click Option"});
  const auto form = Forms().WindowOf(*Forms().ActiveForm());
  Records();
  Run("tick");
  const auto records = Records();
  EXPECT_FALSE(records.invalidated.empty()) << "the tick painted";
  EXPECT_TRUE(records.foregroundCalls.empty());
  EXPECT_EQ(Desktop().Foreground(), form);
  EXPECT_EQ(Desktop().GetFocus(), form);
}

// With rows frozen the band stands in the pane that shows the active cell:
// a band in a frozen row stays put on a scroll, a row scrolled under the
// frozen ones gets none, and without a caret the pane places it alike.
TEST_F(PainterTest, WithFrozenRowsTheBandStaysInThePaneOfTheActiveCell) {
  struct Case {
    const char* caret;
    const char* freeze;
    const char* select;
    const char* scroll;
    int bandTop;  // -1: no band after the scroll
  } cases[] = {
      {"on", "freeze 2 0", "select D2", "scroll 9 1", 140},   {"off", "freeze 2 0", "select D2", "scroll 9 1", 140},
      {"on", "freeze 2 0", "select D5", "scroll 9 1", -1},    {"off", "freeze 2 0", "select D5", "scroll 9 1", -1},
      {"on", "freeze 2 0", "select E12", "scroll 11 1", 180}, {"off", "freeze 2 0", "select E12", "scroll 11 1", 180},
      {"off", "freeze 3 2", "select C3", "scroll 20 5", 160}, {"off", "freeze 0 2", "select F20", "scroll 1 4", 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.caret) + " " + c.select);
    Run({"freeze off", "select A1", std::string("caret ") + c.caret, c.freeze, c.select, "tick"});
    Records();
    Run({c.scroll, "tick"});
    if (c.bandTop < 0) {
      EXPECT_TRUE(Records().drawn.empty());
      EXPECT_EQ(TintOutside(), 0) << "nothing left of the band";
    } else {
      EXPECT_FALSE(Records().drawn.empty());
      EXPECT_EQ(S().LeftBandRect.top, c.bandTop);
      EXPECT_EQ(TintOutside(S().LastBandRect), 0);
    }
  }
}

}  // namespace
}  // namespace rowtint::testing
