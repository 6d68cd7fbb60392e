#include "demo.h"

#include <filesystem>
#include <sstream>
#include <vector>

#include "sim_session.h"

namespace rowtint::simcli {
namespace {
constexpr const char* kTable[] = {
    "set A1 Region", "set B1 Product", "set C1 Units",  "set D1 Price",  "set E1 Revenue", "set A2 North",
    "set B2 Apples", "set C2 120",     "set D2 0.50",   "set E2 60.00",  "set A3 North",   "set B3 Pears",
    "set C3 80",     "set D3 0.75",    "set E3 60.00",  "set A4 South",  "set B4 Plums",   "set C4 200",
    "set D4 0.40",   "set E4 80.00",   "set A5 South",  "set B5 Figs",   "set C5 45",      "set D5 1.20",
    "set E5 54.00",  "set A6 East",    "set B6 Apples", "set C6 150",    "set D6 0.50",    "set E6 75.00",
    "set A7 East",   "set B7 Quince",  "set C7 30",     "set D7 1.10",   "set E7 33.00",   "set A8 West",
    "set B8 Pears",  "set C8 95",      "set D8 0.75",   "set E8 71.25",  "set A9 West",    "set B9 Plums",
    "set C9 160",    "set D9 0.40",    "set E9 64.00",  "set A10 Total", "set C10 880",    "set E10 497.25",
};

// Each step's lines, then the snapshot it ends with and what that shows.
struct Step {
  std::vector<const char*> lines;
  const char* snapshot;
  const char* shows;
};

const Step kScenario[] = {
    {{"select C5"}, "01-band-primitive-colors.png", "the band on row 5 in \"Primitive Colors Font\""},
    {{"click Option", "form click Opt_white", "form click cb_ok", "select B7"},
     "02-band-invert-colors.png",
     "the band on row 7 in \"Invert Colors Font\", chosen on the options form"},
    {{"click Option", "form click Opt_primi", "form move cb_Select", "pick 255 196 120", "form click cb_Select",
      "form move cb_ok"},
     "03-options-form.png",
     "the options form with a colour picked in the colour dialog"},
    {{"form click cb_ok"}, "04-band-new-colour.png", "the band in the picked colour"},
    // The wheel scrolls the sheet; the next timer tick repaints.
    {{"scroll 3 1", "tick"}, "05-after-scroll.png", "the band still on row 7 after the sheet scrolled two rows"},
    {{"click Switch"}, "06-switched-off.png", "the band switched off"},
    // The host restarts: the colour and the history come back.
    {{"click Switch", "shutdown", "start", "select C6", "click Option"},
     "07-history-after-restart.png",
     "after a restart, the options form with the picked colour first in the history"},
};
}  // namespace

void RunDemo(const std::string& outDir, std::ostream& out) {
  SimSession session(outDir);
  std::ostringstream ignored;
  auto run = [&](const std::string& line) { session.RunLine(line, ignored); };
  run("screen 800 500");
  run("grid 40 110 780 490");
  for (const char* line : kTable) run(line);
  for (const Step& step : kScenario) {
    for (const char* line : step.lines) run(line);
    run(std::string("snapshot ") + step.snapshot);
    out << (std::filesystem::path(outDir) / step.snapshot).string() << ": " << step.shows << "\n";
  }
  run("form click cb_cancel");
}

}  // namespace rowtint::simcli
