#include "engine/repaint_timer.h"

#include "engine/command_gate.h"
#include "engine/failure_styles.h"
#include "engine/highlight_state.h"
#include "engine/paint_row_band.h"
#include "engine/visible_columns.h"

namespace rowtint::engine {

void StartRepaintTimer(std::uint32_t intervalMs) {
  Os().SetTimer(Shared().ExcelMainWnd, kRepaintTimerId, intervalMs, &RepaintTimerCallback);
}

void StopRepaintTimer() { Os().KillTimer(Shared().ExcelMainWnd, kRepaintTimerId); }

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
    const VbBool wasOff = s.HighlightOff;
    s.HighlightOff = platform::kTrue;
    PaintRowBand();
    s.HighlightOff = wasOff;
  }
}

}  // namespace rowtint::engine
