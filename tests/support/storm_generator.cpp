#include "storm_generator.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace rowtint::testing {
namespace {
using Weighted = std::vector<std::pair<int, std::function<std::string()>>>;

std::string Cell(std::int64_t row, std::int64_t column) {
  row = std::clamp<std::int64_t>(row, 1, sim::SheetModel::kMaxRows);
  column = std::clamp<std::int64_t>(column, 1, sim::SheetModel::kMaxColumns);
  return sim::ColumnLetters(static_cast<std::int32_t>(column)) + std::to_string(row);
}
}  // namespace

// SplitMix64, as the host's faults use: the same lines from the same seed everywhere.
std::uint64_t StormGenerator::Draw() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::string StormGenerator::Next(simcli::SimSession& session) {
  if (!started_) {
    // A smaller screen keeps each check of its pixels quick.
    started_ = true;
    return "screen 800 600";
  }
  if (Chance(0.02)) return RefusedLine();
  if (!session.HostRunning()) return StoppedLine();
  if (session.Desktop().ColorDialogShown()) return DialogLine();
  if (auto form = session.Forms().ActiveForm()) return FormLine(*form);
  return HostLine(session);
}

std::string StormGenerator::NearCell(simcli::SimSession& session) {
  auto& sheet = session.Host().Sheet();
  const auto grid = session.Host().GridRect();
  const auto last = sheet.LastVisible(grid.right - grid.left, grid.bottom - grid.top);
  const int rows = last.row - sheet.scroll.row + 1, columns = last.column - sheet.scroll.column + 1;
  return Cell(sheet.scroll.row - 2 + Below(rows + 4), sheet.scroll.column - 1 + Below(columns + 3));
}

std::string StormGenerator::FarCell() {
  const std::int64_t row =
      Chance(0.1) ? OneOf<std::int64_t>({32766, 32767, 32768, 40000, 1048575, 1048576}) : 1 + Below(3000);
  const std::int64_t column = Chance(0.05) ? OneOf<std::int64_t>({16383, 16384}) : 1 + Below(80);
  return Cell(row, column);
}

std::string StormGenerator::GridRect(simcli::SimSession& session, bool keepOrigin) {
  const auto screen = session.Desktop().Screen().Bounds();
  const auto now = session.Host().GridRect();
  const int left = keepOrigin ? now.left : Below(80), top = keepOrigin ? now.top : 60 + Below(80);
  const int right = std::max(left + 1, screen.right - Below(260)),
            bottom = std::max(top + 1, screen.bottom - Below(200));
  return std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(right) + " " + std::to_string(bottom);
}

std::string StormGenerator::RefusedLine() {
  return OneOf<std::string>({"zoom 9",
                             "zoom 401",
                             "row-height 3 nan",
                             "row-height 3 410",
                             "col-width C -1",
                             "col-width XFE 10",
                             "pick 256 0 0",
                             "pick 1 2",
                             "select A0",
                             "select XFE1",
                             "select XFD1048577",
                             "scroll 0 1",
                             "tick 0",
                             "tick 1001",
                             "screen 100 100",
                             "grid 0 0 0 0",
                             "resize 10 10 5 5",
                             "frobnicate",
                             "select A1 B2",
                             "state now",
                             "version x",
                             "faults 2 1",
                             "faults 0.5 -3",
                             "set A1:B2 x",
                             "dpi 1000",
                             "gate maybe",
                             "form click nothing",
                             "form wave",
                             "wheel 0",
                             "wheel 801",
                             "repaint row 0",
                             "repaint",
                             "ribbon wave",
                             "ribbon click rowtintNothing"});
}

std::string StormGenerator::PrepareLine() {
  if (Chance(0.5)) {
    const auto probability = OneOf<std::string>({"0", "0", "0", "0", "0", "0", "0.01", "0.05", "0.2", "0.6"});
    return "faults " + probability + " " + std::to_string(Below(1000000));
  }
  if (Chance(0.1)) return "bar " + OneOf<std::string>({"Extra", "rowtint", "Rowtint"});
  const auto key = OneOf<std::string>({"RGB RGB-bc", "HIS his_color1", "HIS his_color2", "HIS his_color3"});
  const auto text = OneOf<std::string>({"255", "65280", "16711680", "14600886", "-2147483633", "-2147483626", "0",
                                        "red", "", "2147483648", " 42 ", "12.5", "-5"});
  return "setting " + key + " " + text;
}

// The message loop and the engine called directly: these run whatever is shown.
std::string StormGenerator::LoopLine() {
  return OneOf<std::string>(
      {"tick", "tick", "tick", "tick 2", "tick 3", "paint", "switch", "wober", "warm", "gate on", "gate off", "state"});
}

std::string StormGenerator::StoppedLine() {
  if (Chance(0.6)) return "start";
  if (Chance(0.5)) return PrepareLine();
  if (Chance(0.5)) return RefusedLine();
  // What needs the host finds none.
  return OneOf<std::string>({"select C3", "click Switch", "unload", "load", "zoom 50", "paint", "tick", "state"});
}

std::string StormGenerator::DialogLine() {
  if (Chance(0.35)) return LoopLine();
  if (Chance(0.15)) return OneOf<std::string>({"form click cb_ok", "select C3", "click Switch"});
  if (Chance(0.25)) return "pick cancel";
  return "pick " + std::to_string(Below(256)) + " " + std::to_string(Below(256)) + " " + std::to_string(Below(256));
}

std::string StormGenerator::FormLine(const platform::FormWindow& form) {
  if (Chance(0.25)) return LoopLine();
  if (Chance(0.05)) return PrepareLine();
  if (Chance(0.05)) return OneOf<std::string>({"select C3", "scroll 2 2", "click Option", "shutdown", "unload"});
  if (Chance(0.04)) return "form close";
  if (Chance(0.05)) return "pick " + std::to_string(Below(256)) + " 128 " + std::to_string(Below(256));
  const auto& controls = form.Controls();
  const std::string any = Chance(0.1)
                              ? std::string("background")
                              : controls[static_cast<std::size_t>(Below(static_cast<int>(controls.size())))].name;
  if (Chance(0.3)) return "form move " + any;
  if (Chance(0.4)) return "form click " + any;
  // The controls that act, more often than the rest.
  if (form.Name() == "fm_Option")
    return "form click " + OneOf<std::string>({"cb_ok", "cb_ok", "Label24", "Image2", "cb_cancel", "cb_cancel",
                                               "Label25", "Image3", "cb_Select", "cb_Select", "Label23", "Image4",
                                               "Lab_his1", "Lab_his2", "Lab_his3", "Opt_white", "Opt_primi"});
  return "form click " + OneOf<std::string>({"Label5", "Label7", "Image2", "Label10", "Label3"});
}

std::string StormGenerator::HostLine(simcli::SimSession& session) {
  auto& sheet = session.Host().Sheet();
  const Weighted choices{
      {220, [&] { return "select " + NearCell(session); }},
      {25, [&] { return "select " + FarCell(); }},
      {40,
       [&] {
         // A block from the active cell: one row of two or three columns, or two rows.
         const auto& a = sheet.active;
         const int rows = Chance(0.7) ? 1 : 2, columns = 1 + Below(3);
         return "select " + Cell(a.row, a.column) + ":" + Cell(a.row + rows - 1, a.column + columns - 1);
       }},
      {110, [&] { return LoopLine(); }},
      {70,
       [&] {
         return "scroll " + std::to_string(std::max(1, sheet.scroll.row - 3 + Below(7))) + " " +
                std::to_string(std::max(1, sheet.scroll.column - 2 + Below(5)));
       }},
      {15, [&] { return "scroll " + std::to_string(1 + Below(500)) + " " + std::to_string(1 + Below(30)); }},
      {70,
       [&] {
         return "click " + OneOf<std::string>({"Option", "Option", "Switch", "Switch", "FindLastrow", "menu:Option",
                                               "Wober", "Warm", "About"});
       }},
      {20, [&] { return std::string("select-object"); }},
      {25, [&] { return "resize " + GridRect(session, Chance(0.6)); }},
      {20,
       [&] {
         return OneOf<std::string>({"activate-sheet", "activate-workbook"});
       }},
      {10, [&] { return std::string("print"); }},
      {15,
       [&] {
         return "zoom " + OneOf<std::string>({"10", "25", "50", "75", "90", "100", "100", "125", "150", "200", "400"});
       }},
      {15,
       [&] {
         const auto near = std::to_string(std::max(1, sheet.scroll.row - 1 + Below(40)));
         return "row-height " + near + " " +
                OneOf<std::string>({"0", "0.75", "3", "9", "12.75", "15", "20.25", "30", "60", "150", "409"});
       }},
      {15,
       [&] {
         const auto near = std::to_string(std::max(1, sheet.scroll.column - 1 + Below(20)));
         return "col-width " + near + " " + OneOf<std::string>({"0", "7.5", "20", "48", "48", "100", "300", "1342.5"});
       }},
      {40,
       [&] {
         const auto cell = Chance(0.85) ? NearCell(session) : FarCell();
         return "set " + cell + " " + OneOf<std::string>({"x", "Total", "12345", "WWWW MMMM", "", "0.50"});
       }},
      {8,
       [&] {
         return "version " + OneOf<std::string>({"9.0", "10.0", "12.0", "16.0"});
       }},
      {20, [&] { return PrepareLine(); }},
      {10, [&] { return "pick " + std::to_string(Below(256)) + " " + std::to_string(Below(256)) + " 0"; }},
      {8, [&] { return std::string("start"); }},
      {10, [&] { return std::string("shutdown"); }},
      {10, [&] { return std::string(session.AddIn() ? "unload" : "load"); }},
      {30, [&] { return std::string(session.AddIn() ? "tick" : "load"); }},
      {4,
       [&] {
         return "dpi " + OneOf<std::string>({"96", "96", "120", "144"});
       }},
      {4, [&] { return "grid " + GridRect(session, false); }},
      // Today's Excel may keep no caret at the selected cell: the pane places the band then.
      {4, [&] { return std::string(Chance(0.5) ? "caret off" : "caret on"); }},
      {6,
       [&] {
         if (Chance(0.3)) return std::string("freeze off");
         const int rows = Below(4), columns = rows == 0 ? 1 + Below(2) : Below(3);
         return "freeze " + std::to_string(rows) + " " + std::to_string(columns);
       }},
      // The wheel, and Excel's own repaints: no event, no tick.
      {12,
       [&] {
         const int rows = 1 + Below(Chance(0.8) ? 5 : 40);
         return "wheel " + std::to_string(Chance(0.5) ? rows : -rows);
       }},
      {12,
       [&] {
         if (Chance(0.2)) return std::string("repaint grid");
         if (Chance(0.5)) return "repaint " + NearCell(session);
         const auto near = NearCell(session);
         return "repaint row " + near.substr(near.find_first_of("0123456789"));
       }},
      // The add-in's ribbon group, from version 12.0 on: a refused line before.
      {20,
       [&] {
         if (Chance(0.25)) return std::string("ribbon toggle rowtintBand");
         if (Chance(0.4))
           return "ribbon menu rowtintColours " + OneOf<std::string>({"rowtintWober", "rowtintWarm", "rowtintHistory1",
                                                                      "rowtintHistory2", "rowtintHistory3"});
         return "ribbon click " + OneOf<std::string>({"rowtintOptions", "rowtintLastRow", "rowtintAbout"});
       }},
      {2,
       [&] {
         return "screen " + OneOf<std::string>({"800 600", "800 600", "1024 640", "640 480"});
       }},
  };
  int total = 0;
  for (const auto& [weight, make] : choices) total += weight;
  int draw = Below(total);
  for (const auto& [weight, make] : choices) {
    if (draw < weight) return make();
    draw -= weight;
  }
  return "tick";
}

}  // namespace rowtint::testing
