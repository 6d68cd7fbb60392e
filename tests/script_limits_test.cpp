// rowtint-sim takes only what the host or a person could give: a line
// beyond that is an error naming its line and what was wrong, and changes
// nothing; a line just inside the limit is taken.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

class ScriptLimitsTest : public SimTest {
 protected:
  // The script "state" then `line`: the error of its second line, or "" when it ran.
  std::string ErrorOf(const std::string& line) {
    std::istringstream in("state\n" + line + "\n");
    std::ostringstream out;
    try {
      session_.RunScript(in, out);
      return "";
    } catch (const simcli::ScriptError& e) {
      return e.what();
    }
  }
};

TEST_F(ScriptLimitsTest, EachLimitRefusesJustPastItAndTakesItsEdge) {
  struct Case {
    const char* taken;
    const char* refused;
    const char* why;
  } cases[] = {
      {"grid 0 0 1280 800", "grid 0 0 1281 800", "right edge from 0 to 1280"},
      {"screen 640 480", "screen 639 480", "width from 640 to 3840"},
      {"screen 3840 2160", "screen 3840 2161", "height from 480 to 2160"},
      {"zoom 10", "zoom 9", "zoom percentage from 10 to 400"},
      {"zoom 400", "zoom 401", "zoom percentage from 10 to 400"},
      {"row-height 1048576 409", "row-height 1048576 409.5", "row height in points from 0 to 409"},
      {"row-height 4 0", "row-height 4 -0.75", "row height in points from 0 to 409"},
      {"row-height 4 15", "row-height 1048577 15", "row from 1 to 1048576"},
      {"col-width XFD 1342.5", "col-width XFD 1343", "column width in points from 0 to 1342.5"},
      {"col-width 16384 0", "col-width XFE 10", "column from A to XFD"},
      {"pick 255 0 0", "pick 256 0 0", "red from 0 to 255"},
      {"pick 0 0 0", "pick 0 -1 0", "green from 0 to 255"},
      {"select XFD1048576", "select XFD1048577", "cell address within A1:XFD1048576"},
      {"scroll 1048576 16384", "scroll 0 1", "row from 1 to 1048576"},
      {"resize 40 120 41 121", "resize 40 120 40 121", "right lies past its left"},
      {"tick 1000", "tick 1001", "number of ticks from 1 to 1000"},
      {"dpi 480", "dpi 95", "dots per inch from 96 to 480"},
      {"version 9.0", "version 4.0", "the host's version text"},
      {"faults 0 0", "faults 1.5 3", "probability from 0 to 1"},
      {"set B2 x", "set B2:C3 x", "takes one cell"},
      {"snapshot plain.png", "snapshot ../above.png", "without a folder"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf(c.taken), "") << c.taken;
    const std::string error = ErrorOf(c.refused);
    EXPECT_EQ(error.rfind("line 2: '", 0), 0u) << c.refused << ": " << error;
    EXPECT_NE(error.find(c.why), std::string::npos) << c.refused << ": " << error;
  }
}

TEST_F(ScriptLimitsTest, NumbersThatNoDialogWouldTakeAreRefused) {
  for (const char* line : {"row-height 4 nan", "row-height 4 inf", "row-height 4 1e2", "col-width B 0x10", "zoom +100",
                           "zoom 100.5", "zoom 99999999999999999999", "pick 1 2", "faults 0.5 -1"}) {
    const std::string error = ErrorOf(line);
    EXPECT_EQ(error.rfind("line 2: '", 0), 0u) << line << ": " << error;
  }
  EXPECT_EQ(Host().Sheet().zoom, 100);
  EXPECT_EQ(Host().Sheet().RowHeight(4), 15);
}

TEST_F(ScriptLimitsTest, ExtraWordsAreRefused) {
  for (const char* line : {"state now", "zoom 100 percent", "select A1 B2", "select-object twice", "tick 2 3",
                           "gate on off", "start again", "scroll 1 1 1", "print all"}) {
    const std::string error = ErrorOf(line);
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << line << ": " << error;
  }
  EXPECT_EQ(Host().Sheet().active, (sim::CellRef{1, 1}));
}

TEST_F(ScriptLimitsTest, SizesAreWholePixelsAsTheHostKeepsThem) {
  Run({"row-height 3 12.6", "col-width B 20"});
  EXPECT_EQ(Host().Sheet().RowHeight(3), 12.75);
  EXPECT_EQ(Host().Sheet().ColumnWidth(2), 20.25);
  EXPECT_EQ(Host().Sheet().RowPixels(3), 17);
}

TEST_F(ScriptLimitsTest, AScreenChangeKeepsTheGridsDistanceFromEveryEdge) {
  Run("screen 800 500");
  EXPECT_EQ(Host().GridRect(), (platform::Rect{40, 120, 760, 460}));
  Run("grid 700 400 760 460");
  EXPECT_NE(ErrorOf("screen 640 480").find("line 2: 'screen' leaves no room"), std::string::npos)
      << "a grid 40 pixels from the right edge cannot start at 700 on a 640-pixel screen";
  EXPECT_EQ(Desktop().Screen().Width(), 800);
  Run("grid 10 10 630 470");
  Run("screen 640 480");
  EXPECT_EQ(Host().GridRect(), (platform::Rect{10, 10, 470, 450}));
}

class ModalTest : public SimTest {
 protected:
  void SetUp() override { Run({"select C5", "click Option"}); }
  std::string ErrorOf(const char* line) {
    try {
      Run(line);
      return "";
    } catch (const simcli::ScriptError& e) {
      return e.what();
    }
  }
};

TEST_F(ModalTest, TheHostsWindowsTakeNoInputWhileAFormIsShown) {
  for (const char* line :
       {"select D7", "select-object", "scroll 3 1", "resize 40 120 1000 700", "activate-sheet", "activate-workbook",
        "print", "click Switch", "zoom 50", "set A1 x", "shutdown", "unload", "load", "start"}) {
    EXPECT_NE(ErrorOf(line).find("needs the host's windows, which are disabled while fm_Option is shown"),
              std::string::npos)
        << line;
  }
  EXPECT_EQ(Host().Sheet().active, (sim::CellRef{5, 3}));
  EXPECT_EQ(Host().Sheet().scroll, (sim::CellRef{1, 1}));
  EXPECT_NE(session_.AddIn(), nullptr);
  // The message loop keeps running: ticks, the store and the engine still work.
  for (const char* line : {"tick", "gate on", "setting RGB RGB-bc 1", "paint", "state"}) EXPECT_EQ(ErrorOf(line), "");
  Run("form click cb_cancel");
  EXPECT_EQ(ErrorOf("select D7"), "");
}

TEST_F(ModalTest, TheColourDialogDisablesTheFormUntilAnswered) {
  Run("form click cb_Select");
  ASSERT_TRUE(Desktop().ColorDialogShown());
  EXPECT_NE(ErrorOf("form click cb_ok").find("disabled while the colour dialog is shown"), std::string::npos);
  EXPECT_NE(ErrorOf("select D7").find("disabled while the colour dialog is shown"), std::string::npos);
  EXPECT_TRUE(Options()->Visible());
  Run("pick 10 20 30");
  EXPECT_FALSE(Desktop().ColorDialogShown());
  EXPECT_EQ(Options()->BackColor(forms::option::kNewColor), 10 | 20 << 8 | 30 << 16);
  EXPECT_EQ(ErrorOf("form click cb_ok"), "");
  EXPECT_EQ(S().HighlightColor, 10 | 20 << 8 | 30 << 16);
}

TEST(SimSessionFiles, WithoutAFolderNothingIsWrittenWhereTheProgramRuns) {
  const auto here = std::filesystem::current_path();
  const auto folder = std::filesystem::path(::testing::TempDir()) / "rowtint-no-folder";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  {
    simcli::SimSession session;
    std::ostringstream out;
    for (const char* line : {"setting RGB RGB-bc 255", "start", "warm", "shutdown"}) session.RunLine(line, out);
    EXPECT_EQ(session.Settings().Values().size(), 4u);
  }
  std::filesystem::current_path(here);
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace rowtint::testing
