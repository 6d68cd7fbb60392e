// The toolbar and the menu popup as the host shows them.
#include <gtest/gtest.h>

#include <tuple>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

class CommandBarsTest : public SimSessionTest {};

// Each control as (type, style, faceId, begins a group, tooltip, caption, parameter).
using Control = std::tuple<int, int, int, bool, std::string, std::string, std::string, std::string>;
std::vector<Control> Described(const std::vector<std::shared_ptr<sim::ControlNode>>& controls) {
  std::vector<Control> out;
  for (const auto& c : controls)
    out.emplace_back(c->type, c->style, c->faceId, c->beginGroup == platform::kTrue, c->tooltip, c->caption,
                     c->parameter, c->tag);
  return out;
}

TEST_F(CommandBarsTest, AFreshToolbarHoldsThreeIconButtonsAndTheMenuItsPopupLastStartingAGroup) {
  Run("start");
  ASSERT_EQ(Toolbars().size(), 1u);
  const auto bar = Toolbars()[0];
  EXPECT_TRUE(bar->visible);
  EXPECT_EQ(bar->protection, 1);
  EXPECT_FALSE(bar->temporary);
  EXPECT_EQ(Described(bar->controls),
            (std::vector<Control>{{1, 1, 209, true, "Option", "", "Rowtintbar", "Rowtint.Option"},
                                  {1, 1, 279, true, "Switch", "", "Rowtintbar", "Rowtint.Switch"},
                                  {1, 1, 317, true, "FindLastrow", "", "Rowtintbar", "Rowtint.FindLastrow"}}));
  const auto& menu = session_.Bars().activeMenuBar->controls;
  ASSERT_EQ(Popups().size(), 1u);
  EXPECT_EQ(menu.back(), Popups()[0]);
  EXPECT_EQ(menu.back()->beginGroup, platform::kTrue);
  EXPECT_TRUE(menu.back()->temporary);
  EXPECT_EQ(Described(Popups()[0]->popupBar->controls),
            (std::vector<Control>{{1, 3, 209, true, "", "Option", "", "Rowtint.Menu.Option"},
                                  {1, 3, 0, true, "", "Wober", "", "Rowtint.Menu.Wober"},
                                  {1, 3, 0, false, "", "Warm", "", "Rowtint.Menu.Warm"},
                                  {1, 3, 0, true, "", "About", "", "Rowtint.Menu.About"}}));
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

// Office raises a click on every button with the clicked one's Id and Tag;
// the add-in's buttons all have Id 1, so only a tag of their own keeps each
// click to its own handler, on a new toolbar and on one an earlier version saved.
TEST_F(CommandBarsTest, EachClickRunsItsOwnHandlerOnceOnANewToolbarAndOnASavedOne) {
  // As an earlier version left it: the three buttons without tags.
  Run("bar Rowtint");
  for (const char* tooltip : {"Option", "Switch", "FindLastrow"}) {
    auto button = std::make_shared<sim::ControlNode>();
    button->tooltip = tooltip;
    Toolbars()[0]->controls.push_back(button);
  }
  for (const bool saved : {true, false}) {
    SCOPED_TRACE(saved ? "saved toolbar" : "new toolbar");
    if (!saved) Run({"unload", "load"});
    Run({"select C5", "gate off", "state"});
    for (const char* click :
         {"Option", "Switch", "FindLastrow", "menu:Option", "menu:Wober", "menu:Warm", "menu:About"}) {
      Run(std::string("click ") + click);
      Run("state");
      EXPECT_NE(lastOutput_.find("\"clicksHandled\":{\"" + std::string(click) + "\":1}"), std::string::npos)
          << click << " in " << lastOutput_.substr(lastOutput_.find("clicksHandled"), 120);
    }
    Run("gate on");
  }
}

TEST_F(CommandBarsTest, UnloadingRemovesTheAddInsButtonsWhereverTheyStand) {
  Run("bar Chart Menu Bar");
  session_.Bars().activeMenuBar = session_.Bars().Find("Chart Menu Bar");
  Run({"start", "unload"});
  for (const auto& c : session_.Bars().AllControls()) EXPECT_EQ(c->tag, "") << c->caption << c->tooltip;
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
  EXPECT_TRUE(S().HighlightOff) << "the button at position 2 is Switch";
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
  EXPECT_FALSE(S().HighlightOff);
  session_.Bars().Click(bars[1]->controls[1]);
  EXPECT_TRUE(S().HighlightOff) << "the second bar's Switch is bound";
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
