// A simulator session for tests: script lines in, the shared state, the
// screen and the desktop's records out. Every line a test runs is held to
// the storms' invariants (no DC or brush left open, one timer at most,
// decimal text in the store (a word for the way across), no tint outside the band), so a test need not
// say so again.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "addin/connect.h"
#include "engine/band_snapshot.h"
#include "sim_session.h"
#include "storm_checker.h"

namespace rowtint::testing {

// A form's control as its window sees it, by the name the user's scripts use.
inline const platform::ControlState& ControlOf(const platform::FormWindow& form, const std::string& name) {
  for (const auto& c : form.Controls())
    if (c.name == name) return c;
  throw std::invalid_argument("no control " + name);
}

// A session in which nothing has run yet: the host is not started.
class SimSessionTest : public ::testing::Test {
 protected:
  using Rect = platform::Rect;

  void Run(std::initializer_list<const char*> lines) {
    for (const char* line : lines) Run(line);
  }
  void Run(const std::vector<std::string>& lines) {
    for (const auto& line : lines) Run(line);
  }
  void Run(const std::string& line) {
    std::ostringstream out;
    checker_.Before();
    session_.RunLine(line, out);
    lastOutput_ = out.str();
    if (const auto v = checker_.After("")) ADD_FAILURE() << line << ": " << v->invariant << ": " << v->detail;
  }
  // As Run, with each "scroll" line drawn by the host outside any message to
  // the grid, as Excel 2013 and later may: only the repaint timer sees it.
  void RunWithUnseenScrolls(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
      Desktop().gridMessagesOff = line.rfind("scroll ", 0) == 0;
      Run(line);
      Desktop().gridMessagesOff = false;
    }
  }
  // The error a script stops at (its line named), or "" when every line ran.
  std::string ScriptErrorOf(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out;
    try {
      session_.RunScript(in, out);
      return "";
    } catch (const simcli::ScriptError& e) {
      return e.what();
    }
  }
  // The band's state as `state` prints it.
  engine::BandSnapshot S() { return session_.Library().Band().Snapshot(); }
  // The band of the connected add-in.
  engine::Highlighter& Band() { return session_.AddIn()->Band(); }
  std::shared_ptr<forms::OptionsForm> Options() { return session_.Library().Forms().OptionsIfLoaded(); }
  std::shared_ptr<forms::AboutForm> About() { return session_.Library().Forms().AboutIfLoaded(); }
  sim::SimDesktop& Desktop() { return session_.Desktop(); }
  sim::SimFormsHost& Forms() { return session_.Forms(); }
  sim::SimHost& Host() { return session_.Host(); }
  sim::SimDesktop::Records Records() { return Desktop().TakeRecords(); }
  sim::Pixel ScreenAt(int x, int y) { return Desktop().Screen().Get(x, y); }
  bool TimerRunning() { return !Desktop().Timers().empty(); }
  std::uint32_t TimerInterval() { return Desktop().Timers().empty() ? 0 : Desktop().Timers().back().intervalMs; }
  Rect Whole() { return {0, 0, Desktop().Screen().Width(), Desktop().Screen().Height()}; }
  Rect FormRect() { return Desktop().WindowRect(Forms().WindowOf(*Forms().ActiveForm())); }

  // Pixels inside `r` that differ from what the host itself draws.
  int TintIn(const Rect& r) {
    const auto content = Desktop().ContentSnapshot();
    const Rect part = sim::Intersect(r, Whole());
    int n = 0;
    for (int y = part.top; y < part.bottom; ++y)
      for (int x = part.left; x < part.right; ++x) n += ScreenAt(x, y) != content.Get(x, y);
    return n;
  }
  // The same outside `allowed`; everywhere when it is empty.
  int TintOutside(const Rect& allowed = {}) { return TintIn(Whole()) - TintIn(allowed); }
  // Pixels of the band's rectangle r, as far as it lies inside `shown`, that
  // are not what the raster operation makes of the host's drawing: the brush
  // inside, the black pen on the outline.
  int NotBand(const Rect& r, const Rect& shown, sim::Pixel brush = 14600886, bool invert = false) {
    const auto content = Desktop().ContentSnapshot();
    const Rect part = sim::Intersect(r, shown);
    int n = 0;
    for (int y = part.top; y < part.bottom; ++y)
      for (int x = part.left; x < part.right; ++x) {
        const sim::Pixel pen = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1 ? 0 : brush;
        const sim::Pixel host = content.Get(x, y);
        n += ScreenAt(x, y) != ((invert ? pen | ~host : pen & host) & 0xFFFFFF);
      }
    return n;
  }
  int NotBand(const Rect& r) { return NotBand(r, Whole()); }

  std::string Setting(const std::string& section, const std::string& key) {
    auto& values = session_.Settings().Values();
    auto it = values.find({"Tintrow", section, key});
    return it == values.end() ? "<missing>" : it->second;
  }
  std::vector<std::shared_ptr<sim::BarNode>> Toolbars() {
    std::vector<std::shared_ptr<sim::BarNode>> found;
    for (const auto& bar : session_.Bars().bars)
      if (bar->name == "Rowtint") found.push_back(bar);
    return found;
  }
  std::vector<std::shared_ptr<sim::ControlNode>> Popups() {
    std::vector<std::shared_ptr<sim::ControlNode>> found;
    for (const auto& c : session_.Bars().activeMenuBar->controls)
      if (c->caption == "Rowtint" && c->popupBar) found.push_back(c);
    return found;
  }
  static std::string OutDir() {
    return ::testing::TempDir() + "/rowtint-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }

  simcli::SimSession session_{OutDir()};
  StormChecker checker_{session_};
  std::string lastOutput_;
};

// A session whose host has started with the add-in connected.
class SimTest : public SimSessionTest {
 protected:
  SimTest() {
    Run("start");
    Records();
    Desktop().CallCounter() = 0;
  }
};

}  // namespace rowtint::testing

namespace rowtint::platform {
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "]";
}
inline std::ostream& operator<<(std::ostream& os, const Point& p) { return os << "(" << p.x << "," << p.y << ")"; }
}  // namespace rowtint::platform
