// The script commands of rowtint-sim and rowtint-host, and the one place
// that carries out those acting on the host's model (the sheet, the user's
// actions, the command bars). What each program does in its own way
// (starting the host, loading the add-in, the forms, the output) it does
// behind ScriptHost.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/sim/excel_model.h"
#include "platform/sim/ribbon_model.h"
#include "script_line.h"

namespace rowtint::script {

// What a command works on, which decides when it may run.
enum class Kind {
  Lifecycle,  // the host starts, ends, loads or unloads the add-in
  Prepare,    // the settings store, the host's bars, faults: may come before the host's first start
  Sheet,      // the host's screen, windows and sheet are set up
  User,       // the user works the host's windows
  Dialog,     // the user works a form or the colour dialog
  Loop,       // the host's message loop and the engine called directly
  Desktop,    // another program's window, which no form of the host's keeps away
  Output,
};

const std::map<std::string, Kind>& Commands();

// The other program's window `away` brings to the front: small, in a corner
// clear of the grid, so that the grid's pixels stay comparable.
inline constexpr platform::Rect kAwayWindow{0, 770, 160, 800};
inline constexpr sim::Pixel kAwayFill = 0x404040;
// What a `cover` window is filled with: magenta, which nothing else draws.
inline constexpr sim::Pixel kCoverFill = 0xFF00FF;

// The screen rectangle a `cover` line names.
platform::Rect CoverRect(const ScriptLine& line, const platform::Rect& screen);

// A program that plays scripts: the host it runs and what it carries out itself.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // Whether the host has been started in this run.
  virtual bool Started() const = 0;
  // The host's life and the add-in's: a start ends a host still running
  // without telling the add-in; a load needs a running host and no add-in.
  virtual void Start() = 0;
  virtual void Shutdown() = 0;
  virtual void Load() = 0;
  virtual void Unload() = 0;
  // The running host's model; raises ScriptError when no host runs.
  virtual sim::ExcelModel& Model() = 0;
  // The host's command bars, which outlive its runs.
  virtual sim::CommandBarStore& Bars() = 0;
  // The screen, inside which the grid must lie.
  virtual platform::Rect ScreenBounds() = 0;
  // The grid window's place, for this run and the host's next start.
  virtual void KeepGrid(const platform::Rect& grid) = 0;
  // Raises ScriptError while a form or the colour dialog keeps the host's windows from input.
  virtual void RefuseWhileModal(const ScriptLine& line) = 0;
  // The add-in's ribbon group as the host shows it (loaded or not).
  virtual sim::RibbonModel& Ribbon() = 0;
  // A command the shared code leaves to the program.
  virtual void Own(const ScriptLine& line, Kind kind, std::ostream& out) = 0;
};

// Carries out one line of a script. A script begins before the host's first
// start, and starts it itself unless it first prepares the store, the host's
// bars or its faults. Raises ScriptError for a line it cannot carry out.
// A line of the user's own work in the host's model: edit, select, scroll,
// wheel, freeze, repaint, select-object, activate-sheet, activate-workbook, print.
void UserCommand(const ScriptLine& line, sim::ExcelModel& model);
// A click on the add-in's ribbon group: click, toggle or menu.
void RibbonCommand(const ScriptLine& line, sim::RibbonModel& ribbon);

void Execute(const std::string& text, ScriptHost& host, std::ostream& out);

// The add-in's button a `click` names, as the window (see
// ExcelModel::BarsWindow) shows it: a tooltip on its toolbar "Rowtint", or
// ("menu:CAPTION" or a caption) an entry of its popup on the menu bar.
std::shared_ptr<sim::ControlNode> FindButton(const sim::CommandBarStore& bars, int window, const std::string& name);
// What `pick` answers the colour dialog: a colour, or nullopt for Cancel.
std::optional<platform::Color> ColorAnswer(const ScriptLine& line);
// The file `snapshot` writes, a PNG inside the output folder.
std::string SnapshotName(const ScriptLine& line);

// A `form` line: what the user does on the form that is shown.
struct FormAction {
  enum class Kind { Click, Move, Close } kind;
  std::string control;  // empty for the bare background; the name as written otherwise
};
FormAction ParseFormAction(const ScriptLine& line);

}  // namespace rowtint::script
