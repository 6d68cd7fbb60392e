// The lines that bring other programs' windows onto the stand-in's screen:
// one the user brings to the front and leaves again, and one that lies over
// the grid without ever taking the focus.
#include "host_session.h"

namespace rowtint::host {

void HostSession::Cover(const platform::Rect& rect) {
  cover_ = OtherProgram::Start(OtherProgram::Mode::Cover, rect, script::kCoverFill);
  PumpNow();
}

void HostSession::Uncover() {
  cover_.reset();
  PumpNow();
}

void HostSession::GoAway() {
  away_ = OtherProgram::Start(OtherProgram::Mode::Away, script::kAwayWindow, script::kAwayFill);
  PumpNow();
}

// The user clicks the host's window: it comes to the front, its focus where it was.
void HostSession::ComeBack() {
  SetForegroundWindow(windows_->Main());
  SetFocus(windows_->FocusTarget());
  if (GetForegroundWindow() != windows_->Main()) throw ScriptError("the host's window did not come to the front");
  away_.reset();
  PumpNow();
}

}  // namespace rowtint::host
