// The host's Application events as the add-in handles them.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

class HostEventsTest : public SimTest {};

TEST_F(HostEventsTest, FirstSelectionAfterConnectingRepaintsTheWholeGrid) {
  Records();
  Run("select C5");
  const auto records = Records();
  ASSERT_FALSE(records.invalidated.empty());
  EXPECT_EQ(records.invalidated.front(), (Rect{40, 120, 1240, 760}));
  EXPECT_EQ(TimerInterval(), 300u);
  EXPECT_EQ(session_.AddIn()->LastSelColumn(), 3);
  EXPECT_EQ(session_.AddIn()->SelScrollRow(), 1);
}

TEST_F(HostEventsTest, SwitchedOffASelectionChangeDoesNothing) {
  Run({"select C5", "switch", "tick"});
  Desktop().KillTimer(S().ExcelMainWnd, 0);
  Records();
  Run("select D7");
  const auto records = Records();
  EXPECT_FALSE(TimerRunning());
  EXPECT_TRUE(records.invalidated.empty());
  EXPECT_TRUE(records.drawn.empty());
}

TEST_F(HostEventsTest, MovingInsideTheViewNeverRepaintsTheWholeGrid) {
  Run("select C5");
  for (const char* move : {"select A9", "select R2", "select F20", "select B30"}) {
    Records();
    Run(move);
    EXPECT_NE(Records().invalidated.front(), (Rect{40, 120, 1240, 760})) << move;
  }
}

TEST_F(HostEventsTest, PreviousColumnRightOfTheViewAfterASidewaysScroll) {
  // The tick after each sideways scroll erases the whole grid, as any paint
  // after a sideways scroll does; the selections after it are what is seen here.
  Run({"select P5", "scroll 1 20", "tick"});
  // P (16) is now left of the view; without a vertical scroll that alone does not count...
  Records();
  Run("select T6");
  EXPECT_NE(Records().invalidated.front(), (Rect{40, 120, 1240, 760}));
  // ...but a previous column right of the view does.
  Run({"scroll 1 1", "tick"});
  Records();
  Run("select C7");
  EXPECT_EQ(Records().invalidated.front(), (Rect{40, 120, 1240, 760}));
}

TEST_F(HostEventsTest, PreviousColumnLeftOfTheViewAfterAVerticalScroll) {
  Run({"select C5", "scroll 3 10"});
  Records();
  Run("select L8");
  EXPECT_EQ(Records().invalidated.front(), (Rect{40, 120, 1240, 760}));
}

TEST_F(HostEventsTest, ActivatingCopiesTheSeenScrollColumnAndReArmsTheCheck) {
  // T10 is selected (and so brought into view), then scrolled out of view to the right.
  Run({"select T10", "tick", "scroll 1 1", "tick"});
  ASSERT_FALSE(engine::IsTrue(S().ColumnCheckArmed));
  S().TickScrollColumn = 99;
  Run("activate-workbook");
  EXPECT_TRUE(engine::IsTrue(S().ColumnCheckArmed));
  EXPECT_EQ(S().TickScrollColumn, S().SeenScrollColumn);
  S().ColumnCheckArmed = platform::kFalse;
  Records();
  Run("activate-sheet");
  EXPECT_TRUE(engine::IsTrue(S().ColumnCheckArmed));
  EXPECT_TRUE(Records().invalidated.empty()) << "activation neither erases nor paints";
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
  EXPECT_EQ(session_.AddIn()->LastSelColumn(), 1);
  EXPECT_EQ(session_.AddIn()->SelScrollRow(), 1);
  EXPECT_EQ(records.invalidated.size(), 1u) << "the painter erased, then met the same address and gave up";
  EXPECT_TRUE(records.drawn.empty());
  EXPECT_EQ(S().PaintScrollRow, 0);
}

}  // namespace
}  // namespace rowtint::testing
