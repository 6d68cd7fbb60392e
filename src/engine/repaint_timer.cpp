// The repaint timer and its tick.
#include <memory>
#include <optional>
#include <utility>

#include "engine/excel_windows.h"
#include "engine/failure_styles.h"
#include "engine/highlighter.h"
#include "engine/visible_columns.h"

namespace rowtint::engine {

void Highlighter::StartRepaintTimer(std::uint32_t intervalMs) {
  if (!timerWindow_) timerWindow_ = os_.timers.CreateMessageWindow();
  const WindowHandle owner = timerWindow_;
  // A timer started under another owner (none, before the main window was
  // found) would not be replaced by this start: stop it, so one timer runs.
  if (timer_ && timer_->owner != owner) StopRepaintTimer();
  const std::uintptr_t requested = owner || !timer_ ? kRepaintTimerId : timer_->id;
  const std::uintptr_t granted = os_.timers.SetTimer(owner, requested, intervalMs, *this);
  if (granted != 0) timer_ = TimerKey{owner, owner ? kRepaintTimerId : granted};
}

void Highlighter::StopRepaintTimer() {
  const auto key = timer_.value_or(TimerKey{timerWindow_, kRepaintTimerId});
  os_.timers.KillTimer(key.owner, key.id);
  timer_.reset();
}

// A tick already queued when its timer was stopped still comes: it is not the band's any more.
void Highlighter::OnTimer() {
  if (timer_) RepaintTimerProc();
}

bool Highlighter::TickFindsEditing() {
  auto& kept = tickCache_;
  const WindowHandle focus = os_.windows.GetFocus();
  if (focus != kept.focus || !focus) {
    kept = TickCache{std::move(kept.gate), focus, false, nullptr};
    if (focus) kept.focusEdits = EditingCell(os_.windows);
  }
  return kept.focusEdits;
}

std::shared_ptr<platform::host::Window> Highlighter::TickWindow() {
  auto& kept = tickCache_;
  if (kept.window) return kept.window;
  auto window = App().ActiveWindow();
  // Without a focus window nothing says the active window is still the same.
  if (kept.focus) kept.window = window;
  return window;
}

void Highlighter::RepaintTimerProc() {
  auto& s = kept_;
  // While a cell is edited Excel refuses every object-model call: the tick
  // makes none, and leaves the band to the first tick after the edit.
  if (TickFindsEditing()) {
    editingSeen_ = true;
    return;
  }

  // The gate is read before failures are suppressed. A host that cannot
  // answer it ends the tick here; the timer keeps running.
  bool gateAnswered = false;
  AbandonQuietly([&] {
    const bool open = CommandGateOpen();
    gateAnswered = true;
    if (gateWatcher_) gateWatcher_(open);
    if (!open) StopRepaintTimer();
  });
  if (!gateAnswered) return;
  // Editing covered the band over the edited cell with the edit box, and
  // ending it repainted the cell bare.
  if (std::exchange(editingSeen_, false) && timer_) PaintRowBand();

  // The scroll position is read once a tick; a window that cannot answer is
  // not kept.
  const std::uint64_t paintsBefore = paints_;
  std::shared_ptr<platform::host::Window> window;
  std::optional<std::int32_t> row;
  std::optional<std::int32_t> column;
  SkipOnFailure([&] { window = TickWindow(); });
  SkipOnFailure([&] { column = platform::Required(window).ScrollColumn(); });
  if (!column) tickCache_.window.reset();
  if (column) s.seenScrollColumn = *column;

  if (HoldsUnlessFailed([&] { return App().Selection()->TypeName() == "Range"; })) {
    if (HoldsUnlessFailed([&] { return s.tickScrollColumn != s.seenScrollColumn; })) PaintRowBand();
    if (HoldsUnlessFailed([&] {
          row = platform::Required(window).ScrollRow();
          if (s.tickScrollRow == *row) return false;
          // A vertical scroll repaints only while the active cell's column is in view.
          const auto columns = ReadColumnsSkippingFailures(app_.get());
          return columns.left <= columns.active && columns.active < columns.right;
        }))
      PaintRowBand();
    if (row) s.tickScrollRow = *row;
    if (column) s.tickScrollColumn = *column;
  } else {
    // A shape or chart is selected: erase only, and keep the switch as it was.
    EraseRowBand();
  }
  // A band this tick left where it was may be looked for on the screen; one
  // the screen failed to show twice in a row is drawn on the overlay now.
  if (paints_ == paintsBefore && surfaces_.TickDue() && surfaces_.Check()) PaintRowBand();
}

}  // namespace rowtint::engine
