// Soak and latency figures of the real add-in in the stand-in, printed for
// the grid surface and again for the overlay: live GDI objects, outstanding
// COM references, the process's windows and handles before and after a run
// of selection changes and of unload/load cycles (on the overlay, no overlay
// window left either), the time from raising SheetSelectionChange to the
// band on the screen and the add-in's own part of it, the time from a wheel
// message to the band at its new place, and on the grid the band after
// random repaints of Excel's own. Times are never judged; what a run must
// leave behind is, as is a band left broken by a repaint: either ends it
// with exit code 1.
#pragma once

#include <ostream>
#include <string>

namespace rowtint::host {

struct FigureCounts {
  int selections = 10000;
  int cycles = 100;  // on each surface
  int latencyEvents = 1000;
  int wheels = 200;
  int repaints = 1000;
};

int PrintFigures(const std::string& outDir, const FigureCounts& counts, std::ostream& out);

class HostSession;
// Medians in milliseconds, 0 when none was measured: the whole selection
// change until the loop ran dry, and the add-in's own part of its event.
struct SelectionTimes {
  double wholeMs = 0;
  double addInMs = 0;
};
SelectionTimes PrintSelectionFigures(HostSession& session, int events, std::ostream& out);
void PrintWheelFigures(HostSession& session, int wheels, std::ostream& out);
// False when a repaint left the band broken.
bool PrintRepaintFigures(HostSession& session, int repaints, std::ostream& out);

}  // namespace rowtint::host
