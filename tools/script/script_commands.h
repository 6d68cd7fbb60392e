// The script commands of rowtint-sim and rowtint-host, and the one place
// that carries them out: what acts on the host's model (the sheet, the
// user's actions, the command bars, the ribbon) is done here for both, and
// the checks of the host's state that every host makes alike. What each
// program does in its own way (starting the host, loading the add-in, the
// forms, the other programs' windows, the output) it does behind ScriptHost,
// one small verb each.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/sim/excel_model.h"
#include "platform/sim/ribbon_model.h"
#include "script_command.h"
#include "script_line.h"

namespace rowtint::script {

// The other program's window `away` brings to the front: small, in a corner
// clear of the grid, so that the grid's pixels stay comparable.
inline constexpr platform::Rect kAwayWindow{0, 770, 160, 800};
inline constexpr sim::Pixel kAwayFill = 0x404040;
// What a `cover` window is filled with: magenta, which nothing else draws.
inline constexpr sim::Pixel kCoverFill = 0xFF00FF;

// A program that plays scripts: the host it runs and the verbs it carries out itself.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // Whether the host has been started in this run.
  virtual bool Started() const = 0;
  // The host's life: a start ends a host still running without telling the add-in.
  virtual void Start() = 0;
  virtual void Shutdown() = 0;
  // The add-in's connection: whether one is connected, and whether an old
  // connection object is kept alive after its disconnection.
  virtual bool Loaded() const = 0;
  virtual bool Kept() const = 0;
  // Connects a new connection object to the running host; an object kept
  // from an earlier connection is let go once the new one's OnConnection has returned.
  virtual void Load() = 0;
  // Disconnects the add-in; with `keep` the connection object stays alive until Release.
  virtual void Unload(bool keep) = 0;
  virtual void Release() = 0;

  // The running host's model; raises ScriptError when no host runs.
  virtual sim::ExcelModel& Model() = 0;
  // The host's command bars, which outlive its runs.
  virtual sim::CommandBarStore& Bars() = 0;
  // The add-in's ribbon group as the host shows it (loaded or not).
  virtual sim::RibbonModel& Ribbon() = 0;
  // The screen, inside which the grid and other programs' windows must lie.
  virtual platform::Rect ScreenBounds() = 0;
  // The grid window's place, for this run and the host's next start.
  virtual void KeepGrid(const platform::Rect& grid) = 0;
  // What keeps the host's windows from input: the colour dialog, or the form shown by its name.
  virtual bool ColorDialogShown() = 0;
  virtual std::optional<std::string> ShownForm() = 0;
  // A failure the add-in handed back to the host, for `state`'s errors.
  virtual void RecordError(const std::string& what) = 0;

  // Before the host starts, or later.
  virtual void PutSetting(const Setting& setting) = 0;
  // The user's choice of the band's surface in the add-in's own key (the
  // value Surface), which the add-in reads when it next connects.
  virtual void PutSurface(const std::string& choice) = 0;
  // How Excel gets its grids onto the screen, from now on and at the host's next starts.
  virtual void SetRenderer(Renderer renderer) = 0;
  // The user drags the active workbook's main window by (dx, dy), its grid with it.
  virtual void MoveMainWindow(int dx, int dy) = 0;
  virtual void SetFaults(const Faults& faults) = 0;
  // The screen's size and resolution.
  virtual void SetScreen(const ScreenSize& size) = 0;
  virtual void SetDpi(int dpi) = 0;
  // Another program's window in front, or lying over the screen.
  virtual bool Away() = 0;
  virtual void GoAway() = 0;
  virtual void ComeBack() = 0;
  virtual bool Covered() = 0;
  virtual void Cover(const platform::Rect& rect) = 0;
  virtual void Uncover() = 0;
  // The colour dialog that is shown, or else the next one, is answered so.
  virtual void Pick(std::optional<platform::Color> answer) = 0;
  // The user works the form that is shown (one is, and no colour dialog).
  virtual void WorkForm(const FormAction& action) = 0;
  // The context the host's thread calls the add-in in: system aware, as
  // Office's is, or per-monitor aware. Set before the host's first start.
  virtual void SetThreadDpi(bool systemAware) = 0;
  // The add-in's timer fires once; while a timer message is held, the held
  // message is dispatched instead, and nothing else.
  virtual void Tick() = 0;
  // The add-in's next timer message is taken from the queue and held, as a
  // message loop may hold one it has retrieved already; whether one is held
  // (a hold that found no message due holds nothing, and counts).
  virtual void HoldTick() = 0;
  virtual bool TickHeld() = 0;
  // paint, switch, wober, warm: the engine called directly.
  virtual void CallEngine(const Command& command) = 0;
  // Output: the host lets what is pending land first.
  virtual void Settle() = 0;
  virtual void WriteSnapshot(const std::string& file) = 0;
  virtual std::string StateJson() = 0;
};

// Carries out one line of a script. A script begins before the host's first
// start, and starts it itself unless it first prepares the store, the host's
// bars or its faults. Raises ScriptError for a line it cannot carry out,
// having changed nothing when the line itself was wrong.
void Execute(const std::string& text, ScriptHost& host, std::ostream& out);

// A line of the user's own work in the host's model: edit, select, scroll,
// wheel, freeze, repaint, select-object, activate-sheet, activate-workbook, print.
void UserCommand(const Command& command, sim::ExcelModel& model);
// A click on the add-in's ribbon group: click, toggle or menu.
void RibbonCommand(const RibbonAction& action, sim::RibbonModel& ribbon);

// The add-in's button a `click` names, as the window (see
// ExcelModel::BarsWindow) shows it: a tooltip on its toolbar "Rowtint", or
// ("menu:CAPTION" or a caption) an entry of its popup on the menu bar.
std::shared_ptr<sim::ControlNode> FindButton(const sim::CommandBarStore& bars, int window, const std::string& name);

}  // namespace rowtint::script
