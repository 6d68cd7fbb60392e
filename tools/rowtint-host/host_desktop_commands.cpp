// The lines that bring other programs' windows onto the stand-in's screen:
// one the user brings to the front and leaves again, and one that lies over
// the grid without ever taking the focus.
#include "host_session.h"
#include "script_commands.h"

namespace rowtint::host {

void HostSession::DesktopCommand(const script::ScriptLine& line) {
  Model();
  const std::string& cmd = line.Command();
  if (cmd == "cover") {
    const platform::Rect rect = script::CoverRect(line, ScreenBounds());
    if (cover_) throw ScriptError("a cover is shown already");
    cover_ = OtherProgram::Start(OtherProgram::Mode::Cover, rect, script::kCoverFill);
    return;
  }
  line.ExpectArguments(0);
  if (cmd == "uncover") {
    if (!cover_) throw ScriptError("no cover is shown");
    cover_.reset();
  } else if (cmd == "away") {
    if (away_) throw ScriptError("the user is away already");
    away_ = OtherProgram::Start(OtherProgram::Mode::Away, script::kAwayWindow, script::kAwayFill);
  } else {
    if (!away_) throw ScriptError("the user is not away");
    // The user clicks the host's window: it comes to the front, its focus where it was.
    SetForegroundWindow(windows_->Main());
    SetFocus(windows_->FocusTarget());
    if (GetForegroundWindow() != windows_->Main()) throw ScriptError("the host's window did not come to the front");
    away_.reset();
  }
  PumpNow();
}

}  // namespace rowtint::host
