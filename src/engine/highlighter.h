// The band's owner: one per connection, over the library's shared highlight
// state and the services it uses. The painter, the repaint timer, the switch
// and presets, the resize eraser, start-up and the settings all run here;
// the connection's event handlers, its commands and the forms reach the band
// through it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "engine/band_on_screen.h"
#include "engine/highlight_state.h"
#include "engine/history_swatches.h"
#include "engine/services.h"
#include "platform/command_bars.h"

namespace rowtint::engine {

inline constexpr std::uintptr_t kRepaintTimerId = 0;
inline constexpr std::uint32_t kStartupIntervalMs = 200;
inline constexpr std::uint32_t kSelectionIntervalMs = 300;

class Highlighter final : private platform::TimerCallback,
                          private platform::GridListener,
                          private platform::PostedCallback {
 public:
  Highlighter(HighlightState& state, const Services& services) : state_(state), os_(services) {}
  // No tick may reach a band owner that is gone.
  ~Highlighter();
  Highlighter(const Highlighter&) = delete;
  Highlighter& operator=(const Highlighter&) = delete;

  HighlightState& State() { return state_; }
  const Services& Os() const { return os_; }
  // HostApp, or a raised "object not set" while the add-in is not connected.
  platform::host::Application& App();

  // The main window the user works in (see FindMainWindow), 0 when there is none.
  platform::WindowHandle MainWindow();

  // Erases the previous band and draws the new one across the active cell's
  // row. Never reports a failure: the first one ends the run quietly.
  void PaintRowBand();
  // The painter in erase-only mode: switched off for the one run, then back as it was.
  void EraseRowBand();
  // Invalidates the active row's strip across the grid window; failures are skipped step by step.
  void EraseResizedBand();

  void ToggleHighlight();
  void ApplyWoberColor();
  void ApplyWarmColor();
  // As the presets do: the band takes the colour and is switched on; the text mode stays.
  void ApplyColor(Color color);

  // The repaint timer: owned by a window of the add-in's own, identifier
  // 0, so that no workbook's closing ends it. A start replaces a running timer.
  void StartRepaintTimer(std::uint32_t intervalMs);
  void StopRepaintTimer();
  bool RepaintTimerRunning() const { return timer_.has_value(); }
  // One tick's work: notices scrolling (which raises no selection event)
  // and a selection that is not cells, and repaints or erases the band.
  void RepaintTimerProc();

  // Watches a grid window's own messages from now until the band owner goes
  // (or the window does): Excel's scrolls and repaints reach the band
  // within the message that caused them, rather than at the next tick.
  void WatchGrid(WindowHandle grid);
  bool Watching(WindowHandle grid) const;

  // Commands and ticks act only while the host enables the second control of
  // its "File" command bar. Raises when the host cannot answer.
  bool CommandGateOpen();
  // Told what each tick reads of the command gate, which no event announces.
  void WatchGate(std::function<void(bool open)> watcher) { gateWatcher_ = std::move(watcher); }
  // Lets go of the host's objects the ticks keep: none may outlive the connection.
  void ForgetHostObjects() { tickCache_ = {}; }
  // Another workbook or sheet came to the front: the next tick asks for the active window.
  void ForgetActiveWindow() { tickCache_.window.reset(); }

  // Resets the flags, switches the band on, loads the colour and, through
  // the swatches, the history, finds the main window and starts the timer.
  // The swatches are asked for once the colour is loaded. No failure is
  // tolerated: the first ends it and goes back to the caller.
  void InitAddinState(const std::function<HistorySwatches&()>& swatches);
  // Moves HighlightColor to the front of the history, then writes the four
  // values in their order. The first failing write ends it.
  void MoveCurrentColorToHistoryFront();
  void SaveColorSettings();

 private:
  void OnTimer() override;
  void OnGridMessage(WindowHandle grid, platform::GridMessage message) override;
  void OnGridPainted(WindowHandle grid, const std::vector<Rect>& area) override;
  void OnGridDestroyed(WindowHandle grid) override;
  // The message the grid's watcher posted: follows a scroll, or else draws
  // the band again where Excel's repaints took it.
  void OnPosted() override;
  // Draws the band on the screen again, clipped to `area` (client coordinates of its window).
  void RedrawBand(const std::vector<Rect>& area);
  // EditingCell for the tick, asking the focus window's class only when the focus moved.
  bool TickFindsEditing();
  // The active window, kept while the focus stays in the same window.
  std::shared_ptr<platform::host::Window> TickWindow();

  // The running timer as the windowing system knows it: without an owner
  // window the system hands out the identifier, which must be kept to stop it.
  struct TimerKey {
    WindowHandle owner = 0;
    std::uintptr_t id = 0;
  };

  HighlightState& state_;
  Services os_;
  std::optional<TimerKey> timer_;
  platform::WindowHandle timerWindow_ = 0;
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

  BandOnScreen onScreen_;
  // The painter is running: the repaints it asks for are its own.
  bool painting_ = false;
  std::vector<WindowHandle> watched_;
  // Between a watched grid's message and the posted one that acts on it.
  bool wakePosted_ = false;
  bool sizedPending_ = false;
  // What Excel repainted of the band since the last posted message, client coordinates.
  std::vector<Rect> repainted_;
  // The scroll the painter or the posted message last found: a run that
  // ends before it notes its scroll is not started again by its own repaints.
  std::optional<std::pair<std::int32_t, std::int32_t>> wakeScroll_;
};

}  // namespace rowtint::engine
