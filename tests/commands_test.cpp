// The seven buttons behind the command gate, and find-last-row.
#include <gtest/gtest.h>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

class CommandsTest : public SimTest {
 protected:
  void SetUp() override {
    Run("select C5");
    Records();
  }
};

// With the gate closed no command acts, wherever it is given: the toolbar,
// the menu and each control of the ribbon group, which still looks enabled
// until the next tick reads the gate, so that a click in between reaches the
// add-in.
TEST_F(CommandsTest, AClosedGateRefusesEveryCommandFromEveryPlace) {
  // A colour in the first history entry, and the band in another colour, so
  // that a preset or the history would show.
  Run({"set A40 data", "click Option", "form close", "click Warm", "tick", "gate off"});
  ASSERT_EQ(S().HistoryColor1, engine::kWoberColor);
  const struct {
    const char* line;
    const char* handler;  // the handler the click reached, as `state` counts its runs
  } places[] = {
      {"ribbon click rowtintOptions", "ribbon:rowtintOptions"},
      {"ribbon toggle rowtintBand", "ribbon:rowtintBand"},
      {"ribbon menu rowtintColours rowtintWober", "ribbon:rowtintWober"},
      {"ribbon menu rowtintColours rowtintWarm", "ribbon:rowtintWarm"},
      {"ribbon menu rowtintColours rowtintHistory1", "ribbon:rowtintHistory1"},
      {"ribbon click rowtintLastRow", "ribbon:rowtintLastRow"},
      {"ribbon click rowtintAbout", "ribbon:rowtintAbout"},
      {"click Option", "Option"},
      {"click Switch", "Switch"},
      {"click FindLastrow", "FindLastrow"},
      {"click menu:Option", "menu:Option"},
      {"click Wober", "menu:Wober"},
      {"click Warm", "menu:Warm"},
      {"click About", "menu:About"},
  };
  for (const auto& place : places) {
    Records();
    Run({place.line, "state"});
    EXPECT_NE(lastOutput_.find(std::string("\"") + place.handler + "\":1"), std::string::npos)
        << place.line << ": the click did not reach the add-in";
    EXPECT_EQ(Forms().ActiveForm(), nullptr) << place.line;
    EXPECT_FALSE(S().HighlightOff) << place.line;
    EXPECT_EQ(S().HighlightColor, engine::kWarmColor) << place.line;
    EXPECT_EQ(Host().Sheet().active, (sim::CellRef{5, 3})) << place.line;
    const auto records = Records();
    EXPECT_TRUE(records.drawn.empty()) << place.line;
    EXPECT_TRUE(records.invalidated.empty()) << place.line;
  }
}

// Also after an unload and a load in one host run, when the new toolbar's
// buttons are the ones bound.
TEST_F(CommandsTest, SwitchErasesTheBandThenDrawsItAgainAndStopsTheTimer) {
  for (const bool reloaded : {false, true}) {
    SCOPED_TRACE(reloaded ? "reloaded" : "first load");
    if (reloaded) Run({"unload", "load", "select C7"});
    const Rect band = S().LastBandRect;
    ASSERT_GT(TintIn(band), 1000);
    Run("click Switch");
    EXPECT_TRUE(S().HighlightOff);
    EXPECT_EQ(TintOutside(), 0) << "the band is erased";
    EXPECT_TRUE(TimerRunning());
    Run("click Switch");
    EXPECT_FALSE(S().HighlightOff);
    EXPECT_EQ(NotBand(S().LeftBandRect) + NotBand(S().RightBandRect), 0);
    EXPECT_FALSE(TimerRunning()) << "switching on stops the timer until the next selection";
    Run("select C8");
    EXPECT_TRUE(TimerRunning());
  }
}

TEST_F(CommandsTest, PresetsSwitchTheBandOnInTheirColourAndLeaveTheTimerAndHistoryAlone) {
  Run({"click Switch", "click Warm"});
  EXPECT_FALSE(S().HighlightOff);
  EXPECT_EQ(Records().drawn.back().color, 16366575);
  EXPECT_TRUE(TimerRunning());
  Run("click Wober");
  EXPECT_EQ(S().HighlightColor, 14600886);
  EXPECT_EQ(Records().drawn.back().color, 14600886);
  EXPECT_EQ(S().HistoryColor1, engine::kEmptySwatchColor);
}

TEST_F(CommandsTest, ToolbarAndMenuOptionOpenTheSameFormShowingTheCurrentColour) {
  Run({"warm", "click Switch"});
  for (const char* click : {"click Option", "click menu:Option"}) {
    Run(click);
    auto form = Forms().ActiveForm();
    ASSERT_NE(form, nullptr) << click;
    EXPECT_EQ(form->Name(), "fm_Option");
    for (const auto& c : form->Controls())
      if (c.name == "curr_color_lab" || c.name == "new_color_lab") {
        EXPECT_EQ(c.backColor, 16366575) << c.name;
      }
    Run("tick");  // the timer keeps firing while the form is open
    Run("form click cb_cancel");
    EXPECT_EQ(Forms().ActiveForm(), nullptr);
  }
  EXPECT_TRUE(S().HighlightOff) << "Cancel does not switch the band on";
}

// Where find-last-row puts the selection: below the lowest used row, in the
// active cell's column, whatever that row's number.
struct LastRowCase {
  const char* name;
  std::vector<const char*> cells;
  const char* active;
  const char* selected;  // nullptr: nothing is selected
  // Where the user's last search in Excel's Find dialog looked, which a
  // search without its own options would take.
  const char* userSearched = "formulas";
  friend void PrintTo(const LastRowCase& c, std::ostream* os) { *os << c.name; }
};

class FindLastRowTest : public SimTest, public ::testing::WithParamInterface<LastRowCase> {};

TEST_P(FindLastRowTest, SelectsBelowTheLowestUsedRow) {
  const auto& c = GetParam();
  for (const char* cell : c.cells) Run(std::string("set ") + cell + " x");
  Run(std::string("select ") + c.active);
  Run(std::string("find-options ") + c.userSearched);
  Run("click FindLastrow");
  Run("state");
  EXPECT_NE(lastOutput_.find(R"("findOptions":{"lookIn":"formulas","lookAt":"part","matchCase":false})"),
            std::string::npos)
      << "the search's own options stay for the user's next Find, as Excel keeps them";
  const auto& sheet = Host().Sheet();
  const std::string selected = sim::AbsoluteAddress(sheet.selection);
  if (c.selected) {
    EXPECT_EQ(selected, c.selected);
    EXPECT_EQ(S().LastSelColumn, sheet.active.column) << "the host raised the selection event";
  } else {
    EXPECT_EQ(selected, sim::AbsoluteAddress(*sim::ParseArea(c.active)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, FindLastRowTest,
    ::testing::Values(LastRowCase{"BlockAboveActiveCell", {"A1", "B4", "C10"}, "D3", "$D$11"},
                      LastRowCase{"DataInAnotherColumn", {"Z5"}, "B2", "$B$6"},
                      LastRowCase{"AfterTheUserSearchedTheComments", {"A1", "C10"}, "D3", "$D$11", "comments"},
                      LastRowCase{"AfterTheUserSearchedTheValues", {"C10"}, "D3", "$D$11", "values"},
                      LastRowCase{"EmptySheet", {}, "C9", "$C$1"},
                      LastRowCase{"Row32766", {"A32766"}, "B2", "$B$32767"},
                      LastRowCase{"Row32767", {"A32767"}, "B2", "$B$32768"},
                      LastRowCase{"Row40000", {"A40000"}, "E7", "$E$40001"},
                      LastRowCase{"SheetsLastRow", {"A1048576"}, "E7", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rowtint::testing
