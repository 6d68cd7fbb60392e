// Soak and latency figures of the real add-in in the stand-in, printed,
// never asserted: live GDI objects and outstanding COM references before
// and after 10,000 selection changes and 100 unload/load cycles, and the
// time from SheetSelectionChange to the band on the screen.
#pragma once

#include <ostream>
#include <string>

namespace rowtint::host {

int PrintFigures(const std::string& outDir, std::ostream& out);

}  // namespace rowtint::host
