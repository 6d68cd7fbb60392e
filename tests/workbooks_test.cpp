// Workbooks in the simulated host as its user meets them: each opened,
// activated or closed one tells the add-in through WorkbookActivate; from
// version 15 on each has a main window of its own, which Application.Hwnd
// and Window.Hwnd name, and a copy of the add-in's buttons; before, one
// main window shows whichever is active. A line beyond what the host allows
// is an error naming its line.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/sim/sim_excel_objects.h"
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
namespace host = platform::host;

// Counts the host's WorkbookActivate events.
class ActivateCounter : public host::AppEvents {
 public:
  void SheetActivate(const std::shared_ptr<host::Object>&) override {}
  void SheetSelectionChange(const std::shared_ptr<host::Object>&, const std::shared_ptr<host::Range>&) override {}
  void WindowResize(const std::shared_ptr<host::Object>&, const std::shared_ptr<host::Object>&) override {}
  void WorkbookActivate(const std::shared_ptr<host::Object>&) override { ++activations; }
  void WorkbookBeforePrint(const std::shared_ptr<host::Object>&, platform::VbBool&) override {}
  void WorkbookAddinUninstall(const std::shared_ptr<host::Object>&) override {}
  int activations = 0;
};

class WorkbooksTest : public SimTest {
 protected:
  std::size_t Open() { return Host().Model().Workbooks().size(); }
  std::size_t Active() { return Host().Model().ActivePlace(); }
  // The main windows of the host on the desktop, by the workbooks they show.
  int MainWindows() {
    int n = 0;
    for (const auto& book : Host().Model().Workbooks())
      n += Desktop().IsWindow(Host().MainWindowOf(book->id)) &&
           Host().MainWindowOf(book->id) != Host().MainWindowOf(Host().Model().Workbooks().front()->id);
    return n + 1;
  }
};

TEST_F(WorkbooksTest, OpeningSwitchingAndClosingCountAndTellTheAddIn) {
  struct Case {
    const char* version;
    std::vector<const char*> lines;
    std::size_t open, active;
    int activations, mainWindows;
  };
  const Case cases[] = {
      {"14.0", {"workbook new"}, 2, 2, 1, 1},
      {"16.0", {"workbook new"}, 2, 2, 1, 2},
      {"16.0", {"workbook new", "workbook new", "workbook 1"}, 3, 1, 3, 3},
      {"14.0", {"workbook new", "workbook new", "workbook 2"}, 3, 2, 3, 1},
      {"16.0", {"workbook new", "workbook 1", "workbook close 1"}, 1, 1, 3, 1},
      {"16.0", {"workbook new", "workbook new", "workbook close 3"}, 2, 2, 3, 2},
      // Closing one that is not active leaves the active one alone, and says nothing.
      {"16.0", {"workbook new", "workbook new", "workbook close 1"}, 2, 2, 2, 2},
      {"14.0", {"workbook new", "workbook close 2"}, 1, 1, 2, 1},
  };
  for (const Case& c : cases) {
    Run("start");
    Run(std::string("version ") + c.version);
    ActivateCounter counter;
    auto connection = Host().Model().Advise(counter);
    for (const char* line : c.lines) Run(line);
    const std::string where = std::string(c.version) + " " + c.lines.back();
    EXPECT_EQ(Open(), c.open) << where;
    EXPECT_EQ(Active(), c.active) << where;
    EXPECT_EQ(counter.activations, c.activations) << where;
    EXPECT_EQ(MainWindows(), c.mainWindows) << where;
    // Whatever was done, the focus is in the active workbook's grid, under its main window.
    EXPECT_EQ(Desktop().GetFocus(), Host().GridWindow()) << where;
    EXPECT_EQ(Desktop().GetRootWindow(Host().GridWindow()), Host().MainWindow()) << where;
  }
}

TEST_F(WorkbooksTest, EachGridLiesInADeskInsideItsMainWindowCascadedFromTheOneBefore) {
  const Rect first = Host().GridRect();
  struct Case {
    const char* version;
    int shift;  // how far right and down the new workbook's grid lies
  };
  for (const Case& c : {Case{"14.0", 0}, Case{"16.0", sim::kCascade}}) {
    Run("start");
    Run(std::string("version ") + c.version);
    Run("workbook new");
    const auto grid = Host().GridWindow();
    EXPECT_EQ(Desktop().WindowClassName(grid), "EXCEL7") << c.version;
    EXPECT_EQ(Desktop().GetRootWindow(grid), Host().MainWindow()) << c.version;
    const Rect moved{first.left + c.shift, first.top + c.shift, first.right + c.shift, first.bottom + c.shift};
    EXPECT_EQ(Host().GridRect(), moved) << c.version;
    // A point on the grid finds the grid, not the main window brought to the top over it.
    EXPECT_EQ(Desktop().WindowFromPoint({moved.left + 5, moved.top + 5}), grid) << c.version;
    // The first window keeps its place: a third workbook's window cascades from the second's.
    Run("workbook new");
    EXPECT_EQ(Host().GridRect().left, moved.left + c.shift) << c.version;
  }
}

TEST_F(WorkbooksTest, HwndNamesTheActiveWorkbooksMainWindowWhereTheVersionHasIt) {
  struct Case {
    const char* version;
    bool windowHasHwnd;
    bool ownWindows;
  };
  for (const Case& c : {Case{"14.0", false, false}, Case{"15.0", true, true}, Case{"16.0", true, true}}) {
    Run("start");
    Run(std::string("version ") + c.version);
    auto app = Host().Application();
    const auto firstMain = app->Hwnd();
    auto firstWindow = std::dynamic_pointer_cast<sim::WindowMainHandle>(app->ActiveWindow());
    Run("workbook new");
    EXPECT_EQ(app->Hwnd(), Host().MainWindow()) << c.version;
    EXPECT_EQ(Desktop().WindowClassName(app->Hwnd()), "XLMAIN") << c.version;
    EXPECT_EQ(app->Hwnd() != firstMain, c.ownWindows) << c.version;
    auto secondWindow = std::dynamic_pointer_cast<sim::WindowMainHandle>(app->ActiveWindow());
    ASSERT_TRUE(firstWindow && secondWindow);
    EXPECT_EQ(secondWindow->HasMainHandle(), c.windowHasHwnd) << c.version;
    if (c.windowHasHwnd) {
      // Each window object names its own workbook's main window, active or not.
      EXPECT_EQ(firstWindow->MainHandle(), firstMain) << c.version;
      EXPECT_EQ(secondWindow->MainHandle(), app->Hwnd()) << c.version;
    } else {
      EXPECT_EQ(secondWindow->MainHandle(), std::nullopt) << c.version;
    }
  }
}

TEST_F(WorkbooksTest, LinesBeyondTheOpenWorkbooksAreErrorsNamingTheirLine) {
  struct Case {
    const char* script;
    const char* error;
  };
  const Case cases[] = {
      {"workbook new\nworkbook 3\n", "line 2: 'workbook' takes a workbook's place from 1 to 2, not 3"},
      {"workbook 0\n", "line 1: 'workbook' takes a workbook's place from 1 to 1, not 0"},
      {"workbook close 1\n", "line 1: 'workbook close' leaves the host no workbook: the last one stays open"},
      {"workbook new\nworkbook close 2 3\n", "line 2: "},
      {"workbook open\n", "line 1: 'workbook' needs a whole number for the workbook's place, not 'open'"},
      {"workbook new\nversion 14.0\n", "line 2: 'version' cannot change while more than one workbook is open"},
  };
  for (const Case& c : cases) {
    Run("start");
    const std::string error = ScriptErrorOf(c.script);
    EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << c.script;
  }
}

TEST_F(WorkbooksTest, EachWorkbookWindowHoldsCopiesOfTheButtonsAndAClickThereReachesTheAddIn) {
  Run({"version 16.0", "select C5", "gate off", "workbook new"});
  auto& bars = Host().Bars();
  auto tagged = [&] {
    int n = 0;
    for (const auto& c : bars.AllControls()) n += !c->tag.empty();
    return n;
  };
  const int perWindow = tagged() / 2;
  EXPECT_EQ(perWindow, 7);  // three on the toolbar, four in the menu popup
  Run("click Option");
  Run("click menu:About");
  EXPECT_EQ(bars.clicksHandled["Option"], 1);
  EXPECT_EQ(bars.clicksHandled["menu:About"], 1);
  // The button clicked was the window's own copy, not the one the add-in made.
  EXPECT_NE(script::FindButton(bars, Host().Model().BarsWindow(), "Option"), script::FindButton(bars, 0, "Option"));
  Run("workbook new");
  EXPECT_EQ(tagged(), 3 * perWindow);
  Run("workbook close 2");
  EXPECT_EQ(tagged(), 2 * perWindow);
  // The add-in's unloading deletes its buttons by tag: the copies go with them.
  Run("unload");
  EXPECT_EQ(tagged(), 0);
}

TEST_F(WorkbooksTest, TheBandFollowsAScrollAfterTheFirstWorkbooksWindowClosed) {
  Run({"version 16.0", "select C5", "workbook new", "select D8", "workbook 1", "workbook close 1"});
  ASSERT_EQ(Open(), 1u);
  Run({"scroll 4 1", "tick"});
  EXPECT_TRUE(TimerRunning());
  // The band lies on row 8 of the remaining workbook, four rows up the grid.
  EXPECT_EQ(S().LeftBandRect.top - S().GridRect.top, Host().Sheet().RowEdge(8));
  EXPECT_GT(TintIn(Host().GridRect()), 0);
}

// A tick while the options form is up over the second of two workbooks: the
// scroll it finds there is the second workbook's, and with the focus in the
// form it can only erase that workbook's whole grid; the form, the first
// workbook and the foreground are left alone.
TEST_F(WorkbooksTest, ATickWithAFormUpOverTheSecondWorkbookErasesOnlyThatWorkbooksGrid) {
  Run({"version 16.0", "select C5", "workbook new", "select D20", "tick"});
  const Rect second = Host().GridRect();
  RunWithUnseenScrolls({"scroll 3 1"});
  Run("click Option");
  ASSERT_NE(Forms().ActiveForm(), nullptr);
  Records();
  Run("tick");
  const auto records = Records();
  EXPECT_EQ(records.invalidated, std::vector<Rect>{second});
  EXPECT_TRUE(records.drawn.empty()) << "with the focus in the form no caret or grid marks a cell";
  EXPECT_EQ(TintIn(FormRect()), 0);
  Run("state");
  EXPECT_NE(lastOutput_.find(R"("foregroundOwner":"form")"), std::string::npos);
  Run("form click cb_cancel");
  EXPECT_EQ(S().LeftBandRect.top - Host().GridRect().top, Host().Sheet().RowEdge(20))
      << "the band is back on D20's row at the second workbook's new scroll";
  EXPECT_EQ(S().GridRect, second);
}

TEST_F(WorkbooksTest, TheOneMainWindowOfAnOldVersionShowsTheActiveWorkbook) {
  Run({"version 14.0", "set B2 first", "workbook new"});
  const auto withoutText = Desktop().ContentSnapshot();
  Run("workbook 1");
  const auto withText = Desktop().ContentSnapshot();
  const Rect b2{
      Host().GridRect().left + Host().Sheet().ColumnEdge(2), Host().GridRect().top + Host().Sheet().RowEdge(2),
      Host().GridRect().left + Host().Sheet().ColumnEdge(3), Host().GridRect().top + Host().Sheet().RowEdge(3)};
  int differ = 0;
  for (int y = b2.top; y < b2.bottom; ++y)
    for (int x = b2.left; x < b2.right; ++x) differ += withText.Get(x, y) != withoutText.Get(x, y);
  EXPECT_GT(differ, 0);
  EXPECT_EQ(ScreenAt(b2.left + 3, b2.top + 3), withText.Get(b2.left + 3, b2.top + 3));
}

}  // namespace
}  // namespace rowtint::testing
