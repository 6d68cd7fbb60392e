// The lines that change the simulated screen: its size and resolution, and
// the other programs' windows on it.
#include "sim_session.h"

namespace rowtint::simcli {

void SimSession::ScreenCommand(const ScriptLine& line) {
  auto& host = Host();
  if (line.Command() == "screen") {
    line.ExpectArguments(2);
    const int width = static_cast<int>(line.Whole(1, kScreenLimits.left, kScreenLimits.right, "width"));
    const int height = static_cast<int>(line.Whole(2, kScreenLimits.top, kScreenLimits.bottom, "height"));
    // The host's window fills the screen: its grid keeps its distance from every edge.
    const auto& old = desktop_->Screen();
    const platform::Rect grid{gridRect_.left, gridRect_.top, width - (old.Width() - gridRect_.right),
                              height - (old.Height() - gridRect_.bottom)};
    if (grid.Empty()) throw ScriptError("'screen' leaves no room for the host's grid on a screen that small");
    gridRect_ = grid;
    host.ResizeScreen(width, height, grid);
  } else {
    line.ExpectArguments(1);
    host.SetDpi(static_cast<int>(line.Whole(1, 96, 480, "dots per inch")));
  }
}

void SimSession::DesktopCommand(const ScriptLine& line) {
  auto& host = Host();
  const std::string& cmd = line.Command();
  if (cmd == "cover") {
    const platform::Rect rect = script::CoverRect(line, desktop_->Screen().Bounds());
    if (host.IsCovered()) throw ScriptError("a cover is shown already");
    host.Cover(rect, script::kCoverFill);
    return;
  }
  line.ExpectArguments(0);
  if (cmd == "uncover") {
    if (!host.IsCovered()) throw ScriptError("no cover is shown");
    host.Uncover();
  } else if (cmd == "away") {
    if (host.IsAway()) throw ScriptError("the user is away already");
    host.Away(script::kAwayWindow, script::kAwayFill);
  } else {
    if (!host.IsAway()) throw ScriptError("the user is not away");
    host.Back();
  }
}

}  // namespace rowtint::simcli
