// A simulator session for tests: script lines in, the shared state, the
// screen and the desktop's records out.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

#include "engine/highlight_state.h"
#include "sim_session.h"

namespace rowtint::testing {

class SimTest : public ::testing::Test {
 protected:
  void Run(std::initializer_list<const char*> lines) {
    for (const char* line : lines) Run(line);
  }
  void Run(const std::string& line) {
    std::ostringstream out;
    session_.RunLine(line, out);
    lastOutput_ = out.str();
  }
  engine::HighlightState& S() { return engine::Shared(); }
  sim::SimDesktop& Desktop() { return session_.Desktop(); }
  sim::SimHost& Host() { return session_.Host(); }
  sim::SimDesktop::Records Records() { return Desktop().TakeRecords(); }
  sim::Pixel ScreenAt(int x, int y) { return Desktop().Screen().Get(x, y); }
  bool TimerRunning() { return !Desktop().Timers().empty(); }
  std::uint32_t TimerInterval() { return Desktop().Timers().empty() ? 0 : Desktop().Timers().back().intervalMs; }

  simcli::SimSession session_{::testing::TempDir()};
  std::string lastOutput_;
};

}  // namespace rowtint::testing

namespace rowtint::platform {
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "]";
}
inline std::ostream& operator<<(std::ostream& os, const Point& p) { return os << "(" << p.x << "," << p.y << ")"; }
}  // namespace rowtint::platform
