// The host's Application events and the repaint timer's ticks as the add-in
// handles them.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

constexpr Rect kDefaultGrid{40, 120, 1240, 760};

class HostEventsTest : public SimTest {};

TEST_F(HostEventsTest, SwitchedOffASelectionChangeDoesNothing) {
  Run({"select C5", "switch", "tick"});
  Desktop().KillTimer(Desktop().Timers().front().owner, 0);
  Records();
  Run("select D7");
  const auto records = Records();
  EXPECT_FALSE(TimerRunning());
  EXPECT_TRUE(records.invalidated.empty());
  EXPECT_TRUE(records.drawn.empty());
}

// Whether a selection erases the whole grid: the previous active column out
// of view counts only after a vertical scroll, or when it lies right of the
// view. The tick after each sideways scroll erases the whole grid, as any
// paint after a sideways scroll does; what is seen here is the selection after it.
TEST_F(HostEventsTest, ASelectionErasesTheWholeGridOnlyWhenThePreviousColumnLeftTheView) {
  struct Case {
    std::vector<std::string> before;
    const char* select;
    bool wholeGrid;
  } cases[] = {
      {{"select C5"}, "select A9", false},
      {{}, "select R2", false},
      {{}, "select F20", false},
      {{}, "select B30", false},
      {{"select P5", "scroll 1 20", "tick"}, "select T6", false},  // P is left of the view, without a vertical scroll
      {{"scroll 1 1", "tick"}, "select C7", true},                 // T is right of the view
      {{"select C5", "scroll 3 10"}, "select L8", true},           // C is left of the view after a vertical scroll
  };
  for (const auto& c : cases) {
    RunWithUnseenScrolls(c.before);
    Records();
    Run(c.select);
    const auto erased = Records().invalidated;
    ASSERT_FALSE(erased.empty()) << c.select;
    EXPECT_EQ(erased.front() == kDefaultGrid, c.wholeGrid) << c.select;
  }
}

TEST_F(HostEventsTest, ActivatingReArmsTheColumnCheckWithoutPainting) {
  // T10 is selected (and so brought into view), then scrolled out of view to the right.
  Run({"select T10", "tick", "scroll 1 1", "tick"});
  ASSERT_FALSE(S().ColumnCheckArmed);
  Run("activate-workbook");
  EXPECT_TRUE(S().ColumnCheckArmed);
  Run("paint");
  ASSERT_FALSE(S().ColumnCheckArmed);
  Records();
  Run("activate-sheet");
  EXPECT_TRUE(S().ColumnCheckArmed);
  EXPECT_TRUE(Records().invalidated.empty()) << "activation neither erases nor paints";
}

// A tick that found a shape selected read the scroll column without
// completing; activation takes what it read as the column the next tick
// compares with, so that the window now in front is not repainted for a
// sideways scroll of the one before.
TEST_F(HostEventsTest, ActivatingTakesTheColumnTheLastTickSaw) {
  for (const bool activate : {false, true}) {
    SCOPED_TRACE(activate);
    RunWithUnseenScrolls({"scroll 1 1", "select C5", "tick", "select-object", "scroll 1 3", "tick"});
    ASSERT_EQ(S().SeenScrollColumn, 3);
    ASSERT_EQ(S().TickScrollColumn, 1);
    if (activate) Run("activate-sheet");
    EXPECT_EQ(S().TickScrollColumn, activate ? 3 : 1);
    // The selection goes back to cells where the band is not drawn (the first visible column).
    RunWithUnseenScrolls({"select C5"});
    Records();
    Run("tick");
    EXPECT_EQ(Records().invalidated.empty(), activate) << "only a column the tick has not seen repaints";
  }
}

TEST_F(HostEventsTest, PrintingStopsTheTimerAndLeavesTheBand) {
  Run("select C5");
  Records();
  Run("print");
  EXPECT_FALSE(TimerRunning());
  EXPECT_TRUE(Records().invalidated.empty());
  Run("select C6");
  EXPECT_TRUE(TimerRunning());
}

TEST_F(HostEventsTest, AHostFailureInsideTheSelectionHandlerStillRepaints) {
  // A visible range of one cell has no ":" to split: the columns stay 0 and the
  // redraw test still runs; nothing escapes into the host.
  Run("grid 40 120 80 130");
  Records();
  Run("select A1");
  const auto records = Records();
  EXPECT_EQ(Host().failedEvents, 0);
  EXPECT_EQ(S().LastSelColumn, 1);
  EXPECT_EQ(S().SelScrollRow, 1);
  EXPECT_EQ(records.invalidated.size(), 1u) << "the painter erased, then met the same address and gave up";
  EXPECT_TRUE(records.drawn.empty());
  EXPECT_EQ(S().PaintScrollRow, 0);
}

TEST_F(HostEventsTest, AHostThatCannotAnswerTheGateFailsAClickAndEndsATickQuietly) {
  Run({"select C10", "tick"});
  Host().Bars().DeleteBar(Host().Bars().Find("File"));
  Records();
  Run("click Switch");
  EXPECT_FALSE(S().HighlightOff);
  const auto errors = Records().hostErrors;
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Click: 5 ", 0), 0u) << errors[0];
  RunWithUnseenScrolls({"scroll 4 1", "tick"});
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_TRUE(TimerRunning());
}

// Ticks keep the gate's control and the active window between them; what
// they keep must follow the host: a closed gate, another workbook's window.
TEST_F(HostEventsTest, WhatTicksKeepFollowsTheGateAndTheWorkbookWindowInFront) {
  // A scroll only the tick sees: the band follows it, where a paint would put it.
  auto followsUnseenScroll = [&](const std::string& where, const char* scroll) {
    Records();
    RunWithUnseenScrolls({scroll, "tick"});
    EXPECT_FALSE(Records().drawn.empty()) << where << ": the tick read another window's scroll";
    const Rect band = S().LastBandRect;
    Run("paint");
    EXPECT_EQ(S().LastBandRect, band) << where;
  };
  for (const char* version : {"14.0", "16.0"}) {
    // The sheet keeps its scroll from one run of the host to the next.
    Run({"start", "scroll 1 1"});
    Run(std::string("version ") + version);
    Run({"select C10", "tick", "tick", "workbook new", "select E5", "tick"});
    followsUnseenScroll(std::string(version) + " second workbook", "scroll 4 1");
    Run({"workbook 1", "tick"});
    followsUnseenScroll(std::string(version) + " first workbook", "scroll 6 1");
  }
  Run({"gate off", "tick"});
  EXPECT_FALSE(TimerRunning()) << "a kept control still tells the gate's state";
}

TEST_F(HostEventsTest, StartingTheTimerTwiceLeavesOneWithTheLaterInterval) {
  Run("select C10");
  Band().StartRepaintTimer(200);
  Band().StartRepaintTimer(300);
  ASSERT_EQ(Desktop().Timers().size(), 1u);
  EXPECT_EQ(TimerInterval(), 300u);
  EXPECT_EQ(Desktop().WindowClassName(Desktop().Timers().front().owner), "RowtintTimers");
}

TEST_F(HostEventsTest, AResizeErasesTheActiveRowsStripAndRepaintsUnlessSwitchedOff) {
  Run({"select C10", "tick"});
  Records();
  Run("resize 40 120 1000 700");
  auto records = Records();
  ASSERT_GE(records.invalidated.size(), 2u);
  EXPECT_EQ(records.invalidated[0], (Rect{47, 300, 980, 319}));
  EXPECT_EQ(records.drawn.size(), 2u);
  EXPECT_EQ(S().RightBandRect.right, 980);
  EXPECT_FALSE(TimerRunning() && TimerInterval() != 300) << "the resize handler does not start the timer";
  Run({"switch", "tick"});
  Records();
  Run("resize 40 120 1100 700");
  records = Records();
  EXPECT_EQ(records.invalidated.size(), 2u);
  EXPECT_TRUE(records.drawn.empty());
}

// What a tick does after `before`, on a band drawn at C10; where it only
// erases, no tint is left.
struct TickCase {
  const char* name;
  std::vector<std::string> before;
  const char* tick;
  std::size_t drawn, erased;
  bool timerAfter;
  friend void PrintTo(const TickCase& c, std::ostream* os) { *os << c.name; }
};

class TickTest : public SimTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(TickTest, DoesWhatTheViewCallsFor) {
  const auto& c = GetParam();
  Run({"select C10", "tick"});
  RunWithUnseenScrolls(c.before);
  Records();
  Run(c.tick);
  const auto records = Records();
  EXPECT_EQ(records.drawn.size(), c.drawn);
  EXPECT_EQ(records.invalidated.size(), c.erased);
  if (!c.drawn && c.erased) {
    EXPECT_EQ(TintOutside(), 0) << "the band is gone from the screen";
  }
  EXPECT_EQ(TimerRunning(), c.timerAfter);
  // The next selection brings the band back, and the timer.
  Run("select C12");
  EXPECT_EQ(Records().drawn.size(), S().HighlightOff ? 0u : 2u);
  EXPECT_TRUE(TimerRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, TickTest,
    ::testing::Values(TickCase{"Quiet", {}, "tick 3", 0, 0, true},
                      // A shape selected: each tick erases, the switch stays on.
                      TickCase{"ShapeSelected", {"select-object"}, "tick 2", 0, 2, true},
                      TickCase{"SwitchedOffAndAChartSelected", {"switch", "select-object"}, "tick 2", 0, 2, true},
                      // C10 is now the seventh row shown.
                      TickCase{"WheelScrollDown", {"scroll 4 1"}, "tick", 2, 1, true},
                      // S, partly shown at the right edge, is brought into view by the selection and is the
                      // last visible column again once the view scrolls back: it must lie before it.
                      TickCase{"WheelScrollWithTheActiveColumnLastVisible",
                               {"select S10", "scroll 1 1", "tick", "scroll 4 1"},
                               "tick",
                               0,
                               0,
                               true},
                      // C is now left of the view: the painter runs, and erases the whole grid.
                      TickCase{"SidewaysScrollWhateverTheActiveColumn", {"scroll 1 5"}, "tick", 0, 1, true},
                      // The tick that finds the gate closed stops the timer but still repaints.
                      TickCase{"ClosedGate", {"gate off", "scroll 4 1"}, "tick", 2, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rowtint::testing
