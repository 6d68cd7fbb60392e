// `thread-dpi system`: the host calls the add-in in the system-aware context,
// as Office does, and on a monitor of another resolution the windows' places
// come back scaled unless the add-in asks in its own per-monitor context. The
// user must see the band a per-monitor host's add-in draws, and Excel must
// never be called in the add-in's context.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/sim_fixture.h"
#include "support/storm_checker.h"

namespace rowtint::testing {
namespace {

struct ThreadDpiCase {
  const char* name;
  std::vector<std::string> lines;
};

// Every way the band is drawn or erased: a selection, ticks, the wheel, a
// resize, Excel's own repaint, a shape selected, the switch, the options form's OK.
std::vector<std::string> Work(const char* windowDpi, const char* caret) {
  return {std::string("window-dpi ") + windowDpi,
          "zoom 85",
          std::string("caret ") + caret,
          "set C5 five",
          "select C5",
          "tick",
          "wheel 3",
          "tick",
          "select E17",
          "resize 60 140 1000 700",
          "tick",
          "select D9",
          "repaint row 9",
          "click Switch",
          "click Switch",
          "click Option",
          "form click invert",
          "form click ok",
          "select-object",
          "tick",
          "select C12"};
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The end of a state line, where the errors and the drawing's context are.
std::string Tail(const std::string& state) { return state.substr(state.rfind("\"errors\"")); }

class ThreadDpiTest : public ::testing::Test {
 protected:
  struct Session {
    explicit Session(const std::string& name)
        : session(::testing::TempDir() + "/rowtint-thread-dpi-" + name), checker(session) {}
    // Each line held to the storms' invariants; what `state` printed last.
    std::string Run(const std::vector<std::string>& lines) {
      std::ostringstream out;
      for (const auto& line : lines) {
        checker.Before();
        session.RunLine(line, out);
        if (const auto v = checker.After("")) ADD_FAILURE() << line << ": " << v->invariant << ": " << v->detail;
      }
      return out.str();
    }
    simcli::SimSession session;
    StormChecker checker;
  };
};

TEST_F(ThreadDpiTest, ASystemAwareHostSeesTheBandAPerMonitorHostSees) {
  const ThreadDpiCase cases[] = {
      {"120 dpi, no caret", Work("120", "off")},
      {"144 dpi, no caret", Work("144", "off")},
      {"144 dpi, the caret at the cell", Work("144", "on")},
  };
  int index = 0;
  for (const ThreadDpiCase& c : cases) {
    SCOPED_TRACE(c.name);
    ++index;
    Session office("system-" + std::to_string(index)), perMonitor("monitor-" + std::to_string(index));
    office.Run(Join({"thread-dpi system"}, c.lines));
    perMonitor.Run(c.lines);
    const std::string officeState = Tail(office.Run({"state"})), monitorState = Tail(perMonitor.Run({"state"}));
    EXPECT_TRUE(office.session.Desktop().Screen() == perMonitor.session.Desktop().Screen()) << "the screens differ";
    EXPECT_EQ(office.session.Library().Band().Snapshot().LastBandRect,
              perMonitor.session.Library().Band().Snapshot().LastBandRect);
    // The add-in drew in its own per-monitor context, and gave Excel back the system-aware one each time.
    EXPECT_NE(officeState.find("\"errors\":[],\"threadDpi\":\"monitor\""), std::string::npos) << officeState;
    EXPECT_NE(monitorState.find("\"threadDpi\":\"monitor\""), std::string::npos) << monitorState;
    // Outside the add-in's context the host does answer in the system's scale: there was something to get right.
    sim::SimDesktop& desktop = office.session.Desktop();
    const platform::Rect physical = desktop.WindowRect(office.session.Host().GridWindow());
    platform::Rect seen;
    desktop.GetWindowRect(office.session.Host().GridWindow(), seen);
    EXPECT_NE(seen, physical);
  }
}

TEST_F(ThreadDpiTest, NothingDrawnNoContext) {
  Session fresh("fresh");
  const std::string state = Tail(fresh.Run({"thread-dpi system", "caret off", "state"}));
  EXPECT_NE(state.find("\"threadDpi\":null"), std::string::npos) << state;
}

}  // namespace
}  // namespace rowtint::testing
