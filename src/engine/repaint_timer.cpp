#include "engine/repaint_timer.h"

#include "engine/command_gate.h"
#include "engine/failure_styles.h"
#include "engine/highlight_state.h"
#include "engine/platform_services.h"
#include "engine/paint_row_band.h"
#include "engine/visible_columns.h"

namespace rowtint::engine {

void StartRepaintTimer(std::uint32_t intervalMs) {
  auto& s = Shared();
  const WindowHandle owner = s.ExcelMainWnd;
  // A timer started under another owner (none, before the main window was
  // found) would not be replaced by this start: stop it, so one timer runs.
  if (s.RepaintTimer && s.RepaintTimer->owner != owner) StopRepaintTimer();
  const std::uintptr_t requested = owner || !s.RepaintTimer ? kRepaintTimerId : s.RepaintTimer->id;
  const std::uintptr_t granted = Os().SetTimer(owner, requested, intervalMs, &RepaintTimerCallback);
  if (granted != 0) s.RepaintTimer = HighlightState::TimerKey{owner, owner ? kRepaintTimerId : granted};
}

void StopRepaintTimer() {
  auto& s = Shared();
  const auto key = s.RepaintTimer.value_or(HighlightState::TimerKey{s.ExcelMainWnd, kRepaintTimerId});
  Os().KillTimer(key.owner, key.id);
  s.RepaintTimer.reset();
}

void RepaintTimerCallback(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
  ContainAtBoundary([] { RepaintTimerProc(); });
}

void RepaintTimerProc() {
  auto& s = Shared();

  // The gate is read before failures are suppressed. A host that cannot
  // answer it ends the tick here; the timer keeps running.
  bool gateAnswered = false;
  AbandonQuietly([&] {
    const bool open = CommandGateOpen(HostApplication());
    gateAnswered = true;
    if (!open) StopRepaintTimer();
  });
  if (!gateAnswered) return;

  const auto columns = ReadColumnsSkippingFailures(s.HostApp.get());
  SkipOnFailure([&] { s.SeenScrollColumn = HostApplication().ActiveWindow()->ScrollColumn(); });

  if (HoldsUnlessFailed([&] { return HostApplication().Selection()->TypeName() == "Range"; })) {
    if (HoldsUnlessFailed([&] { return s.TickScrollColumn != s.SeenScrollColumn; })) PaintRowBand();
    if (HoldsUnlessFailed([&] {
          // All three operands are read, as the host language's And does.
          const bool scrolled = s.TickScrollRow != HostApplication().ActiveWindow()->ScrollRow();
          const bool fromLeft = columns.left <= columns.active;
          const bool beforeRight = columns.active < columns.right;
          return scrolled && fromLeft && beforeRight;
        }))
      PaintRowBand();
    SkipOnFailure([&] { s.TickScrollRow = HostApplication().ActiveWindow()->ScrollRow(); });
    SkipOnFailure([&] { s.TickScrollColumn = HostApplication().ActiveWindow()->ScrollColumn(); });
  } else {
    // A shape or chart is selected: erase only, and keep the switch as it was.
    EraseRowBand();
  }
}

}  // namespace rowtint::engine
