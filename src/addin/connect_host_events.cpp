// The host's Application events: a selection change restarts the timer and
// repaints, a resize erases and repaints, activation re-arms the column
// check, printing stops the timer.
#include "addin/connect.h"
#include "engine/failure_styles.h"
#include "engine/visible_columns.h"

namespace rowtint::addin {
using namespace rowtint::engine;

void Connect::Note(const char* event) {
  auto& log = library_.Services().diagnostics;
  if (log.Enabled()) log.Write(std::string("event ") + event);
}

// Another sheet or workbook: the painter checks the active column again,
// and the ticks read the window now active.
void Connect::RearmColumnCheck() {
  band_.ForgetActiveWindow();
  auto& s = library_.State();
  s.ColumnCheckArmed = platform::kTrue;
  s.TickScrollColumn = s.SeenScrollColumn;
}

void Connect::SheetActivate(const std::shared_ptr<platform::host::Object>&) {
  Note("SheetActivate");
  RearmColumnCheck();
}

void Connect::WorkbookActivate(const std::shared_ptr<platform::host::Object>&) {
  Note("WorkbookActivate");
  RearmColumnCheck();
}

void Connect::SheetSelectionChange(const std::shared_ptr<platform::host::Object>&,
                                   const std::shared_ptr<platform::host::Range>&) {
  Note("SheetSelectionChange");
  auto& s = library_.State();
  if (IsTrue(s.HighlightOff)) return;
  SkipOnFailure([&] { band_.StartRepaintTimer(kSelectionIntervalMs); });

  const auto columns = ReadColumnsSkippingFailures(appHostApp.Get().get());
  // The view scrolled since the band was drawn: the band moved with its row,
  // away from the strip the painter would erase at the new active row. Or
  // the previously active column lies right of the view. Either way the old
  // band may be anywhere, so the whole grid is repainted.
  if (HoldsUnlessFailed([&] {
        const bool scrolled = s.PaintScrollRow != App().ActiveWindow()->ScrollRow();
        const bool rightOfView = lastSelColumn_ > columns.right;
        return scrolled || rightOfView;
      }))
    s.RedrawWholeGrid = platform::kTrue;
  lastSelColumn_ = columns.active;
  SkipOnFailure([&] { selScrollRow_ = App().ActiveWindow()->ScrollRow(); });
  band_.PaintRowBand();
}

void Connect::WindowResize(const std::shared_ptr<platform::host::Object>&,
                           const std::shared_ptr<platform::host::Object>&) {
  Note("WindowResize");
  band_.EraseResizedBand();
  band_.PaintRowBand();
}

void Connect::WorkbookBeforePrint(const std::shared_ptr<platform::host::Object>&, platform::VbBool&) {
  Note("WorkbookBeforePrint");
  band_.StopRepaintTimer();
}

void Connect::WorkbookAddinUninstall(const std::shared_ptr<platform::host::Object>&) {}

}  // namespace rowtint::addin
