// The band down the active cell's column, beside the band across its row:
// when each is drawn, where, what it keeps through the view's changes, how
// the user chooses it and what is kept of the choice.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "addin/ribbon_xml.h"
#include "engine/band_choices.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using engine::Across;
using platform::Rect;

class ColumnBandTest : public SimTest {
 protected:
  // The user's way: the options form's buttons and OK, which every version has.
  void Choose(const char* button) { Run({"click Option", std::string("form click ") + button, "form click cb_ok"}); }

  // The active cell on the screen, from the sheet itself.
  Rect Cell() {
    const Rect c = Host().Sheet().ActiveCellRect();
    const Rect grid = Host().GridRect();
    return {c.left + grid.left, c.top + grid.top, c.right + grid.left, c.bottom + grid.top};
  }
  // Where the column band's two parts belong: the cell's left and right,
  // from the grid's top to its bottom less the band's 20-pixel inset, round
  // the row band's top and bottom at the cell.
  Rect Above() { return {Cell().left, Host().GridRect().top, Cell().right, S().LeftBandRect.top}; }
  Rect Below() { return {Cell().left, S().LeftBandRect.bottom, Cell().right, Host().GridRect().bottom - 20}; }
  Rect Row() { return S().LastBandRect; }

  bool Invert() { return S().RopMode == platform::kR2MergePenNot; }
  // Each band as the screen shows it: every pixel of its parts what the
  // raster operation makes of Excel's pixel, once; nothing of it at all.
  bool RowShown() {
    const Rect grid = sim::Intersect(Row(), Host().GridRect());
    const auto colour = static_cast<sim::Pixel>(S().HighlightColor);
    return TintIn(Row()) > 0 && NotBand(S().LeftBandRect, grid, colour, Invert()) == 0 &&
           NotBand(S().RightBandRect, grid, colour, Invert()) == 0;
  }
  bool ColumnShown() {
    const Rect grid = Host().GridRect();
    const auto colour = static_cast<sim::Pixel>(S().HighlightColor);
    return TintIn(Above()) + TintIn(Below()) > 0 && NotBand(Above(), grid, colour, Invert()) == 0 &&
           NotBand(Below(), grid, colour, Invert()) == 0;
  }
  bool RowGone() { return TintIn({Host().GridRect().left, Row().top, Host().GridRect().right, Row().bottom}) == 0; }
  bool ColumnGone() {
    return TintIn({Cell().left, Host().GridRect().top, Cell().right, Host().GridRect().bottom}) == 0;
  }
  // Nothing tinted but the bands that show.
  int TintOutsideBands(bool row, bool column) {
    int inside = 0;
    if (row) inside += TintIn(Row());
    if (column) inside += TintIn(Above()) + TintIn(Below());
    return TintIn(Whole()) - inside;
  }
  void ExpectBands(bool row, bool column, const std::string& where) {
    if (row)
      EXPECT_TRUE(RowShown()) << where << ": the row band, whole and once";
    else
      EXPECT_TRUE(RowGone()) << where << ": no row band";
    if (column)
      EXPECT_TRUE(ColumnShown()) << where << ": the column band, whole and once";
    else
      EXPECT_TRUE(ColumnGone()) << where << ": no column band";
    EXPECT_EQ(TintOutsideBands(row, column), 0) << where;
  }
};

// The rules of both bands, side by side: with both chosen each is drawn
// wherever its own rules allow it. The view shows rows 1 to 32 and columns
// A to S (the last partly) unless a line says otherwise.
TEST_F(ColumnBandTest, EachBandIsDrawnWhereItsOwnRulesAllowIt) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    bool row, column;
  } cases[] = {
      {"inside the view", {"select C5"}, true, true},
      {"the first row shown", {"select C1"}, false, true},
      {"the second row shown", {"select C2"}, true, true},
      {"the third row from the end", {"select C30"}, true, true},
      {"the second row from the end", {"select C31"}, false, true},
      {"the first column shown", {"select A5"}, true, false},
      {"the second column shown", {"select B5"}, true, true},
      {"the third column from the end", {"select Q5"}, true, true},
      {"the second column from the end", {"select R5"}, true, false},
      {"the last column, partly shown", {"select S5"}, true, false},
      {"the top left corner", {"select A1"}, false, false},
      {"two cells in a row", {"select C5:D5"}, true, true},
      {"three cells in a row", {"select C5:E5"}, false, false},
      {"two cells in a column", {"select C5:C6"}, false, false},
      {"scrolled: the first column shown", {"scroll 10 5", "select E15"}, true, false},
      {"scrolled: inside", {"scroll 10 5", "select F15"}, true, true},
      {"frozen: a frozen row, a scrolled column", {"freeze 3 2", "select D2"}, true, true},
      {"frozen: the first frozen column", {"freeze 3 2", "select A10"}, true, false},
      {"frozen: the last frozen column", {"freeze 3 2", "select B10"}, true, true},
      {"frozen: the first row", {"freeze 3 2", "select D1"}, false, true},
      {"frozen and scrolled: the first scrolled column", {"freeze 3 2", "scroll 20 6", "select F25"}, true, false},
      {"frozen and scrolled: a frozen column", {"freeze 3 2", "scroll 20 6", "select B25"}, true, true},
      {"frozen: the last frozen row", {"freeze 3 2", "select D3"}, true, true},
      // A cell whose row the view does not show whole has neither band; one
      // whose column it does not show has no column band.
      {"the last row shown", {"select C32"}, false, false},
      {"find-last-row below the view", {"set D40 x", "select D8", "click FindLastrow"}, false, false},
      {"a column left of the view", {"select C10", "scroll 1 5", "paint", "paint"}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Run({"freeze off", "scroll 1 1", "select A1"});
    Choose("Opt_both");
    Run(c.lines);
    ExpectBands(c.row, c.column, c.name);
  }
}

// A column band alone follows the column's rules whatever the row's say, and
// the row band alone is today's band, drawn as it always was.
TEST_F(ColumnBandTest, EachChoiceDrawsOnlyItsOwnBands) {
  struct Case {
    const char* button;
    const char* select;
    bool row, column;
  } cases[] = {{"Opt_row", "select C5", true, false},     {"Opt_column", "select C5", false, true},
               {"Opt_both", "select C5", true, true},     {"Opt_column", "select C1", false, true},
               {"Opt_column", "select A5", false, false}, {"Opt_row", "select C1", false, false}};
  for (const Case& c : cases) {
    const std::string where = std::string(c.button) + ", " + c.select;
    Run("select A1");
    Choose(c.button);
    Run(c.select);
    ExpectBands(c.row, c.column, where);
  }
}

// Every change of the view the row band follows, the column band follows,
// in both text modes: at the end each band stands whole where it belongs.
TEST_F(ColumnBandTest, BothBandsFollowTheViewsChanges) {
  const std::vector<std::vector<std::string>> scripts = {
      {"select D8", "select D14"},                 // within the column
      {"select D8", "select K8"},                  // within the row
      {"select D8", "select G12"},                 // diagonal
      {"select D8", "select D14", "select D3"},    // up the column
      {"select D8", "scroll 5 1", "tick"},         // a vertical scroll, seen by the timer
      {"select D8", "scroll 1 3", "tick"},         // a sideways scroll
      {"select D20", "wheel 3", "tick"},           // the wheel
      {"select D8", "repaint D20", "repaint F8"},  // Excel's repaints of a cell in each band
      {"select D8", "repaint grid"},               // and of the whole grid
      {"select D8", "resize 60 140 1000 700"},     // a resize that moves the grid
      {"freeze 3 2", "select D10", "scroll 12 5", "select F20", "tick"},
      {"freeze 3 2", "select D2", "select D25"},  // from a frozen row down the column
      {"select D8", "edit begin", "edit end", "select D9"},
      {"select D8", "click Switch", "click Switch"},  // off and on again
      {"select D8", "wober", "warm"},
      {"set D12 x", "select D8", "click FindLastrow"},
      {"select D8", "workbook new", "select E6"},
  };
  for (const char* mode : {"Opt_primi", "Opt_white"}) {
    for (const auto& script : scripts) {
      const std::string where = std::string(mode) + ": " + script.back() + " after " + script.front();
      SCOPED_TRACE(where);
      Run("start");
      Run({"click Option", "form click Opt_both", std::string("form click ") + mode, "form click cb_ok"});
      Run(script);
      ExpectBands(true, true, where);
    }
  }
}

// A move within the column keeps the column band and erases only the cells
// between the old place and the new one; within the row, the row band the
// same; a diagonal move erases both strips whole. At 100 % zoom with Excel's
// default sizes a move erases under 15 % of the grid.
TEST_F(ColumnBandTest, AMoveErasesOnlyWhatItChanged) {
  struct Case {
    const char* from;
    const char* to;
    double mostShare;  // of the grid's area
  } cases[] = {{"select D8", "select D14", 0.05}, {"select D8", "select K8", 0.07}, {"select D8", "select G12", 0.15}};
  Choose("Opt_both");
  const Rect grid = Host().GridRect();
  const double gridArea = double(grid.right - grid.left) * (grid.bottom - grid.top);
  for (const Case& c : cases) {
    const std::string where = std::string(c.from) + " to " + c.to;
    Run(c.from);
    Records();
    Run(c.to);
    double erased = 0;
    for (const Rect& r : Records().invalidated) {
      const Rect in = sim::Intersect(r, grid);
      if (!in.Empty()) erased += double(in.right - in.left) * (in.bottom - in.top);
    }
    std::printf("%-22s erased %5.2f %% of the grid\n", where.c_str(), 100 * erased / gridArea);
    EXPECT_LT(erased / gridArea, c.mostShare) << where;
    ExpectBands(true, true, where);
  }
}

// Applied with OK, dropped with Cancel; the option buttons of the way across
// are a group of their own, so that choosing one leaves the text mode's alone.
TEST_F(ColumnBandTest, TheFormsChoiceIsAppliedWithOkAndDroppedWithCancel) {
  Run({"select C5", "click Option"});
  EXPECT_TRUE(ControlOf(*Options(), "Opt_row").value) << "the row, as nothing was chosen";
  Run({"form click Opt_white", "form click Opt_column"});
  EXPECT_TRUE(ControlOf(*Options(), "Opt_white").value) << "the text mode stays chosen";
  EXPECT_FALSE(ControlOf(*Options(), "Opt_primi").value);
  EXPECT_TRUE(ControlOf(*Options(), "Opt_column").value);
  EXPECT_FALSE(ControlOf(*Options(), "Opt_row").value);
  Run("form click cb_cancel");
  ExpectBands(true, false, "after Cancel");

  Run({"click Option", "form click Opt_both"});
  EXPECT_FALSE(ControlOf(*Options(), "Opt_column").value);
  Run("form click cb_ok");
  ExpectBands(true, true, "after OK");
  Run("click Option");
  EXPECT_TRUE(ControlOf(*Options(), "Opt_both").value) << "the form opens on the choice that holds";
  Run({"form click Opt_row", "form click cb_cancel", "click Option"});
  EXPECT_TRUE(ControlOf(*Options(), "Opt_both").value) << "a cancelled choice is not shown again";
  Run("form click cb_cancel");
}

// Kept with the colour in the colour's section when Excel closes, and read
// at the next start; a missing or unreadable value is the row. Versions that
// know only the colour read their value as before.
TEST_F(ColumnBandTest, TheChoiceIsKeptBetweenRunsBesideTheColour) {
  ASSERT_EQ(Setting("RGB", "Across"), "<missing>");
  EXPECT_EQ(Band().Choices().across, Across::Row) << "no value";
  struct Case {
    const char* stored;
    Across read;
  } cases[] = {{"row", Across::Row}, {"column", Across::Column}, {"both", Across::Both}, {"Both", Across::Row},
               {"", Across::Row},    {"sideways", Across::Row},  {"2", Across::Row}};
  for (const Case& c : cases) {
    const std::string where = std::string("'") + c.stored + "'";
    Run("shutdown");
    session_.Settings().PutByUser("Tintrow", "RGB", "Across", c.stored);
    session_.Settings().PutByUser("Tintrow", "RGB", "RGB-bc", "5283880");
    Run({"start", "select C5"});
    EXPECT_EQ(Band().Choices().across, c.read) << where;
    EXPECT_EQ(S().HighlightColor, 5283880) << where;
    ExpectBands(c.read != Across::Column, c.read != Across::Row, where);
  }
  Choose("Opt_column");
  Run("shutdown");
  EXPECT_EQ(Setting("RGB", "Across"), "column");
  EXPECT_EQ(Setting("RGB", "RGB-bc"), "5283880") << "the colour beside it, as before";
  Run({"start", "select C5"});
  ExpectBands(false, true, "after a restart");
}

// On the overlay surface the column band is two more overlays, at the parts'
// places within the grid; a move hides them all and shows the new places;
// a choice of the row alone leaves the column's hidden. And where Excel's
// renderer hides what is drawn through the grid, the check moves both bands there.
TEST_F(ColumnBandTest, BothBandsOnTheOverlaySurface) {
  auto shown = [&] {
    std::vector<Rect> rects;
    for (const auto& o : Desktop().Overlays())
      if (o.visible) rects.push_back(o.rect);
    std::sort(rects.begin(), rects.end(),
              [](const Rect& a, const Rect& b) { return std::tie(a.top, a.left) < std::tie(b.top, b.left); });
    return rects;
  };
  auto expected = [&](bool row, bool column) {
    const Rect clip = sim::Intersect(Row(), Host().GridRect());
    std::vector<Rect> rects;
    if (column) rects.push_back(Above());
    if (row)
      rects.insert(rects.end(), {sim::Intersect(S().LeftBandRect, clip), sim::Intersect(S().RightBandRect, clip)});
    if (column) rects.push_back(Below());
    return rects;
  };
  for (const char* surface : {"overlay", "auto"}) {
    SCOPED_TRACE(surface);
    Run("shutdown");
    session_.OwnKey().texts["Surface"] = surface;
    Run("start");
    if (std::string(surface) == "auto") Host().SetRenderer(sim::SimHost::Renderer::Flip);
    Choose("Opt_both");
    Run({"select D8", "tick 7", "select G12", "tick"});
    EXPECT_EQ(shown(), expected(true, true));
    EXPECT_EQ(TintIn(Host().GridRect()), 0) << "no raster operation on the grid";
    Run({"select D14", "tick"});
    EXPECT_EQ(shown(), expected(true, true)) << "a move within the column";
    Choose("Opt_row");
    EXPECT_EQ(shown(), expected(true, false));
    Choose("Opt_column");
    EXPECT_EQ(shown(), expected(false, true));
  }
}

class AcrossRibbonTest : public ColumnBandTest {
 protected:
  AcrossRibbonTest() { Run({"version 16.0", "unload", "load", "select C5"}); }
  bool Pressed(int item) {
    for (const auto& control : session_.RibbonShown().Controls())
      if (control.id == addin::kRibbonAcrossItems[item]) return control.pressed;
    throw std::invalid_argument("no such item");
  }
  std::string MenuLine(int item) {
    return std::string("ribbon menu ") + addin::kRibbonAcross + " " + addin::kRibbonAcrossItems[item];
  }
};

// The chosen item shows pressed; a click on another chooses it, one on the
// pressed item keeps the choice and shows it pressed again; behind the gate.
TEST_F(AcrossRibbonTest, TheMenusPressedItemIsTheChoice) {
  EXPECT_TRUE(Pressed(0));
  EXPECT_FALSE(Pressed(1) || Pressed(2));
  Run(MenuLine(1));
  EXPECT_EQ(Band().Choices().across, Across::Column);
  EXPECT_TRUE(Pressed(1));
  EXPECT_FALSE(Pressed(0) || Pressed(2));
  ExpectBands(false, true, "column from the ribbon");
  Run(MenuLine(1));
  EXPECT_EQ(Band().Choices().across, Across::Column) << "the pressed item clicked again";
  EXPECT_TRUE(Pressed(1)) << "and pressed again";
  ExpectBands(false, true, "column clicked again");
  Run(MenuLine(2));
  ExpectBands(true, true, "both from the ribbon");
  Run({"gate off", MenuLine(0)});
  EXPECT_EQ(Band().Choices().across, Across::Both) << "a closed gate takes no choice";
  Run("gate on");
  EXPECT_TRUE(Pressed(2));
  // A menu's item is no toggle of the group's.
  EXPECT_NE(ScriptErrorOf(std::string("ribbon toggle ") + addin::kRibbonAcrossItems[0] + "\n"), "");
}

}  // namespace
}  // namespace rowtint::testing
