// The host's Application events: a selection change restarts the timer and
// repaints, a resize erases and repaints, activation re-arms the column
// check, printing stops the timer.
#include "addin/connect.h"
#include "engine/band_commands.h"
#include "engine/failure_styles.h"
#include "engine/highlight_state.h"
#include "engine/paint_row_band.h"
#include "engine/repaint_timer.h"
#include "engine/visible_columns.h"

namespace rowtint::addin {
using namespace rowtint::engine;

void Connect::appHostApp_SheetActivate() {
  Shared().ColumnCheckArmed = platform::kTrue;
  Shared().TickScrollColumn = Shared().SeenScrollColumn;
}

void Connect::appHostApp_WorkbookActivate() { appHostApp_SheetActivate(); }

void Connect::appHostApp_SheetSelectionChange() {
  auto& s = Shared();
  if (IsTrue(s.HighlightOff)) return;
  SkipOnFailure([] { StartRepaintTimer(kSelectionIntervalMs); });

  const auto columns = ReadColumnsSkippingFailures(appHostApp.Get().get());
  // The view scrolled since the band was drawn: the band moved with its row,
  // away from the strip the painter would erase at the new active row. Or
  // the previously active column lies right of the view. Either way the old
  // band may be anywhere, so the whole grid is repainted.
  if (HoldsUnlessFailed([&] {
        const bool scrolled = s.PaintScrollRow != App().ActiveWindow()->ScrollRow();
        const bool rightOfView = LastSelColumn_ > columns.right;
        return scrolled || rightOfView;
      }))
    s.RedrawWholeGrid = platform::kTrue;
  LastSelColumn_ = columns.active;
  SkipOnFailure([&] { SelScrollRow_ = App().ActiveWindow()->ScrollRow(); });
  PaintRowBand();
}

void Connect::appHostApp_WindowResize() {
  EraseResizedBand();
  PaintRowBand();
}

void Connect::appHostApp_WorkbookBeforePrint() { StopRepaintTimer(); }

void Connect::appHostApp_WorkbookAddinUninstall() {}

// The arguments are held for the length of the call and not consulted: the
// handlers read what they need from the host again.
void Connect::SheetActivate(const std::shared_ptr<platform::host::Object>&) { appHostApp_SheetActivate(); }
void Connect::SheetSelectionChange(const std::shared_ptr<platform::host::Object>&,
                                   const std::shared_ptr<platform::host::Range>&) {
  appHostApp_SheetSelectionChange();
}
void Connect::WindowResize(const std::shared_ptr<platform::host::Object>&,
                           const std::shared_ptr<platform::host::Object>&) {
  appHostApp_WindowResize();
}
void Connect::WorkbookActivate(const std::shared_ptr<platform::host::Object>&) { appHostApp_WorkbookActivate(); }
void Connect::WorkbookBeforePrint(const std::shared_ptr<platform::host::Object>&, platform::VbBool&) {
  appHostApp_WorkbookBeforePrint();
}
void Connect::WorkbookAddinUninstall(const std::shared_ptr<platform::host::Object>&) {
  appHostApp_WorkbookAddinUninstall();
}

}  // namespace rowtint::addin
