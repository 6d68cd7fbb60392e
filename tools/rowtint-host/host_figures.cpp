#include "host_figures.h"

#include <windows.h>

#include <sstream>

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

  PrintSelectionFigures(session, counts.latencyEvents, out);
  PrintWheelFigures(session, counts.wheels, out);
  ledger.Check("the band whole after every host repaint", PrintRepaintFigures(session, counts.repaints, out));

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
