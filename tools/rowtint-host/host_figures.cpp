#include "host_figures.h"

#include <windows.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "host_session.h"
#include "live_gdi_objects.h"

namespace rowtint::host {
namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The screen pixel under the middle of the left part of the band for the active cell.
COLORREF BandPixel(HostSession& session) {
  const auto grid = session.Windows()->GridOnScreen();
  const auto& sheet = session.Book().sheet;
  const int y = grid.top + (sheet.RowEdge(sheet.active.row) + sheet.RowEdge(sheet.active.row + 1)) / 2;
  const int x = grid.left + 20;
  HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return pixel;
}

void Line(HostSession& session, const std::string& line) {
  std::ostringstream ignored;
  session.RunLine(line, ignored);
}
}  // namespace

int PrintFigures(const std::string& outDir, std::ostream& out) {
  HostSession session(outDir);
  Line(session, "start");
  Line(session, "select B5");

  // Selection changes.
  long gdiBefore = LiveGdiObjects(), refsBefore = session.OutstandingReferences();
  for (int i = 0; i < 10000; ++i) session.UserSelects({{5 + i % 20, 2 + i % 3}, {5 + i % 20, 2 + i % 3}});
  out << "selection changes: 10000\n";
  out << "  live GDI objects: " << gdiBefore << " before, " << LiveGdiObjects() << " after\n";
  out << "  outstanding COM references: " << refsBefore << " before, " << session.OutstandingReferences() << " after\n";

  // Time from raising the event to the band on the screen.
  std::vector<double> times;
  for (int i = 0; i < 1000; ++i) {
    const sim::Area cell{{5 + i % 20, 3}, {5 + i % 20, 3}};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    session.UserSelects(cell, false);
    while (BandPixel(session) == RGB(255, 255, 255)) {
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      if (Milliseconds(start, now) > 1000) break;
    }
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
    session.PumpNow();
  }
  std::sort(times.begin(), times.end());
  out << "SheetSelectionChange to band on screen, 1000 events: median " << times[times.size() / 2] << " ms, worst "
      << times.back() << " ms\n";

  // Unload and load.
  Line(session, "unload");
  gdiBefore = LiveGdiObjects();
  refsBefore = session.OutstandingReferences();
  for (int i = 0; i < 100; ++i) {
    Line(session, "load");
    Line(session, "unload");
  }
  std::ostringstream state;
  session.RunLine("state", state);
  out << "unload/load cycles: 100\n";
  out << "  live GDI objects: " << gdiBefore << " before, " << LiveGdiObjects() << " after\n";
  out << "  outstanding COM references: " << refsBefore << " before, " << session.OutstandingReferences() << " after\n";
  out << "  after the last unload: " << state.str();
  Line(session, "shutdown");
  return 0;
}

}  // namespace rowtint::host
