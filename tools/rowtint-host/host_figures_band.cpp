// The band's own figures in the stand-in, on either surface: how long the
// add-in itself takes over a selection change, how soon a wheel message
// brings the band to its new place, and whether Excel's own repaints ever
// leave it broken.
#include <windows.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "dll_surfaces.h"
#include "dll_watch.h"
#include "host_clock.h"
#include "host_figures.h"
#include "host_session.h"
#include "screen_capture.h"

namespace rowtint::host {
namespace {
constexpr double kFrameMs = 1000.0 / 60.0;

std::string Line(HostSession& session, const std::string& line) {
  std::ostringstream out;
  session.RunLine(line, out);
  return out.str();
}

// The band as the add-in last drew it on either surface: its Rectangle calls
// on the grid, its new bitmaps for the overlays and their placements.
WatchedCalls TakeBandDrawn() {
  const WatchedCalls rectangles = TakeRectanglesDrawn();
  const WatchedCalls layers = TakeLayersUpdated();
  return {rectangles.calls + layers.calls, std::max(rectangles.lastAtMs, layers.lastAtMs),
          rectangles.withinMs + layers.withinMs};
}

// A row's middle on the screen, so that the band's old place can be looked at after the scroll.
int RowMiddle(HostSession& session, int row) {
  const auto& sheet = session.Sheet();
  return session.Windows()->GridOnScreen().top + (sheet.RowEdge(row) + sheet.RowEdge(row + 1)) / 2;
}

// The pixel in the band's left part at that height as the user sees it, an overlay blended in.
COLORREF PixelAt(HostSession& session, int y) { return ShownPixel(session.Windows()->GridOnScreen().left + 20, y); }

COLORREF PixelOnRow(HostSession& session, int row) { return PixelAt(session, RowMiddle(session, row)); }

double Median(std::vector<double> times) {
  if (times.empty()) return 0;
  std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
  return times[times.size() / 2];
}

void PrintSpread(std::ostream& out, std::vector<double> times) {
  if (times.empty()) {
    out << "none measured";
    return;
  }
  std::sort(times.begin(), times.end());
  out << "median " << times[times.size() / 2] << " ms, worst " << times.back() << " ms";
}

bool SameGrid(const sim::FrameBuffer& a, const sim::FrameBuffer& b, const platform::Rect& grid) {
  for (int y = grid.top; y < grid.bottom; ++y)
    for (int x = grid.left; x < grid.right; ++x)
      if (a.Get(x, y) != b.Get(x, y)) return false;
  return true;
}
}  // namespace

SelectionTimes PrintSelectionFigures(HostSession& session, int events, std::ostream& out) {
  if (events <= 0) return {};
  std::vector<double> times, settledTimes, addInTimes, drawingTimes;
  int shown = 0;
  for (int i = 0; i < events; ++i) {
    const int row = 5 + i % 20;
    TakeBandDrawn();
    const double start = NowMs();
    session.UserSelects({{row, 3}, {row, 3}}, false);
    const auto drawn = TakeBandDrawn();
    if (drawn.calls > 0) times.push_back(drawn.lastAtMs - start);
    if (session.LastCall().what == "SheetSelectionChange") addInTimes.push_back(session.LastCall().addInMs);
    drawingTimes.push_back(drawn.withinMs);
    // On the grid the old band is gone only once Excel repainted what the add-in invalidated.
    session.PumpNow();
    settledTimes.push_back(NowMs() - start);
    shown += PixelOnRow(session, row) != RGB(255, 255, 255);
  }
  out << "SheetSelectionChange to the band drawn, " << events << " events: ";
  PrintSpread(out, times);
  out << "; on the screen once the loop ran: " << shown << " of " << events << "\n";
  out << "the whole selection change, from the user's click until the loop ran dry (Excel's repaints included): ";
  PrintSpread(out, settledTimes);
  out << "\n";
  out << "the add-in's own time for a selection change (less the stand-in's window procedures): ";
  PrintSpread(out, addInTimes);
  out << "; of it in drawing the band (Rectangle; SetWindowPos, UpdateLayeredWindow): ";
  PrintSpread(out, drawingTimes);
  out << "\n";
  return {Median(settledTimes), Median(addInTimes)};
}

void PrintWheelFigures(HostSession& session, int wheels, std::ostream& out) {
  if (wheels <= 0) return;
  Line(session, "scroll 1 1");
  Line(session, "select B12");
  const HWND grid = session.Windows()->Grid();
  std::vector<double> times;
  int placed = 0, withinFrame = 0;
  for (int i = 0; i < wheels; ++i) {
    // One notch down, then one back up: three rows each way.
    const short delta = i % 2 ? 120 : -120;
    const int row = session.Sheet().active.row;
    const int oldY = RowMiddle(session, row);
    TakeBandDrawn();
    const double start = NowMs();
    PostMessageW(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
    session.PumpNow();
    const auto drawn = TakeBandDrawn();
    if (drawn.calls > 0) {
      times.push_back(drawn.lastAtMs - start);
      withinFrame += drawn.lastAtMs - start <= kFrameMs;
    }
    placed += PixelOnRow(session, row) != RGB(255, 255, 255) && PixelAt(session, oldY) == RGB(255, 255, 255);
  }
  out << "wheel message to the band drawn at its new place, " << wheels << " wheels: ";
  PrintSpread(out, times);
  out << "; within one 16.7 ms frame: " << withinFrame << " of " << wheels
      << "; the band at its new place and gone from the old: " << placed << " of " << wheels << "\n";
}

bool PrintRepaintFigures(HostSession& session, int repaints, std::ostream& out) {
  if (repaints <= 0) return true;
  Line(session, "scroll 1 1");
  Line(session, "select C8");
  const platform::Rect grid = session.Windows()->GridOnScreen();
  const sim::FrameBuffer before = CaptureScreen();
  std::mt19937 random(16);
  auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
  int whole = 0;
  for (int i = 0; i < repaints; ++i) {
    std::ostringstream line;
    switch (pick(0, 4)) {
      case 0:
        line << "repaint row 8";
        break;
      case 1:
        line << "repaint row " << pick(1, 28);
        break;
      case 2:
        line << "repaint C8";
        break;
      case 3:
        line << "repaint " << static_cast<char>('A' + pick(0, 9)) << pick(1, 28);
        break;
      default:
        line << "repaint grid";
        break;
    }
    Line(session, line.str());
    whole += SameGrid(before, CaptureScreen(), grid);
  }
  out << "the band whole after each of " << repaints << " random host repaints (its row, other rows, cells, "
      << "the grid): " << whole << " of " << repaints << "\n";
  return whole == repaints;
}

}  // namespace rowtint::host
