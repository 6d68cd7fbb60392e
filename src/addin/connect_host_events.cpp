// The host's Application events, each told to the band: a selection change
// restarts the timer and repaints, a resize erases and repaints, activation
// re-arms the column check, printing stops the timer.
#include "addin/connect.h"

namespace rowtint::addin {

void Connect::Note(const char* event) {
  auto& log = library_.Services().diagnostics;
  if (log.Enabled()) log.Write(std::string("event ") + event);
}

void Connect::SheetActivate(const std::shared_ptr<platform::host::Object>&) {
  Note("SheetActivate");
  band_.SheetActivated();
}

void Connect::WorkbookActivate(const std::shared_ptr<platform::host::Object>&) {
  Note("WorkbookActivate");
  band_.SheetActivated();
}

void Connect::SheetSelectionChange(const std::shared_ptr<platform::host::Object>&,
                                   const std::shared_ptr<platform::host::Range>&) {
  Note("SheetSelectionChange");
  band_.SelectionChanged();
}

void Connect::WindowResize(const std::shared_ptr<platform::host::Object>&,
                           const std::shared_ptr<platform::host::Object>&) {
  Note("WindowResize");
  band_.WindowResized();
}

void Connect::WorkbookBeforePrint(const std::shared_ptr<platform::host::Object>&, platform::VbBool&) {
  Note("WorkbookBeforePrint");
  band_.PrintStarting();
}

void Connect::WorkbookAddinUninstall(const std::shared_ptr<platform::host::Object>&) {}

}  // namespace rowtint::addin
