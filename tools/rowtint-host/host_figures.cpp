#include "host_figures.h"

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <sstream>

#include "dll_surfaces.h"
#include "host_session.h"
#include "live_gdi_objects.h"

namespace rowtint::host {
namespace {

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

bool OwnWindow(HWND window) {
  DWORD process = 0;
  return GetWindowThreadProcessId(window, &process) != 0 && process == GetCurrentProcessId();
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
  if (!OwnWindow(window)) return TRUE;
  ++*reinterpret_cast<long*>(count);
  EnumChildWindows(window, &CountOwnWindow, count);
  return TRUE;
}

// Every window of this process: top-level ones with all their children, and
// message-only ones (the add-in's timer window is one), which EnumWindows leaves out.
long OwnWindows() {
  long count = 0;
  EnumWindows(&CountOwnWindow, reinterpret_cast<LPARAM>(&count));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
    count += OwnWindow(window);
  return count;
}

// The process's kernel handles. Wine's GetProcessHandleCount answers 0, so
// there every handle value up to 0x10000 (a multiple of four) is probed.
long OwnHandles() {
  DWORD handles = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles) return static_cast<long>(handles);
  long live = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    live += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
  }
  return live;
}

// Selections, the band's figures, then unload/load cycles on the surface the
// add-in reads at its connection; what the cycles must leave is what they found.
void SoakSurface(HostSession& session, const FigureCounts& counts, bool overlay, Ledger& ledger, std::ostream& out,
                 SelectionTimes& times) {
  // Wine makes two GDI objects of its own, once in a process, the first time
  // a shown window is resized (as a moved overlay is when the band's parts
  // change width): a few selections across columns first, so that only what
  // the selections leave behind is counted.
  for (const int column : {2, 5, 3}) session.UserSelects({{6, column}, {6, column}});
  long gdiBefore = LiveGdiObjects(), refsBefore = session.OutstandingReferences();
  for (int i = 0; i < counts.selections; ++i) session.UserSelects({{5 + i % 20, 2 + i % 3}, {5 + i % 20, 2 + i % 3}});
  out << "selection changes: " << counts.selections << "\n";
  ledger.Pair("live GDI objects", gdiBefore, LiveGdiObjects(), gdiBefore);
  ledger.Pair("outstanding COM references", refsBefore, session.OutstandingReferences(), refsBefore);
  if (overlay) ledger.Check("the band on overlay windows", !OverlayWindows().empty());

  times = PrintSelectionFigures(session, counts.latencyEvents, out);
  PrintWheelFigures(session, counts.wheels, out);
  if (!overlay)
    ledger.Check("the band whole after every host repaint", PrintRepaintFigures(session, counts.repaints, out));

  Line(session, "unload");
  gdiBefore = LiveGdiObjects();
  const long windowsBefore = OwnWindows(), handlesBefore = OwnHandles();
  int overlaysMade = 0;
  for (int i = 0; i < counts.cycles; ++i) {
    Line(session, "load");
    Line(session, "select C" + std::to_string(5 + i % 20));
    overlaysMade += !OverlayWindows().empty();
    Line(session, "unload");
  }
  out << "unload/load cycles: " << counts.cycles << "\n";
  ledger.Pair("live GDI objects", gdiBefore, LiveGdiObjects(), gdiBefore);
  ledger.Pair("windows", windowsBefore, OwnWindows(), windowsBefore);
  ledger.Pair("handles", handlesBefore, OwnHandles(), handlesBefore);
  ledger.Pair("outstanding COM references", 0, session.OutstandingReferences(), 0);
  if (overlay) {
    ledger.Check("the band on overlay windows in every cycle", overlaysMade == counts.cycles);
    ledger.Pair("overlay windows", 0, static_cast<long>(OverlayWindows().size()), 0);
  }
  ledger.Check("no timer message after the last unload", !session.TimerMessageArrives(1000));
  const std::string state = Line(session, "state");
  ledger.Check("no toolbar or menu after the last unload", state.find("\"bars\":[]") != std::string::npos);
}
}  // namespace

int PrintFigures(const std::string& outDir, const FigureCounts& counts, std::ostream& out) {
  HostSession session(outDir);
  Ledger ledger(out);
  Line(session, "start");
  Line(session, "select B5");
  out << "on the grid surface:\n";
  SelectionTimes grid, overlay;
  SoakSurface(session, counts, false, ledger, out, grid);

  // The user's fixed choice, read at the next connection.
  Line(session, "surface overlay");
  Line(session, "load");
  Line(session, "select B5");
  out << "on the overlay surface:\n";
  SoakSurface(session, counts, true, ledger, out, overlay);
  if (grid.wholeMs > 0 && overlay.wholeMs > 0)
    out << "a selection change on the overlay against one on the grid, the whole of it: "
        << overlay.wholeMs / grid.wholeMs << " times\n";
  if (grid.addInMs > 0 && overlay.addInMs > 0)
    out << "a selection change on the overlay against one on the grid, the add-in's own time: "
        << overlay.addInMs / grid.addInMs << " times\n";

  Line(session, "shutdown");
  session.Close();
  out << (ledger.Ok() ? "nothing left behind\n" : "LEFT BEHIND: see above\n");
  return ledger.Ok() ? 0 : 1;
}

}  // namespace rowtint::host
