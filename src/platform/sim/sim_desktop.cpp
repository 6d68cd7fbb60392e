#include "platform/sim/sim_desktop.h"

#include <algorithm>

#include "platform/sim/system_colors.h"

namespace rowtint::sim {
namespace {
constexpr Pixel kDesktopTeal = 0x808000;

bool Contains(const Rect& outer, const Rect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}
}  // namespace

SimDesktop::SimDesktop(int width, int height) : screen_(width, height, kDesktopTeal) {}

WindowHandle SimDesktop::CreateWindow(const std::string& className, WindowHandle parent, Rect rect, Painter painter,
                                      Program program) {
  WindowHandle h = nextWindow_;
  nextWindow_ += 0x10010;
  windows_.push_back({h, className, parent, rect, std::move(painter), program});
  return h;
}

// Its child windows go with it, so that a point finds them before anything below.
void SimDesktop::BringToTop(WindowHandle hwnd) {
  if (!Find(hwnd)) return;
  std::vector<bool> tree;
  for (const auto& w : windows_) tree.push_back(RootOf(w.handle) == hwnd);
  std::vector<Window> below, moved;
  for (std::size_t i = 0; i < windows_.size(); ++i) (tree[i] ? moved : below).push_back(std::move(windows_[i]));
  windows_ = std::move(below);
  for (auto& w : moved) windows_.push_back(std::move(w));
}

bool SimDesktop::IsOtherProgramWindow(WindowHandle hwnd) const {
  const Window* w = Find(hwnd);
  return w && w->program == Program::Other;
}

void SimDesktop::DestroyWindow(WindowHandle hwnd) {
  std::vector<WindowHandle> doomed{hwnd};
  for (std::size_t i = 0; i < doomed.size(); ++i)
    for (const auto& w : windows_)
      if (w.parent == doomed[i]) doomed.push_back(w.handle);
  for (WindowHandle h : doomed) {
    if (!IsWindow(h)) continue;
    const Rect area = WindowRect(h);
    std::erase_if(windows_, [h](const Window& w) { return w.handle == h; });
    std::erase_if(timers_, [h](const SimTimer& t) { return t.owner == h; });
    if (focus_ == h) focus_ = 0;
    if (active_ == h) active_ = 0;
    if (foreground_ == h) foreground_ = 0;
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

std::vector<Rect> SimDesktop::WindowsAbove(WindowHandle topLevel) const {
  std::vector<Rect> above;
  bool past = false;
  for (const auto& w : windows_) {
    if (w.parent != 0) continue;
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

void SimDesktop::PaintNow(const Rect& area) {
  const Rect clip = Intersect(area, screen_.Bounds());
  if (clip.Empty()) return;
  screen_.Fill(clip, clip, kDesktopTeal);
  PaintWindowTree(0, clip);
}

void SimDesktop::FlushRepaints() {
  auto pending = std::move(pending_);
  pending_.clear();
  for (const auto& r : pending) PaintNow(r);
}

FrameBuffer SimDesktop::ContentSnapshot() {
  FrameBuffer saved = screen_;
  PaintNow(screen_.Bounds());
  std::swap(saved, screen_);
  return saved;
}

void SimDesktop::FireTimers() {
  const auto snapshot = timers_;
  for (const auto& t : snapshot) {
    auto still = std::find_if(timers_.begin(), timers_.end(),
                              [&](const SimTimer& r) { return r.owner == t.owner && r.id == t.id; });
    if (still == timers_.end()) continue;
    still->callback->OnTimer();
  }
}

SimDesktop::Records SimDesktop::TakeRecords() {
  Records out = std::move(records_);
  records_ = {};
  return out;
}

// ---- the operating system's roles ----

WindowHandle SimDesktop::FindProcessWindow(const char* className) {
  ++calls_;
  for (const auto& w : windows_)
    if (w.parent == 0 && className && w.className == className) return w.handle;
  return 0;
}

WindowHandle SimDesktop::GetDesktopWindow() {
  ++calls_;
  return kDesktopWindow;
}

WindowHandle SimDesktop::GetActiveWindow() {
  ++calls_;
  return active_;
}

WindowHandle SimDesktop::GetForegroundWindow() {
  ++calls_;
  return foreground_;
}

// Windows refuses a process that does not own the foreground; the desktop
// grants every call, as Wine does, so that a call that should not have been
// made shows as a change.
bool SimDesktop::SetForegroundWindow(WindowHandle hwnd) {
  ++calls_;
  records_.foregroundCalls.push_back(hwnd);
  if (!IsWindow(hwnd) || hwnd == kDesktopWindow) return false;
  const WindowHandle root = RootOf(hwnd);
  if (foreground_ != root) ++records_.foregroundChanges;
  foreground_ = root;
  return true;
}

WindowHandle SimDesktop::GetFocus() {
  ++calls_;
  return focus_;
}

bool SimDesktop::GetWindowRect(WindowHandle hwnd, Rect& rect) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  rect = WindowRect(hwnd);
  return true;
}

bool SimDesktop::GetThreadCaret(WindowHandle& window, Rect& clientRect) {
  ++calls_;
  if (!caretSource_ || !IsWindow(focus_)) return false;
  const Point corner = caretSource_();
  window = focus_;
  clientRect = {corner.x, corner.y, corner.x + 2, corner.y + 16};
  return true;
}

bool SimDesktop::ClientToScreen(WindowHandle hwnd, Point& point) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  const Rect r = WindowRect(hwnd);
  point.x += r.left;
  point.y += r.top;
  return true;
}

bool SimDesktop::ScreenToClient(WindowHandle hwnd, Point& point) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  const Rect r = WindowRect(hwnd);
  point.x -= r.left;
  point.y -= r.top;
  return true;
}

bool SimDesktop::RedrawWindow(WindowHandle hwnd, const Rect* rect, std::uint32_t flags) {
  ++calls_;
  if (hwnd != 0 && !IsWindow(hwnd)) return false;
  const Rect origin = hwnd ? WindowRect(hwnd) : Rect{};
  Rect area = rect ? Rect{rect->left + origin.left, rect->top + origin.top, rect->right + origin.left,
                          rect->bottom + origin.top}
                   : WindowRect(hwnd ? hwnd : kDesktopWindow);
  // The record keeps what was asked, in screen coordinates; a window's
  // update region lies within the window.
  records_.invalidated.push_back(area);
  if (hwnd) area = Intersect(area, origin);
  ++redrawsAsked_;
  if ((flags & platform::kRdwInvalidate) && !area.Empty()) pending_.push_back(area);
  return true;
}

bool SimDesktop::UpdateWindow(WindowHandle hwnd) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  const Rect bounds = WindowRect(hwnd);
  std::vector<Rect> still;
  for (const auto& r : pending_) {
    PaintNow(Intersect(r, bounds));
    if (!Contains(bounds, r)) still.push_back(r);
  }
  pending_ = std::move(still);
  return true;
}

bool SimDesktop::GetCursorPos(Point& point) {
  ++calls_;
  point = cursor_;
  return true;
}

bool SimDesktop::IsChild(WindowHandle parent, WindowHandle child) {
  ++calls_;
  if (!IsWindow(parent) || parent == kDesktopWindow) return false;
  for (const Window* w = Find(child); w && w->parent != 0; w = Find(w->parent))
    if (w->parent == parent) return true;
  return false;
}

WindowHandle SimDesktop::WindowFromPoint(Point point) {
  ++calls_;
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    const Rect& r = it->rect;
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return it->handle;
  }
  return kDesktopWindow;
}

WindowHandle SimDesktop::RootOf(WindowHandle hwnd) const {
  const Window* w = Find(hwnd);
  while (w && w->parent != 0 && w->parent != kMessageParent) w = Find(w->parent);
  return w ? w->handle : 0;
}

WindowHandle SimDesktop::GetRootWindow(WindowHandle hwnd) {
  ++calls_;
  return RootOf(hwnd);
}

std::string SimDesktop::WindowClassName(WindowHandle hwnd) {
  ++calls_;
  const Window* w = Find(hwnd);
  return w ? w->className : std::string();
}

bool SimDesktop::IsProcessWindow(WindowHandle hwnd) {
  ++calls_;
  const Window* w = Find(hwnd);
  return w && w->program == Program::Host;
}

int SimDesktop::ScreenDpi() {
  ++calls_;
  return dpi;
}

int SimDesktop::WindowDpi(WindowHandle hwnd) {
  ++calls_;
  const Window* w = Find(hwnd);
  return w && w->program == Program::Host ? monitorDpi.value_or(dpi) : dpi;
}

}  // namespace rowtint::sim
