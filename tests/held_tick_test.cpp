// A timer message a message loop took from the queue before the timer was
// stopped still reaches the add-in's timer procedure (`tick queue`, then
// `tick`): the add-in must do nothing with it then, and treat one held while
// its timer runs as any tick.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/sim_fixture.h"
#include "support/storm_checker.h"

namespace rowtint::testing {
namespace {

struct HeldTickCase {
  const char* name;
  std::vector<std::string> before;  // up to the hold
  std::vector<std::string> after;   // between the hold and the tick that dispatches it
  // Whether the held message reaches the timer procedure: its window still exists.
  bool dispatched;
  // Whether the timer still runs at the tick, which then acts as a plain tick.
  bool timerRuns;
};

// What a tick acts on, between the hold and the tick: a shape selected (a
// tick erases the band) or the gate closed (a tick disables the ribbon's
// controls and stops the timer). A held tick that acted on a stopped timer
// would show.
const HeldTickCase kCases[] = {
    {"after print", {"select C5", "tick"}, {"print", "select-object"}, true, false},
    {"after the switch turned the band on",
     {"select C5", "tick", "click Switch"},
     {"click Switch", "select-object"},
     true,
     false},
    // Disconnected, the add-in destroyed the timer's window: the message reaches no procedure.
    {"after unload", {"select C5", "tick"}, {"unload", "select-object"}, false, false},
    {"after print, the gate closed", {"select C5", "tick"}, {"print", "gate off"}, true, false},
    {"while the timer runs, a shape selected", {"select C5", "tick"}, {"select-object"}, true, true},
    {"while the timer runs, the gate closed", {"select C5", "tick"}, {"gate off"}, true, true},
};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// What the user sees of a session after the tick.
struct Seen {
  sim::FrameBuffer screen;
  std::vector<bool> ribbonEnabled;
  bool timerRuns;
  platform::Rect band;
  friend bool operator==(const Seen&, const Seen&) = default;
};

Seen SeenIn(simcli::SimSession& session) {
  Seen seen{session.Desktop().Screen(),
            {},
            !session.Desktop().Timers().empty(),
            session.Library().Band().Snapshot().LastBandRect};
  for (const auto& c : session.RibbonShown().Controls()) seen.ribbonEnabled.push_back(c.enabled);
  return seen;
}

// Each case in a session of its own: the bars, the gate among them, outlive a host's run.
class HeldTickTest : public ::testing::Test {
 protected:
  struct Session {
    explicit Session(const std::string& name)
        : session(::testing::TempDir() + "/rowtint-held-tick-" + name), checker(session) {}
    // Each line held to the storms' invariants.
    void Run(const std::vector<std::string>& lines) {
      for (const auto& line : lines) {
        std::ostringstream out;
        checker.Before();
        session.RunLine(line, out);
        if (const auto v = checker.After("")) ADD_FAILURE() << line << ": " << v->invariant << ": " << v->detail;
      }
    }
    simcli::SimSession session;
    StormChecker checker;
  };
};

TEST_F(HeldTickTest, AHeldTickActsOnlyWhileItsTimerRuns) {
  int index = 0;
  for (const HeldTickCase& c : kCases) {
    SCOPED_TRACE(c.name);
    Session held("held-" + std::to_string(++index));
    sim::SimDesktop& desktop = held.session.Desktop();
    held.Run(Join(c.before, {"tick queue"}));
    EXPECT_TRUE(desktop.TimersHeld());
    held.Run(c.after);
    const Seen before = SeenIn(held.session);
    const std::uint64_t drawn = desktop.RectanglesDrawn(), redraws = desktop.RedrawsAsked();
    const std::uint64_t messages = desktop.TimerMessagesDispatched();
    desktop.TakeRecords();
    held.Run({"tick"});
    EXPECT_FALSE(desktop.TimersHeld());
    EXPECT_EQ(desktop.TimerMessagesDispatched() - messages, c.dispatched ? 1u : 0u);
    const auto errors = desktop.TakeRecords().hostErrors;
    EXPECT_TRUE(errors.empty()) << errors.front();
    const Seen after = SeenIn(held.session);
    const bool acted = desktop.RectanglesDrawn() != drawn || desktop.RedrawsAsked() != redraws;
    if (!c.timerRuns) {
      // Nothing at all: not a pixel, not a repaint asked for, not a rectangle drawn, no control disabled.
      EXPECT_TRUE(after == before) << "the held tick changed what the user sees";
      EXPECT_FALSE(acted) << "the held tick drew or asked for a repaint";
      continue;
    }
    EXPECT_TRUE(acted || after.timerRuns != before.timerRuns) << "the tick did nothing, so nothing was compared";
    // As the running timer's tick in a session that held nothing.
    Session plain("plain-" + std::to_string(index));
    plain.Run(Join(Join(c.before, c.after), {"tick"}));
    EXPECT_TRUE(SeenIn(plain.session) == after) << "the held tick did not act as a plain one";
  }
}

}  // namespace
}  // namespace rowtint::testing
