// Soak and latency figures of the real add-in in the stand-in, printed:
// live GDI objects and outstanding COM references before and after a run of
// selection changes and of unload/load cycles, and the time from raising
// SheetSelectionChange to the band on the screen. Times are never judged;
// what a run must leave behind is, and a leak ends it with exit code 1.
#pragma once

#include <ostream>
#include <string>

namespace rowtint::host {

struct FigureCounts {
  int selections = 10000;
  int cycles = 100;
  int latencyEvents = 1000;
};

int PrintFigures(const std::string& outDir, const FigureCounts& counts, std::ostream& out);

}  // namespace rowtint::host
