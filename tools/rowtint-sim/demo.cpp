#include "demo.h"

#include "sim_session.h"

namespace rowtint::simcli {
namespace {
constexpr const char* kTable[] = {
    "set A1 Region",  "set B1 Product", "set C1 Units", "set D1 Price", "set E1 Revenue",
    "set A2 North",   "set B2 Apples",  "set C2 120",   "set D2 0.50",  "set E2 60.00",
    "set A3 North",   "set B3 Pears",   "set C3 80",    "set D3 0.75",  "set E3 60.00",
    "set A4 South",   "set B4 Plums",   "set C4 200",   "set D4 0.40",  "set E4 80.00",
    "set A5 South",   "set B5 Figs",    "set C5 45",    "set D5 1.20",  "set E5 54.00",
    "set A6 East",    "set B6 Apples",  "set C6 150",   "set D6 0.50",  "set E6 75.00",
    "set A7 East",    "set B7 Quince",  "set C7 30",    "set D7 1.10",  "set E7 33.00",
    "set A8 West",    "set B8 Pears",   "set C8 95",    "set D8 0.75",  "set E8 71.25",
    "set A9 West",    "set B9 Plums",   "set C9 160",   "set D9 0.40",  "set E9 64.00",
    "set A10 Total",  "set C10 880",    "set E10 497.25",
};

constexpr const char* kScenario[] = {
    "select C5",
    "snapshot 01-band-primitive-colors.png",
    "state",
    // "Invert Colors Font" through the options form
    "click Option",
    "form click Opt_white",
    "form click cb_ok",
    "select B7",
    "snapshot 02-band-invert-colors.png",
    "state",
    // A colour from the colour dialog
    "click Option",
    "form click Opt_primi",
    "form move cb_Select",
    "pick 255 196 120",
    "form click cb_Select",
    "form move cb_ok",
    "snapshot 03-options-form.png",
    "form click cb_ok",
    "snapshot 04-band-new-colour.png",
    "state",
    // The wheel scrolls the sheet; the next timer tick repaints
    "scroll 3 1",
    "tick",
    "snapshot 05-after-scroll.png",
    "state",
    "click Switch",
    "snapshot 06-switched-off.png",
    "state",
    // The host restarts: the colour and the history come back
    "click Switch",
    "shutdown",
    "start",
    "select C6",
    "click Option",
    "snapshot 07-history-after-restart.png",
    "state",
    "form click cb_cancel",
};
}  // namespace

void RunDemo(const std::string& outDir, std::ostream& out) {
  SimSession session(outDir);
  auto run = [&](const std::string& line) { session.RunLine(line, out); };
  run("screen 800 500");
  run("grid 40 110 780 490");
  for (const char* line : kTable) run(line);
  for (const char* line : kScenario) run(line);
}

}  // namespace rowtint::simcli
