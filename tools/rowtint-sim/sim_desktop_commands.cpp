// The simulated screen's size: each of the host's windows is as large as
// it, and each grid keeps its distance from every edge.
#include "sim_session.h"

namespace rowtint::simcli {

void SimSession::SetScreen(const script::ScreenSize& size) {
  auto& host = Host();
  const auto& old = desktop_->Screen();
  const platform::Rect grid{gridRect_.left, gridRect_.top, size.width - (old.Width() - gridRect_.right),
                            size.height - (old.Height() - gridRect_.bottom)};
  if (grid.Empty() || !host.ResizeScreen(size.width, size.height))
    throw ScriptError("'screen' leaves no room for the host's grid on a screen that small");
  gridRect_ = grid;
}

}  // namespace rowtint::simcli
