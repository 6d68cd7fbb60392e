// Without a caret at the active cell (today's Excel keeps none) the band
// stands on exactly the pixels it stands on with one: Excel draws every row
// and column at whole pixels, and a cell's place is the sum of those before
// it, not its distance in points scaled. The caret, read in a per-monitor
// thread, is the referee.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/sim_fixture.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

struct Placed {
  std::vector<Rect> drawn;
  friend bool operator==(const Placed&, const Placed&) = default;
};

std::ostream& operator<<(std::ostream& os, const Placed& p) {
  os << "{";
  for (const Rect& r : p.drawn) os << " " << r;
  return os << " }";
}

// A cell tried, and the first row the view shows before it is selected:
// its place in the view.
struct Tried {
  const char* cell;
  int topRow;
};

// One group of cases: how the sheet is set up, and the cells tried in it.
struct PlacementCase {
  const char* name;
  std::vector<std::string> setup;
  std::vector<Tried> cells;
};

class CellPixelsTest : public SimTest {
 protected:
  // Set-up lines are run without the per-line invariant checks: a group
  // sets up many row heights.
  void Quietly(const std::vector<std::string>& lines) {
    std::ostringstream out;
    for (const auto& line : lines) session_.RunLine(line, out);
  }
  // The band the add-in draws when the cell is selected, with the caret on or off.
  Placed BandAt(const Tried& tried, bool caret) {
    Quietly({caret ? "caret on" : "caret off", "scroll " + std::to_string(tried.topRow) + " 1"});
    Records();
    Quietly({std::string("select ") + tried.cell});
    Placed placed;
    for (const auto& d : Records().drawn) placed.drawn.push_back(d.rect);
    return placed;
  }
  // The rectangles of every cell tried, and the whole screen after the last.
  void ExpectAlike(const PlacementCase& c) {
    Quietly({"freeze off", "select A1", "scroll 1 1"});
    Quietly(c.setup);
    int banded = 0;
    std::optional<sim::FrameBuffer> screenWithCaret;
    for (const Tried& tried : c.cells) {
      const Placed withCaret = BandAt(tried, true);
      if (&tried == &c.cells.back()) screenWithCaret = Desktop().Screen();
      const Placed withoutCaret = BandAt(tried, false);
      EXPECT_EQ(withoutCaret, withCaret) << c.name << ", " << tried.cell << " below row " << tried.topRow;
      banded += !withCaret.drawn.empty();
    }
    EXPECT_TRUE(*screenWithCaret == Desktop().Screen()) << c.name << ": the screens differ";
    EXPECT_GT(banded, 0) << c.name << ": no cell got a band, so nothing was compared";
  }
};

// Row heights of `points` for rows 1 to `last`.
std::vector<std::string> Rows(const char* points, int last = 60) {
  std::vector<std::string> lines;
  for (int row = 1; row <= last; ++row) lines.push_back("row-height " + std::to_string(row) + " " + points);
  return lines;
}

std::vector<std::string> Columns(const char* points, int last = 20) {
  std::vector<std::string> lines;
  for (int column = 1; column <= last; ++column) lines.push_back("col-width " + std::to_string(column) + " " + points);
  return lines;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(CellPixelsTest, EveryZoomAndRowHeightAnywhereInTheView) {
  // Near the view's top, a few rows down, far down; at high zooms some leave the view.
  const std::vector<Tried> cells = {{"C3", 1}, {"D9", 7}, {"C20", 4}, {"E35", 2}, {"B51", 30}};
  // The sheet, with its row heights, stays from one start of the host to the next.
  for (const char* height : {"15", "12.75", "20.25", "9.75"}) {
    Quietly(Rows(height));
    for (const int zoom : {10, 50, 75, 85, 100, 110, 115, 125, 150, 200, 400}) {
      const std::string name = "zoom " + std::to_string(zoom) + ", rows of " + height;
      ExpectAlike({name.c_str(), {"zoom " + std::to_string(zoom)}, cells});
    }
  }
}

// The gap at the active cell follows the columns' whole pixels, as the top follows the rows'.
TEST_F(CellPixelsTest, EveryColumnWidth) {
  for (const int zoom : {75, 85, 115, 150})
    for (const char* width : {"40.5", "55.5", "8.25", "30"}) {
      const std::string name = "zoom " + std::to_string(zoom) + ", columns of " + width;
      ExpectAlike(
          {name.c_str(), Join({"zoom " + std::to_string(zoom)}, Columns(width)), {{"C6", 1}, {"H9", 2}, {"M12", 3}}});
    }
}

// Rows and columns of mixed sizes are found out in parts.
TEST_F(CellPixelsTest, MixedSizes) {
  std::vector<std::string> mixed = {"zoom 85"};
  for (int row = 2; row <= 40; row += 5) mixed.push_back("row-height " + std::to_string(row) + " 12.75");
  for (int column = 2; column <= 14; column += 4) mixed.push_back("col-width " + std::to_string(column) + " 40.5");
  mixed.push_back("row-height 17 30");
  ExpectAlike({"mixed", mixed, {{"C6", 1}, {"H19", 1}, {"K33", 3}, {"N12", 1}}});
}

TEST_F(CellPixelsTest, FrozenPanes) {
  const auto sized = Join(Join({"zoom 85"}, Rows("12.75")), Columns("40.5"));
  // With frozen panes a scroll names the first scrollable row shown.
  ExpectAlike({"frozen rows and a column",
               Join(sized, {"freeze 3 1"}),
               {{"D2", 4}, {"D8", 4}, {"A9", 4}, {"E25", 10}, {"B3", 4}}});
  ExpectAlike({"frozen, scrolled down",
               Join(sized, {"freeze 2 2"}),
               {{"H40", 30}, {"J45", 38}, {"A44", 30}, {"H2", 30}, {"B50", 40}}});
}

// Excel draws at the grid's monitor's resolution; the screen's may differ.
TEST_F(CellPixelsTest, EveryResolution) {
  // A `dpi` line sets the screen's resolution, and the monitor's with it.
  const std::vector<std::vector<std::string>> resolutions = {{"dpi 96", "window-dpi 96"},
                                                             {"dpi 96", "window-dpi 120"},
                                                             {"dpi 96", "window-dpi 144"},
                                                             {"window-dpi 120", "dpi 120"},
                                                             {"window-dpi 144", "dpi 144"}};
  for (const auto& resolution : resolutions)
    for (const int zoom : {85, 125}) {
      const std::string name = resolution[0] + ", " + resolution[1] + ", zoom " + std::to_string(zoom);
      ExpectAlike({name.c_str(),
                   Join(Join(resolution, {"zoom " + std::to_string(zoom)}), Rows("12.75")),
                   {{"C5", 1}, {"E17", 5}, {"D28", 20}}});
    }
}

// Office calls the add-in system-aware: on a 144-dpi monitor the grid's
// rectangle and the caret come back scaled unless the add-in asks in its own
// per-monitor context. With the caret and without, the band is the one a
// per-monitor thread draws.
TEST_F(CellPixelsTest, ASystemAwareThreadOnA144DpiMonitor) {
  const auto setup = Join({"window-dpi 144", "zoom 85"}, Rows("12.75"));
  const std::vector<Tried> cells = {{"C5", 1}, {"E17", 5}, {"D22", 12}};
  std::vector<Placed> perMonitor;
  Quietly({"start"});
  Quietly(setup);
  for (const Tried& cell : cells) perMonitor.push_back(BandAt(cell, true));
  Desktop().SetHostThreadDpi(sim::SimDesktop::ThreadDpi::System);
  for (std::size_t i = 0; i < std::size(cells); ++i) {
    EXPECT_EQ(BandAt(cells[i], true), perMonitor[i]) << cells[i].cell << " with the caret";
    EXPECT_EQ(BandAt(cells[i], false), perMonitor[i]) << cells[i].cell << " without";
  }
  Run("state");
  EXPECT_EQ(lastOutput_.find("per-monitor DPI context"), std::string::npos)
      << "Excel was called in the add-in's context";
  EXPECT_EQ(Desktop().LastDrawingDpi(), sim::SimDesktop::ThreadDpi::PerMonitor);
}

}  // namespace
}  // namespace rowtint::testing
