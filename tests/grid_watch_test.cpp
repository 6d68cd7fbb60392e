// The band between the painter's runs: the wheel scrolls the grid with no
// event and no tick, and Excel repaints parts of the grid of its own accord.
// The band must stand on the active row at once, and be whole, after each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

class GridWatchTest : public SimTest {
 protected:
  // The band's two parts, whole, and no tint anywhere else.
  void ExpectBandWhole(const std::string& why, bool invert = false) {
    const sim::Pixel brush = static_cast<sim::Pixel>(S().HighlightColor);
    const Rect grid = S().GridRect;
    EXPECT_EQ(NotBand(S().LeftBandRect, grid, brush, invert), 0) << why << ": left part";
    EXPECT_EQ(NotBand(S().RightBandRect, grid, brush, invert), 0) << why << ": right part";
    EXPECT_EQ(TintOutside(S().LastBandRect), 0) << why << ": tint outside the band";
  }
  // The top of the band when it stands on `row` of the 20-pixel rows, the grid starting at 120.
  static int TopOfScreenRow(int shownRow) { return 120 + 20 * (shownRow - 1); }
};

// Rows are 20 pixels high; "wheel N" scrolls N rows with no event and no tick.
struct WheelCase {
  const char* name;
  std::vector<std::string> before;
  const char* wheel;
  int bandTop;  // -1: no band may be shown
};

TEST_F(GridWatchTest, TheWheelTakesTheBandAlongWithinItsOwnMessage) {
  const WheelCase cases[] = {
      {"down three", {"select D12", "tick"}, "wheel 3", TopOfScreenRow(9)},
      {"back up", {"scroll 6 1", "select D12", "tick"}, "wheel -2", TopOfScreenRow(9)},
      {"without a caret", {"caret off", "select D12", "tick"}, "wheel 4", TopOfScreenRow(8)},
      // Row 12 goes above the view: the band goes with it, nothing is left behind.
      {"out of view", {"select D12", "tick"}, "wheel 20", -1},
      // In a frozen row the band stays put; below the frozen rows it moves with the rest.
      {"frozen row", {"freeze 2 0", "select D2", "tick"}, "wheel 5", TopOfScreenRow(2)},
      {"below the frozen rows", {"freeze 2 0", "select D9", "tick"}, "wheel 3", TopOfScreenRow(6)},
  };
  for (const auto& c : cases) {
    Run({"select A1", "freeze off", "caret on", "scroll 1 1"});
    Run(c.before);
    Run(c.wheel);
    if (c.bandTop < 0) {
      EXPECT_EQ(TintOutside(), 0) << c.name;
      continue;
    }
    EXPECT_EQ(S().LastBandRect.top, c.bandTop) << c.name;
    ExpectBandWhole(c.name);
  }
}

// A band switched off stays off under the wheel; after a print, which stops
// the timer, the band the wheel carried away is left where Excel's pixels took
// it, and nothing is drawn anew until the next selection.
TEST_F(GridWatchTest, AfterTheSwitchOrAPrintTheWheelDrawsNoBand) {
  for (const char* before : {"click Switch", "print"}) {
    SCOPED_TRACE(before);
    Run({"select A1", "scroll 1 1", "select D12", "tick", before});
    const Rect band = S().LastBandRect;
    Records();
    Run("wheel 3");
    EXPECT_TRUE(Records().drawn.empty());
    if (std::string(before) == "print") {
      EXPECT_EQ(TintOutside({band.left, band.top - 60, band.right, band.bottom - 60}), 0)
          << "the band moved with the rows, three rows up";
      Run("repaint grid");
      EXPECT_EQ(TintOutside(), 0) << "a repaint does not bring back a band the add-in no longer follows";
      Run("select D13");
      EXPECT_EQ(S().LastBandRect.top, TopOfScreenRow(10));
      ExpectBandWhole("the next selection");
    } else {
      EXPECT_EQ(TintOutside(), 0);
      Run({"repaint grid", "tick"});
      EXPECT_EQ(TintOutside(), 0);
      Run("click Switch");
    }
  }
}

// Excel repaints part of the grid; each repaint takes the band there, and
// it comes back exactly, once: drawn twice, the inverting mode would show
// other colours.
TEST_F(GridWatchTest, AfterExcelsOwnRepaintsTheBandIsWholeInBothTextModes) {
  const char* repaints[] = {"repaint row 9", "repaint B9", "repaint H9", "repaint D9", "repaint grid", "repaint A30"};
  for (const bool invert : {false, true}) {
    Run({"set B9 text", "set H9 more text", "select D9", "tick"});
    if (invert) Run({"click Option", "form click Opt_white", "form click cb_ok"});
    const auto drawnBefore = S().LastBandRect;
    for (const char* repaint : repaints) {
      Run({repaint, repaint});
      EXPECT_EQ(S().LastBandRect, drawnBefore) << repaint;
      ExpectBandWhole(std::string(repaint) + (invert ? ", inverting" : ""), invert);
    }
  }
}

TEST_F(GridWatchTest, ARepaintThatLeavesTheBandAloneDrawsNothing) {
  Run({"select D9", "tick"});
  Records();
  Run({"repaint A30", "repaint row 20"});
  const auto records = Records();
  EXPECT_TRUE(records.drawn.empty());
  EXPECT_TRUE(records.invalidated.empty());
}

// A window lying over the band goes: the grid repaints what it uncovers.
TEST_F(GridWatchTest, AWindowThatUncoversTheBandLeavesItWhole) {
  Run({"select D9", "tick", "cover 200 250 700 400"});
  Run("uncover");
  ExpectBandWhole("uncovered");
}

// The grid is watched from the first paint on it, a new workbook's grid from
// the first paint there, and no grid once the add-in is unloaded.
TEST_F(GridWatchTest, EachGridIsWatchedWhileTheAddInIsLoaded) {
  Run({"version 16.0", "select D9"});
  const auto first = Host().GridWindow();
  EXPECT_TRUE(Desktop().Subclassed(first));
  Run({"workbook new", "select E5"});
  const auto second = Host().GridWindow();
  ASSERT_NE(second, first);
  EXPECT_TRUE(Desktop().Subclassed(second));
  Run({"wheel 2"});
  ExpectBandWhole("the second workbook's grid after the wheel");
  Run("workbook close 2");
  EXPECT_FALSE(Desktop().Subclassed(second));
  Run({"wheel 1", "unload"});
  EXPECT_FALSE(Desktop().Subclassed(first));
  EXPECT_EQ(Desktop().PostedWaiting(), 0u);
  Run("wheel 1");
  EXPECT_EQ(TintOutside(), 0) << "no band follows once the add-in is gone";
}

// The repaint timer stays the backstop for a scroll Excel draws outside any
// message to the grid (smooth scrolling in Excel 2013 and later).
TEST_F(GridWatchTest, AScrollNoMessageTellsOfIsFollowedAtTheNextTick) {
  Run({"select D12", "tick"});
  RunWithUnseenScrolls({"scroll 4 1"});
  EXPECT_EQ(S().PaintScrollRow, 1) << "nothing told the add-in yet";
  Run("tick");
  EXPECT_EQ(S().LastBandRect.top, TopOfScreenRow(9));
  ExpectBandWhole("after the tick");
}

}  // namespace
}  // namespace rowtint::testing
