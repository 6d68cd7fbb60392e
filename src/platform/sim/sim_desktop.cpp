#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <utility>

#include "platform/sim/system_colors.h"

namespace rowtint::sim {
namespace {
constexpr Pixel kDesktopTeal = 0x808000;
}  // namespace

SimDesktop::SimDesktop(int width, int height) : screen_(width, height, kDesktopTeal) {}

WindowHandle SimDesktop::CreateWindow(const std::string& className, WindowHandle parent, Rect rect, Painter painter,
                                      Program program) {
  WindowHandle h = nextWindow_;
  nextWindow_ += 0x10010;
  windows_.push_back({h, className, parent, rect, std::move(painter), program});
  return h;
}

// Its child windows go with it, so that a point finds them before anything
// below, and the windows it owns stay just above it.
void SimDesktop::BringToTop(WindowHandle hwnd) {
  if (!Find(hwnd)) return;
  std::vector<bool> tree;
  for (const auto& w : windows_) tree.push_back(RootOf(w.handle) == hwnd || (w.owner && w.owner == hwnd));
  std::vector<Window> below, moved;
  for (std::size_t i = 0; i < windows_.size(); ++i) (tree[i] ? moved : below).push_back(std::move(windows_[i]));
  windows_ = std::move(below);
  for (auto& w : moved) windows_.push_back(std::move(w));
}

bool SimDesktop::IsOtherProgramWindow(WindowHandle hwnd) const {
  const Window* w = Find(hwnd);
  return w && w->program == Program::Other;
}

// Its child windows and the windows it owns go with it.
void SimDesktop::DestroyWindow(WindowHandle hwnd) {
  std::vector<WindowHandle> doomed{hwnd};
  for (std::size_t i = 0; i < doomed.size(); ++i)
    for (const auto& w : windows_)
      if (w.parent == doomed[i] || (w.owner && w.owner == doomed[i])) doomed.push_back(w.handle);
  for (WindowHandle h : doomed) {
    if (!IsWindow(h)) continue;
    const Rect area = WindowRect(h);
    std::erase_if(windows_, [h](const Window& w) { return w.handle == h; });
    std::erase_if(timers_, [h](const SimTimer& t) { return t.owner == h; });
    std::erase_if(posted_, [h](const auto& p) { return p.first == h; });
    if (const auto sub = subclasses_.find(h); sub != subclasses_.end()) {
      platform::GridListener* listener = sub->second;
      subclasses_.erase(sub);
      listener->OnGridDestroyed(h);
    }
    if (focus_ == h) focus_ = 0;
    if (active_ == h) active_ = 0;
    if (foreground_ == h) foreground_ = 0;
    drawsOwn_.erase(h);
    pending_.push_back(area);
  }
}

void SimDesktop::MoveWindow(WindowHandle hwnd, Rect rect) {
  for (auto& w : windows_)
    if (w.handle == hwnd) w.rect = rect;
}

const SimDesktop::Window* SimDesktop::Find(WindowHandle hwnd) const {
  for (const auto& w : windows_)
    if (w.handle == hwnd) return &w;
  return nullptr;
}

Rect SimDesktop::WindowRect(WindowHandle hwnd) const {
  if (hwnd == kDesktopWindow) return screen_.Bounds();
  const Window* w = Find(hwnd);
  return w ? w->rect : Rect{};
}

bool SimDesktop::IsWindow(WindowHandle hwnd) const { return hwnd == kDesktopWindow || Find(hwnd) != nullptr; }

// Overlays are blended in by the compositor: they neither take a window's
// drawing nor hide it.
std::vector<Rect> SimDesktop::WindowsAbove(WindowHandle topLevel) const {
  std::vector<Rect> above;
  bool past = false;
  for (const auto& w : windows_) {
    if (w.parent != 0 || (w.exStyle & kExLayered)) continue;
    if (past) above.push_back(w.rect);
    past = past || w.handle == topLevel;
  }
  return above;
}

void SimDesktop::ResizeScreen(int width, int height) {
  screen_.Resize(width, height, kDesktopTeal);
  pending_.push_back(screen_.Bounds());
}

void SimDesktop::PaintWindowTree(WindowHandle parent, const Rect& clip) {
  for (const auto& w : windows_) {
    if (w.parent != parent) continue;
    const Rect c = Intersect(w.rect, clip);
    if (c.Empty()) continue;
    if (w.painter) w.painter(screen_, c);
    PaintWindowTree(w.handle, c);
  }
}

void SimDesktop::PaintArea(const Rect& area) {
  const PixelWork timed(*this);
  const Rect clip = Intersect(area, screen_.Bounds());
  if (clip.Empty()) return;
  screen_.Fill(clip, clip, kDesktopTeal);
  PaintWindowTree(0, clip);
}

void SimDesktop::PaintNow(const Rect& area) {
  PaintArea(area);
  TellPainted(Intersect(area, screen_.Bounds()));
}

void SimDesktop::FlushRepaints() {
  auto pending = std::move(pending_);
  pending_.clear();
  for (const auto& r : pending) PaintNow(r);
}

FrameBuffer SimDesktop::ContentSnapshot() {
  FrameBuffer saved = screen_;
  PaintArea(screen_.Bounds());
  std::swap(saved, screen_);
  return saved;
}

void SimDesktop::FireTimers() {
  if (held_) {
    // A message already taken from the queue is dispatched though its timer
    // was stopped since; a destroyed owner's never reaches its procedure.
    const auto held = *std::exchange(held_, std::nullopt);
    for (const auto& t : held)
      if (t.owner == 0 || IsWindow(t.owner)) {
        ++timerMessages_;
        t.callback->OnTimer();
      }
    return;
  }
  const auto snapshot = timers_;
  for (const auto& t : snapshot) {
    auto still = std::find_if(timers_.begin(), timers_.end(),
                              [&](const SimTimer& r) { return r.owner == t.owner && r.id == t.id; });
    if (still == timers_.end()) continue;
    ++timerMessages_;
    still->callback->OnTimer();
  }
}

SimDesktop::Records SimDesktop::TakeRecords() {
  Records out = std::move(records_);
  records_ = {};
  return out;
}

}  // namespace rowtint::sim
