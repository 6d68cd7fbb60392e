#include "host_figures.h"

#include <windows.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "host_session.h"
#include "live_gdi_objects.h"
#include "platform/win32/gdi_handles.h"

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
  const auto& sheet = session.Sheet();
  const int y = grid.top + (sheet.RowEdge(sheet.active.row) + sheet.RowEdge(sheet.active.row + 1)) / 2;
  const int x = grid.left + 20;
  const win32::ScopedWindowDC screen(nullptr, win32::ScopedWindowDC::Area::Client);
  return GetPixel(screen.Get(), x, y);
}

std::string Line(HostSession& session, const std::string& line) {
  std::ostringstream out;
  session.RunLine(line, out);
  return out.str();
}

// Prints a before/after pair and notes whether it is as it must be.
class Ledger {
 public:
  explicit Ledger(std::ostream& out) : out_(out) {}
  void Pair(const char* what, long before, long after, long must) {
    out_ << "  " << what << ": " << before << " before, " << after << " after";
    if (after != must) {
      out_ << "  LEAK: " << must << " expected";
      ok_ = false;
    }
    out_ << "\n";
  }
  void Check(const char* what, bool holds) {
    out_ << "  " << what << ": " << (holds ? "yes" : "NO") << "\n";
    ok_ = ok_ && holds;
  }
  bool Ok() const { return ok_; }

 private:
  std::ostream& out_;
  bool ok_ = true;
};
}  // namespace

int PrintFigures(const std::string& outDir, const FigureCounts& counts, std::ostream& out) {
  HostSession session(outDir);
  Ledger ledger(out);
  Line(session, "start");
  Line(session, "select B5");

  long gdiBefore = LiveGdiObjects(), refsBefore = session.OutstandingReferences();
  for (int i = 0; i < counts.selections; ++i) session.UserSelects({{5 + i % 20, 2 + i % 3}, {5 + i % 20, 2 + i % 3}});
  out << "selection changes: " << counts.selections << "\n";
  ledger.Pair("live GDI objects", gdiBefore, LiveGdiObjects(), gdiBefore);
  ledger.Pair("outstanding COM references", refsBefore, session.OutstandingReferences(), refsBefore);

  // From raising the event to the band on the screen: the paint is made
  // within the event, so the first look normally finds it.
  std::vector<double> times;
  for (int i = 0; i < counts.latencyEvents; ++i) {
    const sim::Area cell{{5 + i % 20, 3}, {5 + i % 20, 3}};
    LARGE_INTEGER start, end, now;
    QueryPerformanceCounter(&start);
    session.UserSelects(cell, false);
    while (BandPixel(session) == RGB(255, 255, 255)) {
      QueryPerformanceCounter(&now);
      if (Milliseconds(start, now) > 1000) break;
    }
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
    session.PumpNow();
  }
  if (!times.empty()) {
    std::sort(times.begin(), times.end());
    out << "SheetSelectionChange to band on screen, " << times.size() << " events: median " << times[times.size() / 2]
        << " ms, worst " << times.back() << " ms\n";
  }

  Line(session, "unload");
  gdiBefore = LiveGdiObjects();
  for (int i = 0; i < counts.cycles; ++i) {
    Line(session, "load");
    Line(session, "select C" + std::to_string(5 + i % 20));
    Line(session, "unload");
  }
  out << "unload/load cycles: " << counts.cycles << "\n";
  ledger.Pair("live GDI objects", gdiBefore, LiveGdiObjects(), gdiBefore);
  ledger.Pair("outstanding COM references", 0, session.OutstandingReferences(), 0);
  ledger.Check("no timer message after the last unload", !session.TimerMessageArrives(1000));
  const std::string state = Line(session, "state");
  ledger.Check("no toolbar or menu after the last unload", state.find("\"bars\":[]") != std::string::npos);
  Line(session, "shutdown");
  session.Close();
  out << (ledger.Ok() ? "nothing left behind\n" : "LEFT BEHIND: see above\n");
  return ledger.Ok() ? 0 : 1;
}

}  // namespace rowtint::host
