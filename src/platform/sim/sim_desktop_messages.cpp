// The simulated desktop's messages between windows: subclassed windows that
// tell their watcher of their messages and paints, and messages posted to a
// window, dispatched when the script's line is done, as a message loop does.
#include "platform/rect_difference.h"
#include "platform/sim/sim_desktop.h"

namespace rowtint::sim {
namespace {
// Whether anything of `area` is left once the windows lying above take their parts.
bool ShowsThrough(const Rect& area, const std::vector<Rect>& above) {
  std::vector<Rect> left{area};
  for (const Rect& hole : above) {
    std::vector<Rect> next;
    for (const Rect& piece : left) platform::SubtractRect(piece, hole, next);
    left = std::move(next);
  }
  return !left.empty();
}
}  // namespace

bool SimDesktop::SubclassWindow(WindowHandle hwnd, platform::GridListener& listener) {
  ++calls_;
  const Window* w = Find(hwnd);
  if (!w || w->program != Program::Host) return false;
  subclasses_[hwnd] = &listener;
  return true;
}

bool SimDesktop::RemoveSubclass(WindowHandle hwnd) {
  ++calls_;
  return subclasses_.erase(hwnd) != 0;
}

bool SimDesktop::PostToWindow(WindowHandle own, platform::PostedCallback& callback) {
  ++calls_;
  const Window* w = Find(own);
  if (!w || w->parent != kMessageParent) return false;
  posted_.emplace_back(own, &callback);
  return true;
}

void SimDesktop::SendWindowMessage(WindowHandle hwnd, platform::GridMessage message,
                                   const std::function<void()>& handle) {
  handle();
  if (gridMessagesOff) return;
  if (const auto sub = subclasses_.find(hwnd); sub != subclasses_.end()) sub->second->OnGridMessage(hwnd, message);
}

void SimDesktop::TellPainted(const Rect& area) {
  if (area.Empty() || subclasses_.empty() || gridMessagesOff) return;
  // Copied: a listener may end its own subclass.
  const auto watched = subclasses_;
  for (const auto& [hwnd, listener] : watched) {
    if (!subclasses_.count(hwnd)) continue;
    const Rect bounds = WindowRect(hwnd);
    const Rect painted = Intersect(area, bounds);
    // A window hidden there under another top-level window gets no paint
    // message for it: its pixels were not what was painted.
    if (painted.Empty() || !ShowsThrough(painted, WindowsAbove(RootOf(hwnd)))) continue;
    listener->OnGridPainted(hwnd, {{painted.left - bounds.left, painted.top - bounds.top, painted.right - bounds.left,
                                    painted.bottom - bounds.top}});
    listener->OnGridMessage(hwnd, platform::GridMessage::Painted);
  }
}

void SimDesktop::DrainMessages() {
  // A watcher whose every paint posts a message that paints again would keep
  // a real message loop busy for good: here it ends, and the host says so.
  constexpr int kRounds = 100;
  for (int round = 0; !posted_.empty() || !pending_.empty(); ++round) {
    if (round == kRounds) {
      RecordHostError("the message queue never ran empty");
      posted_.clear();
      pending_.clear();
      return;
    }
    while (!posted_.empty()) {
      platform::PostedCallback* const callback = posted_.front().second;
      posted_.erase(posted_.begin());
      callback->OnPosted();
    }
    FlushRepaints();
  }
}

}  // namespace rowtint::sim
