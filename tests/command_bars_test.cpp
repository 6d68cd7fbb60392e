// The toolbar and the menu popup as the host shows them.
#include <gtest/gtest.h>

#include <tuple>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

class CommandBarsTest : public SimSessionTest {};

// Each control as (type, style, faceId, begins a group, tooltip, caption, parameter).
using Control = std::tuple<int, int, int, bool, std::string, std::string, std::string>;
std::vector<Control> Described(const std::vector<std::shared_ptr<sim::ControlNode>>& controls) {
  std::vector<Control> out;
  for (const auto& c : controls)
    out.emplace_back(c->type, c->style, c->faceId, c->beginGroup == platform::kTrue, c->tooltip, c->caption,
                     c->parameter);
  return out;
}

TEST_F(CommandBarsTest, AFreshToolbarHoldsThreeIconButtonsAndTheMenuItsPopupLastStartingAGroup) {
  Run("start");
  ASSERT_EQ(Toolbars().size(), 1u);
  const auto bar = Toolbars()[0];
  EXPECT_TRUE(bar->visible);
  EXPECT_EQ(bar->protection, 1);
  EXPECT_FALSE(bar->temporary);
  EXPECT_EQ(Described(bar->controls), (std::vector<Control>{{1, 1, 209, true, "Option", "", "Rowtintbar"},
                                                            {1, 1, 279, true, "Switch", "", "Rowtintbar"},
                                                            {1, 1, 317, true, "FindLastrow", "", "Rowtintbar"}}));
  const auto& menu = session_.Bars().activeMenuBar->controls;
  ASSERT_EQ(Popups().size(), 1u);
  EXPECT_EQ(menu.back(), Popups()[0]);
  EXPECT_EQ(menu.back()->beginGroup, platform::kTrue);
  EXPECT_TRUE(menu.back()->temporary);
  EXPECT_EQ(Described(Popups()[0]->popupBar->controls), (std::vector<Control>{{1, 3, 209, true, "", "Option", ""},
                                                                              {1, 3, 0, true, "", "Wober", ""},
                                                                              {1, 3, 0, false, "", "Warm", ""},
                                                                              {1, 3, 0, true, "", "About", ""}}));
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
