// The band as the user sees it on the screen: the host's pixels combined
// through the raster operation, the active cell left alone at every zoom and
// at the view's edges, nothing left where a scroll, a form or an unload took
// the band from.
#include <gtest/gtest.h>

#include <vector>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;
using sim::Pixel;

class BandTest : public SimTest {
 protected:
  // The active cell's rectangle on the screen.
  Rect ActiveCell() {
    const auto& sheet = Host().Sheet();
    const Rect grid = Host().GridRect();
    return {grid.left + sheet.ColumnEdge(sheet.active.column), grid.top + sheet.RowEdge(sheet.active.row),
            grid.left + sheet.ColumnEdge(sheet.active.column + 1), grid.top + sheet.RowEdge(sheet.active.row + 1)};
  }
  int Count(const Rect& r, Pixel p) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += ScreenAt(x, y) == p;
    return n;
  }
};

// "Primitive Colors Font" keeps dark text dark, "Invert Colors Font" turns it
// light, and a system colour paints as that colour, the store keeping the reference.
TEST_F(BandTest, TheRasterOperationCombinesTheBandWithTheHostsPixels) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    Pixel brush;
    bool invert;
    Pixel text;  // what the text's black pixels become under the band
  } cases[] = {
      {"primitive", {}, 14600886, false, 0x000000},
      {"invert", {"click Option", "form click Opt_white", "form click cb_ok"}, 14600886, true, 0xFFFFFF},
      {"system colour",
       {"shutdown", "setting RGB RGB-bc -2147483633", "start"},
       sim::ResolveColor(platform::kColorBtnFace),
       false,
       0x000000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Run(c.lines);
    Run({"set A5 Total", "set B5 WWWW", "set D5 12345", "set E5 MMMM", "set C5 88", "select C8", "select C5"});
    EXPECT_EQ(NotBand(S().LeftBandRect, Whole(), c.brush, c.invert), 0);
    EXPECT_EQ(NotBand(S().RightBandRect, Whole(), c.brush, c.invert), 0);
    const Rect& band = S().LeftBandRect;
    const Rect inside{band.left + 1, band.top + 1, band.right - 1, band.bottom - 1};
    EXPECT_GT(Count(inside, c.text), 20) << "the text under the band";
    EXPECT_EQ(ScreenAt(band.left + 1, band.top + 1), c.brush) << "the band over the white grid";
  }
  EXPECT_EQ(S().HighlightColor, -2147483633);
}

TEST_F(BandTest, AtEveryZoomTheBandStopsAtTheActiveCellsEdgesAndSpansItsRow) {
  Run({"set B6 left", "set D6 right", "col-width C 60"});
  for (const char* zoom : {"50", "75", "100", "125", "150", "200"}) {
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
    EXPECT_EQ(TintIn({cell.left, cell.top, cell.right, S().LeftBandRect.bottom}), 0) << "the active cell's pixels";
  }
}

TEST_F(BandTest, AnActiveCellInTheFirstVisibleColumnKeepsItsPixels) {
  Run("select A5");
  // The caret sits on the grid's left edge: the left part is computed reversed.
  ASSERT_GT(S().LeftBandRect.left, S().LeftBandRect.right);
  EXPECT_EQ(TintIn({S().GridRect.left, S().LeftBandRect.top, S().GridRect.left + 7, S().LeftBandRect.bottom}), 0)
      << "the active cell's first pixels are tinted";
  EXPECT_EQ(NotBand(S().RightBandRect), 0);
}

TEST_F(BandTest, TheLastPartlyShownColumnGetsItsBandWhileTheColumnCheckIsArmed) {
  // S is the last column shown, in part; selecting it brings it into view, the scroll bar takes the view back.
  Run({"select S10", "tick", "scroll 1 1", "tick"});
  ASSERT_TRUE(S().ColumnCheckArmed);
  const Rect grid = Host().GridRect();
  const Rect cell = ActiveCell();
  ASSERT_GT(cell.right, grid.right);
  EXPECT_EQ(S().LeftBandRect.right, cell.left);
  EXPECT_EQ(NotBand({grid.left + 7, cell.top, cell.left, S().LeftBandRect.bottom}), 0);
  EXPECT_TRUE(S().ColumnCheckArmed) << "the column shown in part is no reason to refuse";
  EXPECT_EQ(TintOutside(sim::Intersect(S().LastBandRect, grid)), 0) << "nothing past the grid's edge";
}

TEST_F(BandTest, ACellLeftOfTheViewDisarmsTheColumnCheckWithoutABandThenPaintsOnlyInsideTheGrid) {
  RunWithUnseenScrolls({"select B10", "tick", "scroll 1 4"});
  Records();
  Run("tick");
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_FALSE(S().ColumnCheckArmed);
  const Rect grid = Host().GridRect();
  EXPECT_EQ(TintOutside({grid.left + 7, S().LastBandRect.top, grid.right, S().LastBandRect.bottom}), 0)
      << "no band in the row";
  // Disarmed, the next paints draw: only the part right of the cell, inside the grid.
  Run({"paint", "paint"});
  EXPECT_EQ(Records().drawn.size(), 4u);
  ASSERT_LT(S().RightBandRect.left, grid.left) << "the cell ends left of the grid";
  EXPECT_EQ(NotBand(S().RightBandRect, {grid.left + 7, grid.top, grid.right, grid.bottom}), 0);
  EXPECT_EQ(TintOutside(grid), 0) << "nothing over the row headers";
}

TEST_F(BandTest, UnloadingOrAShutdownErasesTheBand) {
  struct Case {
    std::vector<std::string> before;
    const char* end;
  } cases[] = {{{"select C5"}, "unload"},
               {{"load", "select C10", "tick", "scroll 4 1"}, "unload"},  // the scroll not yet seen
               {{"load", "select D12"}, "shutdown"}};
  for (const auto& c : cases) {
    Run(c.before);
    ASSERT_GT(TintOutside(), 1000);
    Run(c.end);
    EXPECT_EQ(TintOutside(), 0) << c.end << " after " << c.before.back();
  }
}

// Each way of closing either form paints the band again: the host's repaint
// of what the form covered takes the band there, and the add-in may not hear
// of that repaint at all (no message reaches the grid's watcher).
TEST_F(BandTest, ClosingEitherFormAnyWayLeavesNoHoleInTheBand) {
  struct Case {
    const char* open;
    const char* close;
  } cases[] = {{"click menu:About", "form click Label5"}, {"click menu:About", "form click Label7"},
               {"click menu:About", "form close"},        {"click Option", "form close"},
               {"click Option", "form click cb_ok"},      {"click Option", "form click cb_cancel"}};
  for (const bool unheard : {false, true})
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.open) + " / " + c.close + (unheard ? ", the repaint unheard" : ""));
      // Row 20 lies under both forms, which open centred on the screen.
      Run("select C20");
      const Rect band = S().LastBandRect;
      Run(c.open);
      ASSERT_LT(FormRect().top, band.top);
      ASSERT_GT(FormRect().bottom, band.bottom);
      Desktop().gridMessagesOff = unheard;
      Run(c.close);
      Desktop().gridMessagesOff = false;
      EXPECT_EQ(S().LastBandRect, band);
      EXPECT_EQ(NotBand(S().LeftBandRect), 0);
      EXPECT_EQ(NotBand(S().RightBandRect), 0) << "whole again where the form covered it";
      EXPECT_EQ(TintOutside(band), 0);
    }
}

// A resize may move the grid: Windows carries a moved window's pixels along,
// the band among them, and the add-in must erase it where they went. After
// each the band stands whole at the active row, and nothing of it is left
// once it is erased.
TEST_F(BandTest, AResizeThatMovesOrSizesEitherEdgeLeavesNoPieceOfTheBand) {
  const char* resizes[] = {"resize 60 140 1000 700", "resize 80 120 1240 760", "resize 40 150 1240 760",
                           "resize 40 120 1100 760", "resize 40 120 1240 700", "resize 20 100 1260 780",
                           "resize 100 160 1200 740"};
  for (const char* resize : resizes) {
    SCOPED_TRACE(resize);
    Run({"resize 40 120 1240 760", "select F12", resize});
    const Rect band = S().LastBandRect;
    EXPECT_EQ(band.top - Host().GridRect().top, Host().Sheet().RowEdge(12));
    EXPECT_EQ(NotBand(S().LeftBandRect) + NotBand(S().RightBandRect), 0);
    EXPECT_EQ(TintOutside(band), 0);
    Run({"select-object", "tick"});
    EXPECT_EQ(TintOutside(), 0);
  }
}

// Scripts in which the host's scroll carries the band away: at the end the
// band stands at the active cell's row with every pixel outside it the
// host's own, or there is no tint at all where no band may be drawn.
struct ScrolledAway {
  const char* name;
  std::vector<std::string> script;
  enum { kBandAtTheActiveRow, kNoTint, kOnlyTheLineChecks } end = kBandAtTheActiveRow;
  friend void PrintTo(const ScrolledAway& c, std::ostream* os) { *os << c.name; }
};

class ScrolledAwayTest : public BandTest, public ::testing::WithParamInterface<ScrolledAway> {};

TEST_P(ScrolledAwayTest, LeavesNoTintOutsideTheBand) {
  Run(GetParam().script);
  const Rect band = S().LastBandRect;
  switch (GetParam().end) {
    case ScrolledAway::kBandAtTheActiveRow:
      EXPECT_EQ(band.top, S().CaretPoint.y);
      EXPECT_GT(TintIn({band.left, band.top + 1, band.right, band.top + 2}), (band.right - band.left) / 2);
      EXPECT_EQ(TintOutside(band), 0);
      break;
    case ScrolledAway::kNoTint:
      EXPECT_EQ(TintOutside(), 0);
      break;
    case ScrolledAway::kOnlyTheLineChecks:
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScrolledAwayTest,
    ::testing::Values(
        ScrolledAway{"Wheel", {"select C10", "tick", "scroll 4 1", "tick"}},
        ScrolledAway{"WheelWithTheActiveCellInTheLeftmostColumn",
                     {"scroll 1 3", "select C10", "tick", "scroll 4 3", "tick"}},
        // Row 10 scrolls to the top, where no band is drawn: the one the wheel carried there goes.
        ScrolledAway{"WheelToTheTopRow",
                     {"scroll 1 3", "select C10", "tick", "scroll 4 3", "tick", "scroll 10 3", "tick"},
                     ScrolledAway::kNoTint},
        // The blit moves the band seven pixels past the grid's left edge, where the band's own rectangle ends.
        ScrolledAway{"SidewaysScroll", {"select C10", "scroll 1 2", "tick"}},
        // Scrolled back the other way: the band's tail lands in the 20 pixels the band leaves free at the right.
        ScrolledAway{"SidewaysScrollBack", {"select C10", "scroll 1 2", "tick", "scroll 1 1", "tick"}},
        ScrolledAway{"SelectionThatScrollsSideways", {"select C10", "select AB10", "select C11"}},
        // The selection scrolls row 10's band up and draws nothing at row 40, the last whole row.
        ScrolledAway{"SelectionThatScrolls", {"select C10", "select C40", "select C30"}},
        ScrolledAway{"SelectionRightAfterTheWheel", {"select C10", "tick", "select C11", "scroll 4 1", "select C12"}},
        // Rounded at its new place the row comes out a pixel shorter than the band drawn at the old one.
        ScrolledAway{"RowRoundedShorterThanTheBand",
                     {"zoom 50", "resize 27 121 572 396", "dpi 144", "scroll 2611 27", "select AB2623",
                      "scroll 2614 27", "wober"}},
        // A tick while the About form holds the focus: no caret marks the moved band's row.
        ScrolledAway{"TickWhileAFormIsUp",
                     {"select BB2693", "scroll 2692 53", "wober", "scroll 2689 53", "click About", "tick"},
                     ScrolledAway::kOnlyTheLineChecks}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rowtint::testing
