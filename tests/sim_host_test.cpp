// rowtint-sim as its user meets it: the script language and the JSON that
// `state` prints; a line beyond what the host or a person could give is an
// error naming its line and what was wrong, and changes nothing. The
// simulated host as a user sees it: a selection brings the active cell into
// view as little as it can, before the add-in hears of it, and a scroll
// moves the grid's pixels by exactly the rows scrolled, leaving the pixels
// of windows above the grid alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

std::string RunScript(simcli::SimSession& session, const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out;
  session.RunScript(in, out);
  return out.str();
}

class SimHostTest : public SimTest {
 protected:
  // The script "state" then `line`: the error of its second line, or "" when it ran.
  std::string ErrorOf(const std::string& line) { return ScriptErrorOf("state\n" + line + "\n"); }
  std::string RunScript(const std::string& script) { return testing::RunScript(session_, script); }
};

TEST_F(SimHostTest, EachLimitTakesItsEdge) {
  for (const char* line : {"grid 0 0 1280 800",
                           "screen 640 480",
                           "screen 3840 2160",
                           "zoom 10",
                           "zoom 400",
                           "row-height 1048576 409",
                           "row-height 4 0",
                           "row-height 4 15",
                           "col-width XFD 1342.5",
                           "col-width 16384 0",
                           "pick 255 0 0",
                           "pick 0 0 0",
                           "select XFD1048576",
                           "scroll 1048576 16384",
                           "resize 40 120 41 121",
                           "tick 1000",
                           "dpi 480",
                           "version 9.0",
                           "faults 0 0",
                           "set B2 x",
                           "snapshot plain.png"})
    EXPECT_EQ(ErrorOf(line), "") << line;
}

TEST_F(SimHostTest, ALineNoHostOrPersonCouldGiveIsRefusedWithItsLineAndWhy) {
  struct Case {
    const char* line;
    const char* why;
  } cases[] = {
      // Just past each limit.
      {"grid 0 0 1281 800", "right edge from 0 to 1280"},
      {"screen 639 480", "width from 640 to 3840"},
      {"screen 3840 2161", "height from 480 to 2160"},
      {"zoom 9", "zoom percentage from 10 to 400"},
      {"zoom 401", "zoom percentage from 10 to 400"},
      {"row-height 1048576 409.5", "row height in points from 0 to 409"},
      {"row-height 4 -0.75", "row height in points from 0 to 409"},
      {"row-height 1048577 15", "row from 1 to 1048576"},
      {"col-width XFD 1343", "column width in points from 0 to 1342.5"},
      {"col-width XFE 10", "column from A to XFD"},
      {"pick 256 0 0", "red from 0 to 255"},
      {"pick 0 -1 0", "green from 0 to 255"},
      {"select XFD1048577", "cell address within A1:XFD1048576"},
      {"scroll 0 1", "row from 1 to 1048576"},
      {"resize 40 120 40 121", "right lies past its left"},
      {"tick 1001", "number of ticks from 1 to 1000"},
      {"dpi 95", "dots per inch from 96 to 480"},
      {"version 4.0", "the host's version text"},
      {"faults 1.5 3", "probability from 0 to 1"},
      {"set B2:C3 x", "takes one cell"},
      {"snapshot ../above.png", "without a folder"},
      // Numbers that no dialog would take.
      {"row-height 4 nan", "number for the row height in points, not 'nan'"},
      {"row-height 4 inf", "not 'inf'"},
      {"row-height 4 1e2", "not '1e2'"},
      {"col-width B 0x10", "number for the column width in points, not '0x10'"},
      {"zoom +100", "whole number for the zoom percentage, not '+100'"},
      {"zoom 100.5", "not '100.5'"},
      {"zoom 99999999999999999999", "not '99999999999999999999'"},
      {"zoom many", "not 'many'"},
      {"faults 0.5 -1", "whole number from 0 for the seed"},
      {"select Q0", "cell address within A1:XFD1048576, not 'Q0'"},
      // Missing and extra words.
      {"pick 1 2", "'pick' takes 3 arguments, not 2"},
      {"select", "'select' takes 1 argument, not 0"},
      {"state now", "'state' takes 0 arguments, not 1"},
      {"zoom 100 percent", "'zoom' takes 1 argument, not 2"},
      {"select A1 B2", "'select' takes 1 argument, not 2"},
      {"select-object twice", "takes 0 arguments"},
      {"tick 2 3", "'tick' takes at most 1 argument, not 2"},
      {"gate on off", "'gate' takes 1 argument"},
      {"start again", "'start' takes 0 arguments"},
      {"scroll 1 1 1", "'scroll' takes 2 arguments, not 3"},
      {"print all", "'print' takes 0 arguments"},
      // What the host does not have or is not doing.
      {"frobnicate", "unknown command 'frobnicate'"},
      {"gate maybe", "'gate' takes on or off"},
      {"click Nothing", "the host shows no button 'Nothing'"},
      {"form click cb_ok", "no form is shown"},
      {"load", "the add-in is loaded already"},
  };
  for (const auto& c : cases) {
    const std::string error = ErrorOf(c.line);
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << c.line << ": " << error;
    EXPECT_NE(error.find(c.why), std::string::npos) << c.line << ": " << error;
  }
  EXPECT_EQ(Host().Sheet().zoom, 100);
  EXPECT_EQ(Host().Sheet().RowHeight(4), 15);
  EXPECT_EQ(Host().Sheet().active, (sim::CellRef{1, 1}));
}

TEST_F(SimHostTest, SizesAreWholePixelsAsTheHostKeepsThem) {
  Run({"row-height 3 12.6", "col-width B 20"});
  EXPECT_EQ(Host().Sheet().RowHeight(3), 12.75);
  EXPECT_EQ(Host().Sheet().ColumnWidth(2), 20.25);
  EXPECT_EQ(Host().Sheet().RowPixels(3), 17);
}

TEST_F(SimHostTest, AScreenChangeKeepsTheGridsDistanceFromEveryEdge) {
  Run("screen 800 500");
  EXPECT_EQ(Host().GridRect(), (Rect{40, 120, 760, 460}));
  Run("grid 700 400 760 460");
  EXPECT_NE(ErrorOf("screen 640 480").find("line 2: 'screen' leaves no room"), std::string::npos)
      << "a grid 40 pixels from the right edge cannot start at 700 on a 640-pixel screen";
  EXPECT_EQ(Desktop().Screen().Width(), 800);
  Run("grid 10 10 630 470");
  Run("screen 640 480");
  EXPECT_EQ(Host().GridRect(), (Rect{10, 10, 470, 450}));
}

TEST_F(SimHostTest, TheHostsWindowsTakeNoInputWhileAFormIsShown) {
  Run({"select C5", "click Option"});
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
  Run("form click cb_Select");
  ASSERT_TRUE(Desktop().ColorDialogShown());
  EXPECT_NE(ErrorOf("form click cb_ok").find("disabled while the colour dialog is shown"), std::string::npos);
  EXPECT_NE(ErrorOf("select D7").find("disabled while the colour dialog is shown"), std::string::npos);
  EXPECT_TRUE(Options()->Visible());
  Run("pick 10 20 30");
  EXPECT_FALSE(Desktop().ColorDialogShown());
  EXPECT_EQ(ErrorOf("form click cb_ok"), "");
  EXPECT_EQ(S().HighlightColor, 10 | 20 << 8 | 30 << 16);
  EXPECT_EQ(ErrorOf("select D7"), "");
}

// A window repaints only its invalid part, rendering the sheet into a buffer
// of that part's size from an origin above and left of it: the part must
// come out as it stands in the whole grid, gridlines and the active cell's
// border included, wherever its edges cut a row or a column.
TEST(SheetRender, APartRenderedAloneIsThatPartOfTheWhole) {
  struct Case {
    const char* name;
    std::int32_t zoom;
    sim::CellRef frozen;
    platform::Rect part;  // in the grid's client coordinates
  };
  const Case cases[] = {
      {"a strip cutting a row, at zoom 115", 115, {0, 0}, {7, 255, 1180, 271}},
      {"a strip cutting a row, at zoom 85", 85, {0, 0}, {7, 255, 1180, 271}},
      {"inside a cell, its text", 100, {0, 0}, {70, 244, 120, 256}},
      {"a corner of the active cell", 100, {0, 0}, {250, 75, 262, 83}},
      {"across the frozen rows' edge", 100, {2, 1}, {30, 30, 700, 50}},
      {"inside the frozen column", 100, {2, 1}, {10, 100, 50, 130}},
  };
  for (const Case& c : cases) {
    sim::SheetModel sheet;
    sheet.zoom = c.zoom;
    sheet.frozen = c.frozen;
    sheet.active = {4, 4};
    sheet.SetText({4, 4}, "active");
    sheet.SetText({13, 2}, "text");
    sim::FrameBuffer whole(1200, 640);
    sheet.Render(whole, {0, 0}, whole.Bounds());
    const platform::Rect& p = c.part;
    sim::FrameBuffer part(p.right - p.left, p.bottom - p.top);
    sheet.Render(part, {-p.left, -p.top}, part.Bounds());
    int differ = 0, lines = 0;
    for (int y = 0; y < part.Height(); ++y)
      for (int x = 0; x < part.Width(); ++x) {
        differ += part.Get(x, y) != whole.Get(x + p.left, y + p.top);
        lines += whole.Get(x + p.left, y + p.top) != 0xFFFFFF;
      }
    EXPECT_EQ(differ, 0) << c.name;
    EXPECT_GT(lines, 0) << c.name << ": the part holds nothing but white, so nothing was compared";
  }
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
    EXPECT_EQ(session.Settings().Values().size(), 5u);
  }
  std::filesystem::current_path(here);
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

class FreshScriptTest : public SimSessionTest {};

TEST_F(FreshScriptTest, AScriptStartsTheHostUnlessItFirstPreparesStoreOrBars) {
  RunScript(session_, "setting RGB RGB-bc 255\nbar Extra\n");
  EXPECT_EQ(session_.AddIn(), nullptr) << "nothing started yet";
  RunScript(session_, "select B2\n");
  ASSERT_NE(session_.AddIn(), nullptr);
  EXPECT_EQ(S().HighlightColor, 255);
  EXPECT_NE(session_.Bars().Find("Extra"), nullptr);
}

TEST_F(FreshScriptTest, StateListsTheAddInsStateBarsFormsAndStore) {
  const std::string json =
      RunScript(session_, "setting HIS his_color1 65280\nclick About\nform click Label3\nform click Label7\nstate\n");
  for (const char* part :
       {"\"HighlightOff\":false", "\"RopMode\":0", "\"HighlightColor\":14600886", "\"HistoryColor1\":65280",
        "\"HistoryColor3\":-2147483633", "\"timer\":{\"running\":true,\"interval\":200", "\"activeCell\":\"$A$1\"",
        "\"selection\":\"$A$1\"", "\"ColumnCheckArmed\":true", "\"RedrawWholeGrid\":false",
        "\"settings\":{\"HIS/his_color1\":\"65280\"}", "\"history\":[65280,-2147483633,-2147483633]",
        "{\"caption\":\"\",\"tooltip\":\"Switch\",\"faceId\":279,\"style\":1,\"beginGroup\":true,\"enabled\":true,"
        "\"tag\":\"Rowtint.Switch\"}",
        "\"kind\":\"popup\",\"visible\":true,\"protection\":0,\"beginGroup\":true,\"last\":true",
        "\"fm_About\":{\"visible\":false", "\"Image2\":{\"BackColor\":-2147483626,\"Visible\":false}",
        "\"Opt_primi\":{\"BackColor\":-2147483626,\"Visible\":true,\"Value\":true}",
        "\"launched\":[\"mailto:support@rowtint.org?subject=Rowtint Support\"]", "\"messages\":[]"})
    EXPECT_NE(json.find(part), std::string::npos) << part;
  EXPECT_NE(json.find("\"ExcelMainWnd\":" + std::to_string(S().ExcelMainWnd)), std::string::npos);
}

TEST_F(SimHostTest, StateReportsWhatHappenedSinceThePreviousState) {
  std::istringstream lines(RunScript("select C5:D5 # two columns\nstate\nstate\n"));
  std::string first, second;
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_NE(first.find("\"selection\":\"$C$5:$D$5\""), std::string::npos);
  EXPECT_NE(first.find("\"drawn\":[{"), std::string::npos);
  for (const char* nothing : {"\"drawn\":[],", "\"invalidated\":[],", "\"calls\":0"})
    EXPECT_NE(second.find(nothing), std::string::npos) << nothing;
}

TEST_F(SimHostTest, SnapshotWritesAPngOfTheScreen) {
  RunScript("select C5\nsnapshot band.png\n");
  std::ifstream png(OutDir() + "/band.png", std::ios::binary);
  ASSERT_TRUE(png);
  unsigned char head[24];
  png.read(reinterpret_cast<char*>(head), sizeof head);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(head) + 1, 3), "PNG");
  EXPECT_EQ(head[16] << 24 | head[17] << 16 | head[18] << 8 | head[19], 1280) << "width";
  EXPECT_EQ(head[20] << 24 | head[21] << 16 | head[22] << 8 | head[23], 800) << "height";
}

TEST_F(SimHostTest, ASelectionScrollsTheLeastThatShowsTheActiveCellWhole) {
  // The 1200 by 640 grid shows rows 1 to 32 and columns A to R whole, S in part.
  struct Case {
    const char* select;
    sim::CellRef scroll;
  } cases[] = {
      {"C32", {1, 1}},             // whole already
      {"C33", {2, 1}},             // one row below: one row
      {"C40", {9, 1}},             // row 40 becomes the last whole row
      {"C3:D3", {3, 1}},           // above: it becomes the top row
      {"S3", {3, 2}},              // the partly shown column: one column
      {"A3", {3, 1}},              // left of the view
      {"C1048576", {1048545, 1}},  // the sheet's last row
  };
  for (const auto& c : cases) {
    Run(std::string("select ") + c.select);
    EXPECT_EQ(Host().Sheet().scroll, c.scroll) << c.select;
    EXPECT_EQ(S().SelScrollRow, c.scroll.row) << c.select << ": the event came after the scroll";
  }
  // A cell taller than the grid shows its top.
  Run({"scroll 1 1", "zoom 200", "row-height 20 409", "select C20"});
  EXPECT_EQ(Host().Sheet().scroll, (sim::CellRef{20, 1}));
}

TEST_F(SimHostTest, ScrollingMovesThePixelsByExactlyTheRowsScrolled) {
  // Rows whose sizes at 75 % are not whole numbers of the standard row's pixels.
  Run({"zoom 75", "row-height 2 12.75", "row-height 3 9.75", "row-height 4 30", "set C6 text", "set B9 more",
       "select C8"});
  const sim::FrameBuffer before = Desktop().Screen();
  RunWithUnseenScrolls({"scroll 4 2"});
  const int dy = -Host().Sheet().RowEdge(1), dx = -Host().Sheet().ColumnEdge(1);
  ASSERT_EQ(dy, 15 + 13 + 10) << "each row rounded to whole pixels at 75 %";
  ASSERT_EQ(dx, 48);
  const Rect grid = Host().GridRect();
  int moved = 0, wrong = 0;
  for (int y = grid.top; y < grid.bottom - dy; ++y)
    for (int x = grid.left; x < grid.right - dx; ++x, ++moved)
      if (ScreenAt(x, y) != before.Get(x + dx, y + dy)) ++wrong;
  EXPECT_EQ(wrong, 0) << "of " << moved << " pixels moved by (" << dx << ", " << dy << ")";
  // What came into view is the host's own drawing.
  EXPECT_EQ(TintIn({grid.left, grid.bottom - dy, grid.right, grid.bottom}), 0);
  EXPECT_EQ(TintIn({grid.right - dx, grid.top, grid.right, grid.bottom}), 0);
}

TEST_F(SimHostTest, WindowsOverTheGridKeepTheirPixelsWhenItScrolls) {
  Run({"set E14 under", "select C12", "click Option"});
  const Rect form = FormRect();
  const sim::FrameBuffer before = Desktop().Screen();
  checker_.Before();
  Host().Scroll({4, 2});  // as another program might; a script cannot while the form is up
  Desktop().DrainMessages();
  int changed = 0;
  for (int y = form.top; y < form.bottom; ++y)
    for (int x = form.left; x < form.right; ++x) changed += ScreenAt(x, y) != before.Get(x, y);
  EXPECT_EQ(changed, 0);
  // Nor does the grid take pixels from under the form: outside the band it
  // carried the screen shows what the host draws.
  const auto v = checker_.After("");
  EXPECT_FALSE(v) << v->detail;
}

}  // namespace
}  // namespace rowtint::testing
