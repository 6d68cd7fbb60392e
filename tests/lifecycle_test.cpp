// Connection, shut-down, unloading and loading again, as the host drives them.
#include <gtest/gtest.h>

#include "addin/connect.h"
#include "engine/addin_settings.h"
#include "platform/error.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

constexpr platform::Color kA = 255, kB = 65280, kC = 16711680, kD = 12345;

struct HistoryCase {
  platform::Color before[3];
  platform::Color after[3];
};

class HistoryMoveToFront : public SimTest {};

TEST_F(HistoryMoveToFront, WorkedExamples) {
  const HistoryCase cases[] = {
      {{kB, kC, kD}, {kA, kB, kC}}, {{kB, kA, kD}, {kA, kB, kD}}, {{kB, kC, kA}, {kA, kB, kC}},
      {{kA, kB, kC}, {kA, kB, kC}}, {{kA, kB, kA}, {kA, kA, kB}},
  };
  for (const auto& c : cases) {
    auto& s = S();
    s.HighlightColor = kA;
    s.HistoryColor1 = c.before[0];
    s.HistoryColor2 = c.before[1];
    s.HistoryColor3 = c.before[2];
    Band().MoveCurrentColorToHistoryFront();
    EXPECT_EQ(s.HistoryColor1, c.after[0]);
    EXPECT_EQ(s.HistoryColor2, c.after[1]);
    EXPECT_EQ(s.HistoryColor3, c.after[2]);
  }
}

class LifecycleTest : public SimSessionTest {};

TEST_F(LifecycleTest, RestartRoundTripKeepsTheColourPickedInTheOptionsForm) {
  Run({"start", "select C5", "click Option", "pick 10 20 30", "form click cb_Select", "form click cb_ok"});
  const platform::Color picked = 10 | 20 << 8 | 30 << 16;
  ASSERT_EQ(S().HighlightColor, picked);
  Run({"shutdown"});
  EXPECT_FALSE(TimerRunning());
  EXPECT_EQ(Setting("RGB", "RGB-bc"), "1971210");
  EXPECT_EQ(Setting("HIS", "his_color1"), "1971210");
  EXPECT_EQ(Setting("HIS", "his_color2"), "-2147483633");
  Run({"start"});
  EXPECT_EQ(S().HighlightColor, picked);
  EXPECT_EQ(S().HistoryColor1, picked);
  EXPECT_EQ(S().HistoryColor2, engine::kEmptySwatchColor);
  Records();
  Run("select C7");
  const auto drawn = Records().drawn;
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].color, picked);
  EXPECT_EQ(drawn[0].rop, 9) << "the font mode is not restored";
}

TEST_F(LifecycleTest, ShutdownKeepsTheToolbarAndTheNextRunRebindsIt) {
  Run({"start", "shutdown"});
  ASSERT_EQ(Toolbars().size(), 1u);
  EXPECT_TRUE(Popups().empty()) << "the popup is temporary";
  const auto toolbar = Toolbars()[0];
  Run({"start"});
  ASSERT_EQ(Toolbars().size(), 1u);
  EXPECT_EQ(Toolbars()[0], toolbar) << "no second toolbar";
  EXPECT_EQ(Popups().size(), 1u);
  Run({"select C5", "click Switch"});
  EXPECT_TRUE(engine::IsTrue(S().HighlightOff)) << "the old toolbar's buttons are bound again";
}

TEST_F(LifecycleTest, UnloadingRemovesToolbarAndMenuStopsTheTimerAndSavesNothing) {
  Run({"start", "warm", "unload"});
  EXPECT_FALSE(S().HostApp) << "no host reference outlives the connection";
  EXPECT_TRUE(Toolbars().empty());
  EXPECT_TRUE(Popups().empty());
  EXPECT_FALSE(TimerRunning());
  EXPECT_TRUE(session_.Settings().Values().empty());
  Run({"load"});
  EXPECT_EQ(Toolbars().size(), 1u);
  EXPECT_EQ(Popups().size(), 1u);
  EXPECT_EQ(S().HighlightColor, 14600886) << "loading again reads the store, not memory";
  Run({"unload", "load", "unload", "load"});
  EXPECT_EQ(Toolbars().size(), 1u);
  EXPECT_EQ(Popups().size(), 1u);
  EXPECT_TRUE(TimerRunning());
}

TEST_F(LifecycleTest, TwoToolbarsAtConnectionBindTheLastOne) {
  Run({"bar Rowtint", "bar Rowtint"});
  auto bars = Toolbars();
  for (auto& bar : bars)
    for (int i = 0; i < 3; ++i) bar->controls.push_back(std::make_shared<sim::ControlNode>());
  Run({"start", "select C5"});
  ASSERT_EQ(Toolbars().size(), 2u) << "no new toolbar";
  session_.Bars().Click(bars[0]->controls[1]);
  EXPECT_FALSE(engine::IsTrue(S().HighlightOff));
  session_.Bars().Click(bars[1]->controls[1]);
  EXPECT_TRUE(engine::IsTrue(S().HighlightOff)) << "the second bar's Switch is bound";
  EXPECT_EQ(bars[1]->controls[1]->tooltip, "") << "an existing bar's buttons are not configured again";
}

TEST_F(LifecycleTest, ABarNamedInAnotherCaseIsNotTheToolbar) {
  Run({"bar rowtint", "start"});
  ASSERT_EQ(Toolbars().size(), 1u);
  EXPECT_EQ(Toolbars()[0]->controls.size(), 3u);
  EXPECT_TRUE(session_.Bars().Find("rowtint") != nullptr);
}

TEST_F(LifecycleTest, FailingSaveLeavesLaterKeysAndDeletesTheToolbar) {
  Run({"setting HIS his_color3 7", "start", "warm"});
  session_.Settings().FailWritesAfter(2);
  Run("shutdown");
  EXPECT_EQ(Setting("RGB", "RGB-bc"), "16366575");
  EXPECT_EQ(Setting("HIS", "his_color1"), "16366575");
  EXPECT_EQ(Setting("HIS", "his_color3"), "7") << "the write after the failing one is not made";
  EXPECT_TRUE(Toolbars().empty()) << "the flag stayed set, so disconnection deleted the toolbar";
  EXPECT_FALSE(TimerRunning());
  EXPECT_NE(Records().hostErrors.size(), 0u);
}

TEST_F(LifecycleTest, AnApplicationWithoutTheExcelInterfaceIsATypeMismatch) {
  class NotExcel : public platform::host::Object {
   public:
    std::string TypeName() override { return "Word"; }
    std::shared_ptr<platform::host::Range> AsRange() override { return nullptr; }
  };
  Run({"start", "unload"});
  const auto barsBefore = session_.Bars().bars.size();
  addin::Connect connect(session_.Library());
  try {
    connect.OnConnection(std::make_shared<NotExcel>(), platform::ext_cm_AfterStartup, nullptr);
    ADD_FAILURE() << "connection succeeded";
  } catch (const platform::PlatformError& e) {
    EXPECT_EQ(e.Number(), 13);
  }
  EXPECT_EQ(session_.Bars().bars.size(), barsBefore);
  EXPECT_FALSE(TimerRunning());
  EXPECT_FALSE(connect.RemovesToolbarOnDisconnection());
}

TEST_F(LifecycleTest, StartupCompleteAndAddInsUpdateChangeNothing) {
  Run({"start", "select C5"});
  Records();
  const auto before = S().LastBandRect;
  session_.AddIn()->OnStartupComplete();
  session_.AddIn()->OnAddInsUpdate();
  const auto records = Records();
  EXPECT_TRUE(records.invalidated.empty());
  EXPECT_EQ(S().LastBandRect, before);
  EXPECT_TRUE(session_.AddIn()->RemovesToolbarOnDisconnection());
}

// No timer outlives its connection, also one started while the main window
// was unknown (a start-up that stopped before looking for it).
TEST_F(LifecycleTest, NoTimerOutlivesItsConnectionWhenTheMainWindowWasNotFound) {
  // As after a start-up that found no main window: no owner, no timer.
  Run("start");
  Band().StopRepaintTimer();
  S().ExcelMainWnd = 0;
  ASSERT_FALSE(TimerRunning());
  Run("select C5");  // starts a timer without an owner window; the paint then finds the window
  ASSERT_EQ(Desktop().Timers().size(), 1u);
  EXPECT_EQ(Desktop().Timers()[0].owner, 0u);
  EXPECT_NE(S().ExcelMainWnd, 0u);
  Run("select C6");  // now under the main window: still one timer
  EXPECT_EQ(Desktop().Timers().size(), 1u);
  EXPECT_EQ(Desktop().Timers()[0].owner, S().ExcelMainWnd);
  Run("unload");
  EXPECT_TRUE(Desktop().Timers().empty());
}

TEST_F(LifecycleTest, OwnerlessTimerStoppedByPrintingAndDisconnection) {
  Run({"setting RGB RGB-bc x", "start"});
  S().ExcelMainWnd = 0;
  Band().StartRepaintTimer(300);
  Band().StartRepaintTimer(300);
  EXPECT_EQ(Desktop().Timers().size(), 1u) << "a second start replaces the first";
  Run("print");
  EXPECT_TRUE(Desktop().Timers().empty());
  Band().StartRepaintTimer(300);
  Run("shutdown");
  EXPECT_TRUE(Desktop().Timers().empty());
}

TEST_F(LifecycleTest, HandlesAreGivenBackAfterEveryLine) {
  const char* script[] = {"start",
                          "select C5",
                          "click Option",
                          "form move cb_ok",
                          "pick 1 2 3",
                          "form click cb_Select",
                          "tick",
                          "form click cb_ok",
                          "click Switch",
                          "click Switch",
                          "click FindLastrow",
                          "click Wober",
                          "click Warm",
                          "click About",
                          "form click Label7",
                          "select-object",
                          "tick",
                          "shutdown",
                          "start",
                          "select D4",
                          "unload",
                          "load",
                          "select D5"};
  for (const char* line : script) {
    Run(line);
    EXPECT_EQ(Desktop().OpenDcCount(), 0) << line;
    EXPECT_EQ(Desktop().OpenBrushCount(), 0) << line;
    EXPECT_TRUE(Records().hostErrors.empty()) << line;
  }
}

}  // namespace
}  // namespace rowtint::testing
