// The simulated screen's size: the host's window fills it, and its grid
// keeps its distance from every edge.
#include "sim_session.h"

namespace rowtint::simcli {

void SimSession::SetScreen(const script::ScreenSize& size) {
  auto& host = Host();
  const auto& old = desktop_->Screen();
  const platform::Rect grid{gridRect_.left, gridRect_.top, size.width - (old.Width() - gridRect_.right),
                            size.height - (old.Height() - gridRect_.bottom)};
  if (grid.Empty()) throw ScriptError("'screen' leaves no room for the host's grid on a screen that small");
  gridRect_ = grid;
  host.ResizeScreen(size.width, size.height, grid);
}

}  // namespace rowtint::simcli
