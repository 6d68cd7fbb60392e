// The band beside what else the user has on the screen: a cell being edited,
// another program brought to the front, a window of another program lying
// over the grid, and a monitor with a resolution of its own.
#include <gtest/gtest.h>

#include <sstream>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

constexpr sim::Pixel kMagenta = 0xFF00FF;

class OtherWindowsTest : public SimTest {
 protected:
  Rect OnScreen(const Rect& client) {
    const Rect grid = Host().GridRect();
    return {grid.left + client.left, grid.top + client.top, grid.left + client.right, grid.top + client.bottom};
  }
  int PixelsNot(const Rect& r, sim::Pixel colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += ScreenAt(x, y) != colour;
    return n;
  }
};

TEST_F(OtherWindowsTest, WhileACellIsEditedTheAddInLeavesTheHostAloneAndPaintsAgainAfter) {
  Run({"set C7 hello", "select C7", "tick"});
  const Rect left = S().LeftBandRect, right = S().RightBandRect;
  const Rect cell = OnScreen(Host().Sheet().ActiveCellRect());
  Records();
  Run({"edit begin", "tick 3", "activate-sheet", "tick"});
  EXPECT_EQ(Host().Model().TakeRefusedCalls(), 0u) << "an object-model call was made while the cell was edited";
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_EQ(PixelsNot({cell.left, cell.top, cell.left + 3, cell.bottom}, 0xFFFFFF), 0) << "the editor is white";
  EXPECT_GT(PixelsNot({cell.left + 3, cell.top, cell.right, cell.bottom}, 0xFFFFFF), 0) << "and shows the text";

  Run({"edit end", "tick"});
  EXPECT_EQ(Desktop().GetFocus(), Host().GridWindow());
  EXPECT_EQ(S().LeftBandRect, left);
  EXPECT_EQ(S().RightBandRect, right);
  EXPECT_EQ(NotBand(left), 0);
  EXPECT_EQ(NotBand(right), 0);
  EXPECT_EQ(TintIn(cell), 0) << "the grid repainted the editor's place";
}

TEST_F(OtherWindowsTest, AnotherProgramInFrontKeepsTheForeground) {
  Run({"select C7", "tick", "away"});
  Records();
  Run({"tick 3", "select D9", "tick"});
  const auto away = Records();
  EXPECT_EQ(away.foregroundChanges, 0);
  EXPECT_TRUE(Desktop().IsOtherProgramWindow(Desktop().Foreground()));
  Run("state");
  EXPECT_NE(lastOutput_.find("\"foregroundOwner\":\"other\""), std::string::npos) << lastOutput_;

  Run({"back", "select D9", "tick"});
  EXPECT_EQ(Desktop().Foreground(), Host().MainWindow());
  EXPECT_EQ(Desktop().GetFocus(), Host().GridWindow());
  EXPECT_EQ(S().LeftBandRect.top, OnScreen(Host().Sheet().ActiveCellRect()).top);
  EXPECT_EQ(NotBand(S().LeftBandRect), 0);
}

TEST_F(OtherWindowsTest, AWindowOverTheGridKeepsItsPixels) {
  const Rect cover{300, 220, 500, 300};
  Run({"select C7", "tick", "cover 300 220 500 300", "select D7", "tick", "paint", "select E8", "tick"});
  EXPECT_EQ(PixelsNot(cover, kMagenta), 0);
  Run({"uncover", "tick"});
  EXPECT_EQ(PixelsNot(cover, kMagenta), (cover.right - cover.left) * (cover.bottom - cover.top))
      << "what lay below repainted";
}

TEST_F(OtherWindowsTest, RowsFollowTheGridMonitorsResolution) {
  struct Case {
    const char* line;
    int rowPixels;
  };
  for (const Case c : {Case{"window-dpi 96", 20}, Case{"window-dpi 120", 25}, Case{"window-dpi 144", 30}}) {
    Run({c.line, "select C8", "tick"});
    SCOPED_TRACE(c.line);
    const Rect row = OnScreen({0, Host().Sheet().RowEdge(8), 1, Host().Sheet().RowEdge(9)});
    EXPECT_EQ(row.bottom - row.top, c.rowPixels);
    EXPECT_EQ(S().LeftBandRect.top, row.top);
    EXPECT_EQ(S().LeftBandRect.bottom, row.bottom - 1) << "the band stops at the row's gridline";
    EXPECT_EQ(Desktop().dpi, 96) << "the system's resolution stays";
    Run("select A1");
  }
}

TEST_F(OtherWindowsTest, LinesOutOfTurnAreRefused) {
  struct Case {
    std::vector<std::string> before;
    const char* line;
  };
  for (const Case& c :
       {Case{{}, "edit end"}, Case{{"edit begin"}, "edit begin"}, Case{{}, "edit type"}, Case{{}, "back"},
        Case{{"away"}, "away"}, Case{{}, "uncover"}, Case{{"cover 0 0 10 10"}, "cover 0 0 10 10"},
        Case{{}, "cover 0 0 0 0"}, Case{{}, "window-dpi 95"}}) {
    SCOPED_TRACE(c.line);
    Run("start");
    Run(c.before);
    std::ostringstream out;
    EXPECT_THROW(session_.RunLine(c.line, out), simcli::ScriptError);
  }
}

}  // namespace
}  // namespace rowtint::testing
