// The repaint timer's ticks, the switch, the presets and the resize eraser.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

class RepaintTimerTest : public SimTest {
 protected:
  void SetUp() override { Run({"select C10", "tick"}); }
};

TEST_F(RepaintTimerTest, StartingTwiceLeavesOneTimerWithTheLaterInterval) {
  Band().StartRepaintTimer(200);
  Band().StartRepaintTimer(300);
  ASSERT_EQ(Desktop().Timers().size(), 1u);
  EXPECT_EQ(TimerInterval(), 300u);
  EXPECT_EQ(Desktop().Timers().front().owner, S().ExcelMainWnd);
}

TEST_F(RepaintTimerTest, QuietTickDoesNothing) {
  Records();
  Run("tick 3");
  const auto records = Records();
  EXPECT_TRUE(records.invalidated.empty());
  EXPECT_TRUE(records.drawn.empty());
}

TEST_F(RepaintTimerTest, ShapeSelectedTicksOnlyEraseAndTheBandComesBack) {
  const Rect band = S().LastBandRect;
  Run("select-object");
  Records();
  Run("tick 2");
  const auto records = Records();
  EXPECT_TRUE(records.drawn.empty());
  ASSERT_EQ(records.invalidated.size(), 2u);
  EXPECT_EQ(records.invalidated[0], band);
  EXPECT_FALSE(engine::IsTrue(S().HighlightOff));
  Run("select C12");
  EXPECT_EQ(Records().drawn.size(), 2u);
}

TEST_F(RepaintTimerTest, SwitchedOffAndAChartSelectedTicksKeepErasing) {
  Run({"switch", "select-object"});
  ASSERT_TRUE(TimerRunning()) << "switching off leaves a running timer running";
  Records();
  Run("tick 2");
  const auto records = Records();
  EXPECT_EQ(records.invalidated.size(), 2u);
  EXPECT_TRUE(records.drawn.empty());
  EXPECT_TRUE(engine::IsTrue(S().HighlightOff));
}

TEST_F(RepaintTimerTest, WheelScrollDownRepaintsAtTheActiveRowsNewPlace) {
  Run("scroll 4 1");
  Records();
  Run("tick");
  const auto records = Records();
  ASSERT_EQ(records.drawn.size(), 2u);
  EXPECT_EQ(S().LeftBandRect.top, 120 + 6 * 20);  // C10 is now the seventh row shown
  EXPECT_EQ(records.invalidated.front(), (Rect{S().LastBandRect.left, 240, S().LastBandRect.right, 259}));
  EXPECT_EQ(S().TickScrollRow, 4);
}

TEST_F(RepaintTimerTest, WheelScrollWithTheActiveColumnInTheLastVisibleColumnDoesNotRepaint) {
  // S, partly shown at the right edge, is brought into view by the selection
  // and is the last visible column again once the view scrolls back.
  Run({"select S10", "scroll 1 1", "tick", "scroll 4 1"});
  Records();
  Run("tick");
  EXPECT_TRUE(Records().drawn.empty()) << "the active column must lie before the right visible column";
}

TEST_F(RepaintTimerTest, SidewaysScrollRepaintsWhateverTheActiveColumn) {
  Run("scroll 1 5");  // C is now left of the view
  Records();
  Run("tick");
  const auto records = Records();
  EXPECT_FALSE(records.invalidated.empty()) << "the painter ran";
  EXPECT_EQ(S().SeenScrollColumn, 5);
  EXPECT_EQ(S().TickScrollColumn, 5);
}

TEST_F(RepaintTimerTest, ClosedGateStopsTheTimerAfterTheTickRunsToItsEnd) {
  Run({"gate off", "scroll 4 1"});
  Records();
  Run("tick");
  EXPECT_FALSE(TimerRunning());
  EXPECT_EQ(Records().drawn.size(), 2u) << "the tick that found the gate closed still repaints";
  Run("select C12");
  EXPECT_TRUE(TimerRunning()) << "the next selection change starts it again";
}

TEST_F(RepaintTimerTest, AHostThatCannotAnswerTheGateEndsTheTickQuietly) {
  std::erase_if(Host().Bars().bars, [](const auto& bar) { return bar->name == "File"; });
  Run("scroll 4 1");
  Records();
  Run("tick");
  EXPECT_TRUE(Records().drawn.empty());
  EXPECT_TRUE(TimerRunning());
}

TEST_F(RepaintTimerTest, SwitchTwiceErasesThenDrawsAndStopsTheTimer) {
  Records();
  Run("switch");
  auto records = Records();
  EXPECT_TRUE(records.drawn.empty());
  EXPECT_EQ(records.invalidated.size(), 1u);
  EXPECT_TRUE(TimerRunning());
  Run("switch");
  records = Records();
  EXPECT_EQ(records.drawn.size(), 2u);
  EXPECT_FALSE(engine::IsTrue(S().HighlightOff));
  EXPECT_FALSE(TimerRunning());
}

TEST_F(RepaintTimerTest, PresetsSwitchTheBandOnAndLeaveTheTimerAlone) {
  Run("switch");
  Records();
  Run("warm");
  auto drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].color, 16366575);
  EXPECT_FALSE(engine::IsTrue(S().HighlightOff));
  EXPECT_TRUE(TimerRunning());
  Run("wober");
  drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].color, 14600886);
  EXPECT_EQ(S().HistoryColor1, engine::kEmptySwatchColor);
}

TEST_F(RepaintTimerTest, ResizeErasesTheActiveRowsStripAndRepaints) {
  Records();
  Run("resize 40 120 1000 700");
  const auto records = Records();
  ASSERT_GE(records.invalidated.size(), 2u);
  EXPECT_EQ(records.invalidated[0], (Rect{47, 300, 980, 319}));
  EXPECT_EQ(S().ResizeEraseRect, (Rect{47, 300, 980, 319}));
  ASSERT_EQ(records.drawn.size(), 2u);
  EXPECT_EQ(S().RightBandRect.right, 980);
  EXPECT_FALSE(TimerRunning() && TimerInterval() != 300) << "the resize handler does not start the timer";
}

TEST_F(RepaintTimerTest, ResizeWhileSwitchedOffOnlyErases) {
  Run("switch");
  Records();
  Run("resize 40 120 1000 700");
  const auto records = Records();
  EXPECT_EQ(records.invalidated.size(), 2u);
  EXPECT_TRUE(records.drawn.empty());
}

}  // namespace
}  // namespace rowtint::testing
