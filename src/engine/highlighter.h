// The band's owner: one per loaded library, lent to each connection in
// turn. It holds what the user chose (BandChoices) and everything else about
// the band, privately: the painter, the repaint timer, the switch and
// presets, the resize eraser, start-up and the settings all run here. The
// connection's event handlers, its commands and the forms change the band
// only through the methods below.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "engine/band_bookkeeping.h"
#include "engine/band_choices.h"
#include "engine/band_snapshot.h"
#include "engine/band_surfaces.h"
#include "engine/history_swatches.h"
#include "engine/services.h"
#include "platform/command_bars.h"
#include "platform/host.h"

namespace rowtint::engine {

inline constexpr std::uintptr_t kRepaintTimerId = 0;
inline constexpr std::uint32_t kStartupIntervalMs = 200;
inline constexpr std::uint32_t kSelectionIntervalMs = 300;

class Highlighter final : private platform::TimerCallback,
                          private platform::GridListener,
                          private platform::PostedCallback {
 public:
  explicit Highlighter(const Services& services, const BandChoices& choices = {}) : os_(services), choices_(choices) {}
  // No tick, grid message or posted message may reach a band owner that is gone.
  ~Highlighter();
  Highlighter(const Highlighter&) = delete;
  Highlighter& operator=(const Highlighter&) = delete;

  const Services& Os() const { return os_; }
  const BandChoices& Choices() const { return choices_; }
  // A copy of the band's state, for a host that prints it.
  BandSnapshot Snapshot() const;

  // A connection takes the band with Excel's Application and gets its
  // number; the band then works with that Application. A connection that
  // was not let go is let go first.
  std::uint64_t Attach(std::shared_ptr<platform::host::Application> app);
  // The connection lets go: the Application, the host objects the ticks
  // keep, the timer's window and the watch on the grids all go. A number
  // other than the current connection's touches nothing: an old connection
  // object released after a new one connected leaves the new one alone.
  void Detach(std::uint64_t connection);
  bool Holds(std::uint64_t connection) const { return app_ && connection == connection_; }
  // The connection's own object given another Application (or none).
  void ReplaceApplication(std::uint64_t connection, std::shared_ptr<platform::host::Application> app);
  const std::shared_ptr<platform::host::Application>& Application() const { return app_; }
  // The Application, or a raised "object not set" while no connection holds the band.
  platform::host::Application& App();

  // The main window the user works in (see FindMainWindow), 0 when there is none.
  platform::WindowHandle MainWindow();

  // What the connection hears from Excel.
  // The selection moved: the timer restarts and the band follows, over an
  // erase as wide as what may have moved since the last band.
  void SelectionChanged();
  // Another sheet or workbook came to the front.
  void SheetActivated();
  void WindowResized();
  void PrintStarting() { StopRepaintTimer(); }

  // What the user does: the switch, the presets, a history entry, the options form.
  void ToggleHighlight();
  void ApplyWoberColor();
  void ApplyWarmColor();
  // As the presets do: the band takes the colour and is switched on; the text mode stays.
  void ApplyColor(Color color);
  // The options form's OK: its colour, text mode and way across, and the band switched on.
  void ConfirmOptions(Color color, std::int32_t ropMode, Across across);
  // The ribbon's "Across" menu: the band runs that way from now on, in the place it stands.
  void ChooseAcross(Across across);
  // The options form unloads: its history swatches as they stand become the history.
  void KeepHistory(const std::array<Color, 3>& history) { choices_.history = history; }

  // Erases the previous band and draws the new one across the active cell's
  // row. Never reports a failure: the first one ends the run quietly.
  void PaintRowBand() { Paint(false); }
  // The painter in erase-only mode, whatever the switch says.
  void EraseRowBand() { Paint(true); }
  // Invalidates the active row's strip across the grid window; failures are skipped step by step.
  void EraseResizedBand();

  // The repaint timer: owned by a window of the add-in's own, identifier
  // 0, so that no workbook's closing ends it. A start replaces a running timer.
  void StartRepaintTimer(std::uint32_t intervalMs);
  void StopRepaintTimer();
  bool RepaintTimerRunning() const { return timer_.has_value(); }
  // One tick's work: notices scrolling (which raises no selection event)
  // and a selection that is not cells, and repaints or erases the band.
  void RepaintTimerProc();

  // Watches a grid window's own messages from now until the connection
  // lets go (or the window goes): Excel's scrolls and repaints reach the
  // band within the message that caused them, rather than at the next tick.
  void WatchGrid(WindowHandle grid);
  bool Watching(WindowHandle grid) const;

  // Commands and ticks act only while the host enables the second control of
  // its "File" command bar. Raises when the host cannot answer.
  bool CommandGateOpen();
  // Told what each tick reads of the command gate, which no event announces,
  // until the connection lets go.
  void WatchGate(std::function<void(bool open)> watcher) { gateWatcher_ = std::move(watcher); }

  // The surfaces the band is drawn on, and what the checks on the screen found.
  const BandSurfaces& Surfaces() const { return surfaces_; }
  // The diagnostics log's first line of a connection: the add-in, Windows,
  // Excel's version and build, the monitors, the surface chosen.
  void NoteConnection();

  // Resets the flags, switches the band on, loads the colour and, through
  // the swatches, the history, finds the main window and starts the timer.
  // The swatches are asked for once the colour is loaded. No failure is
  // tolerated: the first ends it and goes back to the caller.
  void InitAddinState(const std::function<HistorySwatches&()>& swatches);
  // Moves the colour to the front of the history, then writes the four
  // values in their order. The first failing write ends it.
  void MoveCurrentColorToHistoryFront();
  void SaveColorSettings();

 private:
  // `aMove`: run for a move of the selection, which may keep what of the band it leaves as it was.
  void Paint(bool eraseOnly, bool aMove = false);
  void OnTimer() override;
  void OnGridMessage(WindowHandle grid, platform::GridMessage message) override;
  void OnGridPainted(WindowHandle grid, const std::vector<Rect>& area) override;
  void OnGridDestroyed(WindowHandle grid) override;
  // The message the grid's watcher posted: follows a scroll, or else draws
  // the band again where Excel's repaints took it.
  void OnPosted() override;
  // Draws the band on the screen again, clipped to `area` (client coordinates of its window).
  void RedrawBand(const std::vector<Rect>& area);
  // The grid's main window moved: a band on overlays goes where the grid went.
  void FollowMove();
  // Writes the gate's reading to the diagnostics log when it changed, with
  // what tells whether Excel itself holds its commands back.
  void NoteGate(bool open);
  // EditingCell for the tick, asking the focus window's class only when the focus moved.
  bool TickFindsEditing();
  // The active window, kept while the focus stays in the same window.
  std::shared_ptr<platform::host::Window> TickWindow();
  // What a connection had of its own goes with it.
  void LetGoOfConnection();

  // The running timer as the windowing system knows it: without an owner
  // window the system hands out the identifier, which must be kept to stop it.
  struct TimerKey {
    WindowHandle owner = 0;
    std::uintptr_t id = 0;
  };

  Services os_;
  BandChoices choices_;
  BandBookkeeping kept_;
  LastPaint lastPaint_;
  BandSurfaces surfaces_{os_};

  // The connection that holds the band, and its Application.
  std::shared_ptr<platform::host::Application> app_;
  std::uint64_t connection_ = 0;

  // Everything below belongs to one connection and goes when it lets go.
  std::optional<TimerKey> timer_;
  platform::WindowHandle timerWindow_ = 0;
  // What the selection handler remembers between selection changes.
  std::int32_t selScrollRow_ = 0;
  std::int32_t lastSelColumn_ = 0;
  // A tick or paint found a cell being edited: the band is drawn again once the edit ends.
  bool editingSeen_ = false;
  // What ticks keep between them, so that a tick with nothing scrolled reads
  // little more than the scroll: the gate's control for as long as it
  // answers; the focus window and whether it is an edit box, for as long
  // as the focus stays there; the active window until the focus moves or
  // another workbook or sheet is activated (each of Excel's windows has a
  // grid of its own, so going to another window moves the focus).
  struct TickCache {
    std::shared_ptr<platform::CommandBarControl> gate;
    WindowHandle focus = 0;
    bool focusEdits = false;
    std::shared_ptr<platform::host::Window> window;
  };
  TickCache tickCache_;
  std::function<void(bool open)> gateWatcher_;
  // The gate as the diagnostics log last told of it.
  std::optional<bool> gateNoted_;
  std::vector<WindowHandle> watched_;
  // Between a watched grid's message and the posted one that acts on it.
  bool wakePosted_ = false;
  bool sizedPending_ = false;
  bool movedPending_ = false;
  // What Excel repainted of the band since the last posted message, client coordinates.
  std::vector<Rect> repainted_;
  // The scroll the painter or the posted message last found: a run that
  // ends before it notes its scroll is not started again by its own repaints.
  std::optional<std::pair<std::int32_t, std::int32_t>> wakeScroll_;

  // The painter is running: the repaints it asks for are its own.
  bool painting_ = false;
  // Runs of the painter so far, so that a tick knows whether it painted.
  std::uint64_t paints_ = 0;
};

}  // namespace rowtint::engine
