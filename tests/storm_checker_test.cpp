// The storm's checker catches what it must: a planted stray pixel, a DC or
// brush left open, a second timer, text in the store that is not decimal;
// and it names the add-in's known faults, each shown by its shortest script.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "engine/highlight_state.h"
#include "storm_checker.h"

namespace rowtint::testing {
namespace {

class StormCheckerTest : public ::testing::Test {
 protected:
  // Runs the lines, checking after each; the first violation, if any.
  std::optional<Violation> Play(std::initializer_list<const char*> lines) {
    for (const char* line : lines) {
      checker_.Before(line);
      bool refused = false;
      try {
        session_.RunLine(line, out_);
      } catch (const simcli::ScriptError&) {
        refused = true;
      }
      if (auto v = checker_.After("", refused)) return v;
    }
    return std::nullopt;
  }
  // Checks again after the test itself has touched the world.
  std::optional<Violation> CheckNow() {
    checker_.Before("state");
    return checker_.After("", false);
  }

  simcli::SimSession session_;
  std::ostringstream out_;
  StormChecker checker_{session_, ""};
};

TEST_F(StormCheckerTest, APlainRunPassesAndAStrayPixelDoesNot) {
  ASSERT_FALSE(Play({"select C10", "tick", "select D12", "scroll 3 1", "tick", "click Switch"}));
  ASSERT_FALSE(CheckNow());
  const auto grid = session_.Host().GridRect();
  session_.Desktop().Screen().Set(grid.left + 100, grid.top + 5, 0x123456);
  const auto v = CheckNow();
  ASSERT_TRUE(v);
  EXPECT_EQ(v->invariant, "the screen shows the host's drawing outside the band");
  EXPECT_NE(v->detail.find("1 pixels differ"), std::string::npos) << v->detail;
}

TEST_F(StormCheckerTest, TheBandMayMoveWithTheScrollUntilTheNextPaint) {
  ASSERT_FALSE(Play({"select C10", "tick", "scroll 4 1"}));
  EXPECT_NE(engine::Shared().LastBandRect.top, 120 + 6 * 20) << "the band moved, its rectangle did not";
  EXPECT_FALSE(Play({"tick", "scroll 2 1", "tick"}));
  EXPECT_TRUE(checker_.Tolerated().empty());
}

TEST_F(StormCheckerTest, HandlesTimersAndTheStoreAreChecked) {
  ASSERT_FALSE(Play({"select C10"}));
  auto& desktop = session_.Desktop();
  const auto dc = desktop.GetWindowDC(desktop.GetDesktopWindow());
  EXPECT_EQ(CheckNow()->invariant, "no open DC or brush");
  desktop.ReleaseDC(0, dc);
  desktop.SetTimer(0, 0, 100, nullptr);
  EXPECT_EQ(CheckNow()->invariant, "at most one timer");
  desktop.KillTimer(0, desktop.Timers().back().id);
  ASSERT_FALSE(CheckNow());
  session_.Settings().PutByUser("Tintrow", "RGB", "RGB-bc", "red");
  EXPECT_FALSE(CheckNow()) << "the user may put anything there";
  session_.Settings().SaveSetting("Tintrow", "RGB", "RGB-bc", "007");
  EXPECT_EQ(CheckNow()->invariant, "decimal text in the store");
}

// Each known fault: the storm tolerates it (counting it and repainting the
// stray pixels), and a strict checker fails on it.
struct KnownFault {
  const char* label;
  const char* name;
  std::vector<const char*> script;
  friend void PrintTo(const KnownFault& f, std::ostream* os) { *os << f.label; }
};

class KnownFaultTest : public ::testing::TestWithParam<KnownFault> {
 protected:
  std::optional<Violation> Play(StormChecker& checker, simcli::SimSession& session) {
    std::ostringstream out;
    for (const char* line : GetParam().script) {
      checker.Before(line);
      session.RunLine(line, out);
      if (auto v = checker.After("", false)) return v;
    }
    return std::nullopt;
  }
};

TEST_P(KnownFaultTest, IsToleratedByNameAndFailsAStrictStorm) {
  {
    simcli::SimSession session;
    StormChecker checker(session, "");
    EXPECT_FALSE(Play(checker, session));
    ASSERT_EQ(checker.Tolerated().size(), 1u);
    EXPECT_EQ(checker.Tolerated().begin()->first.rfind(GetParam().name, 0), 0u) << checker.Tolerated().begin()->first;
    const auto content = session.Desktop().ContentSnapshot();
    const auto band = engine::Shared().LastBandRect;
    int stray = 0;
    for (int y = 0; y < content.Height(); ++y)
      for (int x = 0; x < content.Width(); ++x)
        if (session.Desktop().Screen().Get(x, y) != content.Get(x, y) &&
            !(x >= band.left && x < band.right && y >= band.top && y < band.bottom))
          ++stray;
    EXPECT_EQ(stray, 0) << "the tolerated pixels were repainted";
  }
  simcli::SimSession session;
  StormChecker strict(session, GetParam().name);
  const auto v = Play(strict, session);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->invariant.rfind(std::string("known fault: ") + GetParam().name, 0), 0u) << v->invariant;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, KnownFaultTest,
    ::testing::Values(
        // The painter erases the band's rectangle, not where the scroll moved it: a 7-pixel stub stays at the left.
        KnownFault{"SidewaysScroll", "sideways-scroll stub", {"select C10", "scroll 1 2", "tick"}},
        // Scrolled back the other way: a 20-pixel stub at the right.
        KnownFault{
            "SidewaysScrollBack", "sideways-scroll stub", {"select C10", "scroll 1 2", "tick", "scroll 1 1", "tick"}},
        // The selection scrolls row 10's band up; the painter erases at row 40, the last row, and draws nothing.
        KnownFault{"SelectionThatScrolls", "band left behind by a scroll", {"select C10", "select C40"}},
        // The wheel moves the band; the selection comes before the next tick and erases at the new active row.
        KnownFault{"SelectionRightAfterTheWheel",
                   "band left behind by a scroll",
                   {"select C10", "tick", "select C11", "scroll 4 1", "select C12"}}),
    [](const auto& info) { return std::string(info.param.label); });

// A band drawn while the host is busy, by a paint that the host then cut
// short before it noted the scroll row: the next paint takes the scrolled path
// and erases at row 12, leaving row 10's band. Which seed makes the host fail
// just there depends on the add-in's calls, so the test looks for one.
TEST(BusyHostFault, IsToleratedByNameAndFailsAStrictStorm) {
  auto play = [](StormChecker& checker, simcli::SimSession& session, int seed) -> std::optional<Violation> {
    std::ostringstream out;
    for (const std::string& line : {"faults 0.1 " + std::to_string(seed), std::string("select C10"),
                                    std::string("faults 0 0"), std::string("select C12")}) {
      checker.Before(line);
      session.RunLine(line, out);
      if (auto v = checker.After("", false)) return v;
    }
    return std::nullopt;
  };
  int seed = 0;
  for (; seed < 5000; ++seed) {
    simcli::SimSession session;
    StormChecker strict(session, "paint cut short");
    if (play(strict, session, seed)) break;
  }
  ASSERT_LT(seed, 5000) << "no seed cut a paint short there";
  simcli::SimSession session;
  StormChecker checker(session, "");
  EXPECT_FALSE(play(checker, session, seed));
  ASSERT_EQ(checker.Tolerated().size(), 1u);
  EXPECT_EQ(checker.Tolerated().begin()->first.rfind("paint cut short by a busy host", 0), 0u);
}

}  // namespace
}  // namespace rowtint::testing
