// The repaint timer and its tick.
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

void Highlighter::OnTimer() { RepaintTimerProc(); }

void Highlighter::RepaintTimerProc() {
  auto& s = state_;
  // While a cell is edited Excel refuses every object-model call: the tick
  // makes none, and leaves the band to the first tick after the edit.
  if (EditingCell(os_.windows)) {
    editingSeen_ = true;
    return;
  }

  // The gate is read before failures are suppressed. A host that cannot
  // answer it ends the tick here; the timer keeps running.
  bool gateAnswered = false;
  AbandonQuietly([&] {
    const bool open = CommandGateOpen();
    gateAnswered = true;
    if (!open) StopRepaintTimer();
  });
  if (!gateAnswered) return;
  // Editing covered the band over the edited cell with the edit box, and
  // ending it repainted the cell bare.
  if (std::exchange(editingSeen_, false) && timer_) PaintRowBand();

  const auto columns = ReadColumnsSkippingFailures(s.HostApp.get());
  SkipOnFailure([&] { s.SeenScrollColumn = App().ActiveWindow()->ScrollColumn(); });

  if (HoldsUnlessFailed([&] { return App().Selection()->TypeName() == "Range"; })) {
    if (HoldsUnlessFailed([&] { return s.TickScrollColumn != s.SeenScrollColumn; })) PaintRowBand();
    if (HoldsUnlessFailed([&] {
          // All three operands are read, as the host language's And does.
          const bool scrolled = s.TickScrollRow != App().ActiveWindow()->ScrollRow();
          const bool fromLeft = columns.left <= columns.active;
          const bool beforeRight = columns.active < columns.right;
          return scrolled && fromLeft && beforeRight;
        }))
      PaintRowBand();
    SkipOnFailure([&] { s.TickScrollRow = App().ActiveWindow()->ScrollRow(); });
    SkipOnFailure([&] { s.TickScrollColumn = App().ActiveWindow()->ScrollColumn(); });
  } else {
    // A shape or chart is selected: erase only, and keep the switch as it was.
    EraseRowBand();
  }
}

}  // namespace rowtint::engine
