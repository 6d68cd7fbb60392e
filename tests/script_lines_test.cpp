// The script's lines as both hosts read them: each wrong line says what was
// wrong and changes nothing; the connection object an `unload keep` holds;
// typing in the formula bar.
#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {

class ScriptLinesTest : public SimTest {};

// A line, and the error it stops its script at.
struct Refused {
  const char* line;
  const char* error;
};

TEST_F(SimSessionTest, AWrongLineSaysWhatWasWrongAndLeavesTheHostUnstarted) {
  for (const Refused& c : {
           Refused{"zoom 5", "line 1: 'zoom' takes a zoom percentage from 10 to 400, not 5"},
           Refused{"zoom x", "line 1: 'zoom' needs a whole number for the zoom percentage, not 'x'"},
           Refused{"grid 10 10 20", "line 1: 'grid' takes 4 arguments, not 3"},
           Refused{"unload maybe", "line 1: 'unload' takes keep or nothing, not 'maybe'"},
           Refused{"edit begin cell", "line 1: 'edit' takes begin, begin bar or end, not 'begin cell'"},
           Refused{"edit end bar", "line 1: 'edit' takes begin, begin bar or end, not 'end bar'"},
           Refused{"freeze 0 0", "line 1: 'freeze' takes a row or a column to freeze, or off"},
           Refused{"wheel 0", "line 1: 'wheel' takes the rows to scroll, not 0"},
           Refused{"tick 1001", "line 1: 'tick' takes a number of ticks from 1 to 1000, not 1001"},
           Refused{"snapshot out/a.png", "line 1: 'snapshot' takes a file name ending in .png, without a folder"},
           Refused{"pick 1 2", "line 1: 'pick' takes 3 arguments, not 2"},
           Refused{"form jump", "line 1: 'form' takes click, move or close"},
           Refused{"ribbon push rowtintBand", "line 1: 'ribbon' takes click, toggle or menu, not 'push'"},
           Refused{"version 4.0",
                   "line 1: 'version' takes the host's version text, a major from 5 and a minor number "
                   "such as 16.0, not '4.0'"},
           Refused{"caret maybe", "line 1: 'caret' takes on or off"},
           Refused{"release now", "line 1: 'release' takes 0 arguments, not 1"},
           Refused{"paste A1", "line 1: unknown command 'paste'"},
           Refused{"thread-dpi maybe", "line 1: 'thread-dpi' takes system or monitor, not 'maybe'"},
           Refused{"tick queue now", "line 1: 'tick' takes at most 1 argument, not 2"},
           Refused{"tick later", "line 1: 'tick' needs a whole number for the number of ticks, not 'later'"},
           Refused{"renderer d2d", "line 1: 'renderer' takes gdi, composed or flip, not 'd2d'"},
           Refused{"renderer", "line 1: 'renderer' takes 1 argument, not 0"},
           Refused{"surface swapchain", "line 1: 'surface' takes auto, grid or overlay, not 'swapchain'"},
           Refused{"move 0 0", "line 1: 'move' takes a distance to move the window, not 0 0"},
           Refused{"move 10", "line 1: 'move' takes 2 arguments, not 1"},
           Refused{"move 5000 0", "line 1: 'move' takes a distance right from -3840 to 3840, not 5000"},
       }) {
    EXPECT_EQ(ScriptErrorOf(std::string(c.line) + "\n"), c.error) << c.line;
    // The line was read before anything ran: the host the script would have started is not running.
    EXPECT_FALSE(session_.HostRunning()) << c.line;
  }
}

TEST_F(ScriptLinesTest, WhatTheRunningHostDecidesIsCheckedWhenTheLineRuns) {
  for (const Refused& c : {
           Refused{"grid 0 0 1300 700", "line 1: 'grid' takes a right edge from 0 to 1280, not 1300"},
           Refused{"cover 10 10 10 20",
                   "line 1: 'cover' needs a cover inside the screen whose right lies past its "
                   "left and bottom below its top"},
           Refused{"workbook 2", "line 1: 'workbook' takes a workbook's place from 1 to 1, not 2"},
           Refused{"workbook close 1", "line 1: 'workbook close' leaves the host no workbook: the last one stays open"},
           Refused{"edit end", "line 1: no cell is being edited"},
           Refused{"release", "line 1: 'release' needs a connection object kept by 'unload keep'"},
           Refused{"load", "line 1: the add-in is loaded already"},
           Refused{"thread-dpi system",
                   "line 1: 'thread-dpi' comes before the host's first start, which makes its windows in that "
                   "context"},
           Refused{"tick queue\ntick queue", "line 2: a timer message is held already; 'tick' dispatches it"},
           Refused{"move 50 0", "line 1: 'move' would take the grid off the screen, to 90 120 1290 760"},
           Refused{"edit begin\nmove 10 10", "line 2: 'move' needs the edit ended first"},
       }) {
    EXPECT_EQ(ScriptErrorOf(std::string(c.line) + "\n"), c.error) << c.line;
  }
  EXPECT_EQ(Host().GridRect(), sim::kDefaultGridRect);
}

TEST_F(ScriptLinesTest, AKeptConnectionObjectGoesOnceTheNextConnectionIsMadeAndTouchesNothingOfIt) {
  Run({"select C5", "tick", "unload keep"});
  EXPECT_EQ(session_.AddIn(), nullptr);
  ASSERT_NE(session_.KeptConnection(), nullptr);
  // Disconnected, it holds nothing of the host: no timer, no toolbar.
  EXPECT_FALSE(TimerRunning());
  EXPECT_TRUE(Toolbars().empty());
  Run("load");
  EXPECT_EQ(session_.KeptConnection(), nullptr);
  ASSERT_NE(session_.AddIn(), nullptr);
  // The old object's going left the new connection's band, bars and events whole.
  EXPECT_TRUE(S().HostApp);
  EXPECT_EQ(Toolbars().size(), 1u);
  Run({"select C9", "tick"});
  EXPECT_TRUE(TimerRunning());
  EXPECT_EQ(NotBand(S().LeftBandRect) + NotBand(S().RightBandRect), 0);
  // Nothing is kept any more.
  EXPECT_EQ(ScriptErrorOf("release\n"), "line 1: 'release' needs a connection object kept by 'unload keep'");
}

TEST_F(ScriptLinesTest, ReleaseAndTheHostsEndLetTheKeptObjectGo) {
  struct Case {
    const char* ending;
    bool hostRuns;
  };
  for (const Case& c : {Case{"release", true}, Case{"shutdown", false}, Case{"start", true}}) {
    if (!session_.HostRunning()) Run("start");
    if (!session_.AddIn()) Run("load");
    Run({"select D4", "unload keep"});
    ASSERT_NE(session_.KeptConnection(), nullptr) << c.ending;
    Run(c.ending);
    EXPECT_EQ(session_.KeptConnection(), nullptr) << c.ending;
    EXPECT_EQ(session_.HostRunning(), c.hostRuns) << c.ending;
  }
  // Let go before the next connection, the old object leaves that one whole too.
  Run({"unload keep", "release", "load", "select E6", "tick"});
  EXPECT_EQ(NotBand(S().LeftBandRect) + NotBand(S().RightBandRect), 0);
}

TEST_F(ScriptLinesTest, TypingInTheFormulaBarMovesTheFocusToAnUndrawnWindowOfTheMainWindow) {
  Run({"select C7", "tick"});
  const sim::FrameBuffer before = Desktop().Screen();
  Run("edit begin bar");
  const auto bar = Desktop().GetFocus();
  EXPECT_EQ(Desktop().WindowClassName(bar), "EXCEL<");
  EXPECT_EQ(Desktop().GetRootWindow(bar), Host().MainWindow());
  // The bar's window draws nothing: the screen, band and all, is as it was.
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x) ASSERT_EQ(ScreenAt(x, y), before.Get(x, y)) << x << "," << y;
  EXPECT_EQ(ScriptErrorOf("edit begin\n"), "line 1: a cell is being edited already");
  // The add-in sees the edit by the focus and asks Excel nothing it would refuse.
  Records();
  Run({"select-object", "tick 3"});
  EXPECT_EQ(Host().Model().TakeRefusedCalls(), 0u);
  EXPECT_TRUE(Records().drawn.empty());
  Run({"edit end", "select C8", "tick"});
  EXPECT_EQ(Desktop().GetFocus(), Host().GridWindow());
  EXPECT_EQ(NotBand(S().LeftBandRect) + NotBand(S().RightBandRect), 0);
}

}  // namespace
}  // namespace rowtint::testing

namespace rowtint::testing {
namespace {

// The add-in's own key and Excel's renderer are set up before the host runs
// and last across its starts, as the user's machine does.
TEST_F(SimSessionTest, TheSurfaceChoiceAndTheRendererOutlastTheHostsRuns) {
  EXPECT_EQ(ScriptErrorOf("surface overlay\n"), "");
  EXPECT_FALSE(session_.HostRunning()) << "a setup line does not start the host";
  EXPECT_EQ(session_.OwnKey().texts.at("Surface"), "overlay");
  Run({"renderer flip", "shutdown", "start"});
  EXPECT_EQ(Host().CurrentRenderer(), sim::SimHost::Renderer::Flip);
  Run({"renderer composed", "start"});
  EXPECT_EQ(Host().CurrentRenderer(), sim::SimHost::Renderer::Composed);
}

// The main window moves with its grid, the band's overlays after it.
TEST_F(SimSessionTest, AMoveTakesTheActiveWorkbooksWindowAndItsGridAlong) {
  session_.OwnKey().texts["Surface"] = "overlay";
  Run({"start", "select C5"});
  const platform::Rect grid = Host().GridRect(), main = Desktop().WindowRect(Host().MainWindow());
  Run("move -20 15");
  EXPECT_EQ(Host().GridRect(), (platform::Rect{grid.left - 20, grid.top + 15, grid.right - 20, grid.bottom + 15}));
  EXPECT_EQ(Desktop().WindowRect(Host().MainWindow()),
            (platform::Rect{main.left - 20, main.top + 15, main.right - 20, main.bottom + 15}));
  EXPECT_EQ(S().LeftBandRect.left, grid.left - 20 + 7) << "the band's overlay followed";
}

}  // namespace
}  // namespace rowtint::testing
