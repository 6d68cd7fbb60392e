// The storm's checker catches what it must: a planted stray pixel, a DC or
// brush left open, a second timer, text in the store that is not decimal.
// And the scripts with which storms once caught the add-in leaving tint
// behind after a scroll or a busy host now leave none.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "engine/highlight_state.h"
#include "support/storm_checker.h"

namespace rowtint::testing {
namespace {

class StormCheckerTest : public ::testing::Test {
 protected:
  // Runs the lines, checking after each; the first violation, if any.
  std::optional<Violation> Play(std::initializer_list<const char*> lines) {
    for (const char* line : lines) {
      checker_.Before();
      try {
        session_.RunLine(line, out_);
      } catch (const simcli::ScriptError&) {
      }
      if (auto v = checker_.After("")) return v;
    }
    return std::nullopt;
  }
  // Checks again after the test itself has touched the world.
  std::optional<Violation> CheckNow() {
    checker_.Before();
    return checker_.After("");
  }

  simcli::SimSession session_;
  std::ostringstream out_;
  StormChecker checker_{session_};
};

TEST_F(StormCheckerTest, APlainRunPassesAndAStrayPixelDoesNot) {
  ASSERT_FALSE(Play({"select C10", "tick", "select D12", "scroll 3 1", "tick", "click Switch"}));
  ASSERT_FALSE(CheckNow());
  const auto grid = session_.Host().GridRect();
  session_.Desktop().Screen().Set(grid.left + 100, grid.top + 5, 0x123456);
  const auto v = CheckNow();
  ASSERT_TRUE(v);
  EXPECT_EQ(v->invariant, "the screen shows the host's drawing outside the band");
  EXPECT_NE(v->detail.find("1 pixels differ"), std::string::npos) << v->detail;
}

TEST_F(StormCheckerTest, TheBandMayMoveWithTheScrollUntilTheNextPaint) {
  ASSERT_FALSE(Play({"select C10", "tick", "scroll 4 1"}));
  EXPECT_NE(session_.Library().State().LastBandRect.top, 120 + 6 * 20) << "the band moved, its rectangle did not";
  EXPECT_FALSE(Play({"tick", "scroll 2 1", "tick"}));
}

TEST_F(StormCheckerTest, HandlesTimersAndTheStoreAreChecked) {
  ASSERT_FALSE(Play({"select C10"}));
  auto& desktop = session_.Desktop();
  const auto dc = desktop.GetWindowDC(desktop.GetDesktopWindow());
  EXPECT_EQ(CheckNow()->invariant, "no open DC or brush");
  desktop.ReleaseDC(0, dc);
  struct : platform::TimerCallback {
    void OnTimer() override {}
  } idle;
  desktop.SetTimer(0, 0, 100, idle);
  EXPECT_EQ(CheckNow()->invariant, "at most one timer");
  desktop.KillTimer(0, desktop.Timers().back().id);
  ASSERT_FALSE(CheckNow());
  session_.Settings().PutByUser("Tintrow", "RGB", "RGB-bc", "red");
  EXPECT_FALSE(CheckNow()) << "the user may put anything there";
  session_.Settings().SaveSetting("Tintrow", "RGB", "RGB-bc", "007");
  EXPECT_EQ(CheckNow()->invariant, "decimal text in the store");
}

// Scripts with which storms caught the band left behind after the host's
// scroll had carried it: every pixel outside the band is the host's own, and
// the band stands at the active cell's row.
struct ScrolledAway {
  const char* label;
  std::vector<const char*> script;
  bool drawnAtEnd = true;
  friend void PrintTo(const ScrolledAway& c, std::ostream* os) { *os << c.label; }
};

class ScrolledAwayTest : public StormCheckerTest, public ::testing::WithParamInterface<ScrolledAway> {};

TEST_P(ScrolledAwayTest, LeavesNoTintOutsideTheBand) {
  for (const char* line : GetParam().script) {
    const auto v = Play({line});
    ASSERT_FALSE(v) << line << ": " << v->detail;
  }
  if (!GetParam().drawnAtEnd) return;
  const auto band = session_.Library().State().LastBandRect;
  EXPECT_EQ(band.top, session_.Library().State().CaretPoint.y);
  const auto content = session_.Desktop().ContentSnapshot();
  int tinted = 0;
  for (int x = band.left; x < band.right; ++x)
    tinted += session_.Desktop().Screen().Get(x, band.top + 1) != content.Get(x, band.top + 1);
  EXPECT_GT(tinted, (band.right - band.left) / 2) << "the band is drawn at its new place";
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScrolledAwayTest,
    ::testing::Values(
        // The blit moves the band seven pixels past the grid's left edge, where the band's own rectangle ends.
        ScrolledAway{"SidewaysScroll", {"select C10", "scroll 1 2", "tick"}},
        // Scrolled back the other way: the band's tail lands in the 20 pixels the band leaves free at the right.
        ScrolledAway{"SidewaysScrollBack", {"select C10", "scroll 1 2", "tick", "scroll 1 1", "tick"}},
        // A selection that scrolls sideways, with no tick between.
        ScrolledAway{"SelectionThatScrollsSideways", {"select C10", "select AB10", "select C11"}},
        // The selection scrolls row 10's band up and draws nothing at row 40, the last whole row.
        ScrolledAway{"SelectionThatScrolls", {"select C10", "select C40", "select C30"}},
        // The wheel moves the band; the selection comes before the next tick.
        ScrolledAway{"SelectionRightAfterTheWheel", {"select C10", "tick", "select C11", "scroll 4 1", "select C12"}},
        // Rounded at its new place the row comes out a pixel shorter than the band drawn at the old one.
        ScrolledAway{"RowRoundedShorterThanTheBand",
                     {"zoom 50", "resize 27 121 572 396", "dpi 144", "scroll 2611 27", "select AB2623",
                      "scroll 2614 27", "wober"}},
        // A tick while the About form holds the focus: no caret marks the moved band's row.
        ScrolledAway{"TickWhileAFormIsUp",
                     {"select BB2693", "scroll 2692 53", "wober", "scroll 2689 53", "click About", "tick"},
                     false}),
    [](const auto& info) { return std::string(info.param.label); });

// A paint the busy host cuts short after drawing must not leave its band
// noted under an older scroll, where the next erase looks in the wrong
// place. Which seeds make the host fail just there depends on the add-in's
// calls, so many are played, and enough of them must have drawn under failures.
TEST(BusyHost, APaintCutShortLeavesNoBandBehind) {
  int drawnUnderFailures = 0;
  for (int seed = 0; seed < 150; ++seed) {
    simcli::SimSession session;
    StormChecker checker(session);
    std::ostringstream out;
    for (const std::string& line : {"faults 0.1 " + std::to_string(seed), std::string("select C10"),
                                    std::string("faults 0 0"), std::string("select C12")}) {
      const auto drawn = session.Desktop().RectanglesDrawn();
      const auto injected = session.Faults().Injected();
      checker.Before();
      session.RunLine(line, out);
      drawnUnderFailures += line == "select C10" && session.Desktop().RectanglesDrawn() != drawn &&
                            session.Faults().Injected() != injected;
      const auto v = checker.After("");
      ASSERT_FALSE(v) << "seed " << seed << ", " << line << ": " << v->detail;
    }
  }
  EXPECT_GT(drawnUnderFailures, 5);
}

}  // namespace
}  // namespace rowtint::testing
