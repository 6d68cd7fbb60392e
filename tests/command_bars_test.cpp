// The toolbar and the menu popup as the host shows them.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

class CommandBarsTest : public SimSessionTest {};

TEST_F(CommandBarsTest, FreshToolbarHoldsThreeIconButtons) {
  Run("start");
  ASSERT_EQ(Toolbars().size(), 1u);
  const auto bar = Toolbars()[0];
  EXPECT_TRUE(bar->visible);
  EXPECT_EQ(bar->protection, 1);
  EXPECT_FALSE(bar->temporary);
  ASSERT_EQ(bar->controls.size(), 3u);
  const char* tooltips[] = {"Option", "Switch", "FindLastrow"};
  const int faces[] = {209, 279, 317};
  for (int i = 0; i < 3; ++i) {
    const auto& c = *bar->controls[i];
    EXPECT_EQ(c.type, 1);
    EXPECT_EQ(c.style, 1);
    EXPECT_EQ(c.beginGroup, platform::kTrue);
    EXPECT_EQ(c.faceId, faces[i]);
    EXPECT_EQ(c.tooltip, tooltips[i]);
    EXPECT_EQ(c.caption, "");
    EXPECT_EQ(c.parameter, "Rowtintbar");
  }
}

TEST_F(CommandBarsTest, MenuPopupIsLastOnTheActiveMenuBarAndStartsAGroup) {
  Run("start");
  const auto& menu = session_.Bars().activeMenuBar->controls;
  ASSERT_EQ(Popups().size(), 1u);
  EXPECT_EQ(menu.back(), Popups()[0]);
  EXPECT_EQ(menu.back()->beginGroup, platform::kTrue);
  EXPECT_TRUE(menu.back()->temporary);
  const auto& items = Popups()[0]->popupBar->controls;
  ASSERT_EQ(items.size(), 4u);
  struct Expected {
    const char* caption;
    int faceId;
    bool group;
  } expected[] = {{"Option", 209, true}, {"Wober", 0, true}, {"Warm", 0, false}, {"About", 0, true}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(items[i]->caption, expected[i].caption);
    EXPECT_EQ(items[i]->style, 3);
    EXPECT_EQ(items[i]->faceId, expected[i].faceId);
    EXPECT_EQ(items[i]->beginGroup == platform::kTrue, expected[i].group) << expected[i].caption;
    EXPECT_EQ(items[i]->tooltip, "");
  }
}

TEST_F(CommandBarsTest, PopupBuiltOnAnotherMenuBarStaysUntilTheHostCloses) {
  Run("bar Chart Menu Bar");
  session_.Bars().activeMenuBar = session_.Bars().Find("Chart Menu Bar");
  Run({"start", "unload"});
  ASSERT_EQ(Popups().size(), 1u) << "removed only from \"Worksheet Menu Bar\"";
  EXPECT_TRUE(Toolbars().empty());
  Run({"load", "shutdown", "start"});
  EXPECT_EQ(Popups().size(), 1u) << "the temporary popups went with the host; the new run built one";
}

TEST_F(CommandBarsTest, WhenThePopupCannotBeAddedTheLastControlGetsTheGroupMark) {
  session_.Bars().activeMenuBar->refusesNewControls = true;
  Run("start");
  EXPECT_TRUE(Popups().empty());
  EXPECT_EQ(session_.Bars().activeMenuBar->controls.back()->caption, "&Help");
  EXPECT_EQ(session_.Bars().activeMenuBar->controls.back()->beginGroup, platform::kTrue);
  EXPECT_EQ(Toolbars().size(), 1u);
  EXPECT_TRUE(TimerRunning());
}

TEST_F(CommandBarsTest, ARefusedToolbarIsReportedOnceAndNothingIsBound) {
  session_.Bars().refusesNewBars = true;
  Run("start");
  const auto records = Records();
  ASSERT_EQ(records.messages.size(), 1u);
  EXPECT_EQ(records.messages[0], "-2147467259\r\nMethod 'Add' of object 'CommandBars' failed");
  EXPECT_TRUE(Toolbars().empty());
  EXPECT_EQ(Popups().size(), 1u) << "connection goes on with the menu";
  EXPECT_TRUE(TimerRunning());
}

TEST_F(CommandBarsTest, AToolbarWithTooFewButtonsBindsWhatItHas) {
  // Position 1 holds a popup (not a button), position 2 a button, position 3 nothing.
  Run("bar Rowtint");
  auto bar = Toolbars()[0];
  auto popup = std::make_shared<sim::ControlNode>();
  popup->type = platform::kMsoControlPopup;
  popup->popupBar = std::make_shared<sim::BarNode>();
  bar->controls.push_back(popup);
  bar->controls.push_back(std::make_shared<sim::ControlNode>());
  Run({"start", "select C5"});
  EXPECT_EQ(Toolbars().size(), 1u);
  EXPECT_TRUE(popup->clickSinks.empty());
  ASSERT_EQ(bar->controls[1]->clickSinks.size(), 1u);
  session_.Bars().Click(bar->controls[1]);
  EXPECT_TRUE(engine::IsTrue(S().HighlightOff)) << "the button at position 2 is Switch";
  EXPECT_EQ(Popups().size(), 1u);
  EXPECT_TRUE(TimerRunning());
}

TEST_F(CommandBarsTest, TwoToolbarsAtConnectionBindTheLastOne) {
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

TEST_F(CommandBarsTest, ABarNamedInAnotherCaseIsNotTheToolbar) {
  Run({"bar rowtint", "start"});
  ASSERT_EQ(Toolbars().size(), 1u);
  EXPECT_EQ(Toolbars()[0]->controls.size(), 3u);
  EXPECT_TRUE(session_.Bars().Find("rowtint") != nullptr);
}

}  // namespace
}  // namespace rowtint::testing
