// The simulated desktop's answers to the add-in's questions about windows,
// the focus, the caret and the screen, and its repaint requests.
#include <algorithm>

#include "platform/sim/sim_desktop.h"

namespace rowtint::sim {
namespace {
bool Contains(const Rect& outer, const Rect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Windows' MulDiv: the product divided, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{number} * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}
}  // namespace

Point SimDesktop::Virtualised(Point p) const {
  if (threadDpi_ != ThreadDpi::System || !monitorDpi || *monitorDpi == dpi) return p;
  return {MulDiv(p.x, dpi, *monitorDpi), MulDiv(p.y, dpi, *monitorDpi)};
}

Point SimDesktop::Physical(Point p) const {
  if (threadDpi_ != ThreadDpi::System || !monitorDpi || *monitorDpi == dpi) return p;
  return {MulDiv(p.x, *monitorDpi, dpi), MulDiv(p.y, *monitorDpi, dpi)};
}

Rect SimDesktop::Virtualised(const Rect& r) const {
  const Point topLeft = Virtualised(Point{r.left, r.top}), bottomRight = Virtualised(Point{r.right, r.bottom});
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

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
  rect = Virtualised(WindowRect(hwnd));
  return true;
}

bool SimDesktop::GetThreadCaret(WindowHandle& window, Rect& clientRect) {
  ++calls_;
  if (!caretSource_ || !IsWindow(focus_)) return false;
  const Point corner = caretSource_();
  window = focus_;
  // Client coordinates scale as screen ones do: about the window's own origin.
  const Rect origin = WindowRect(focus_);
  const Rect physical{origin.left + corner.x, origin.top + corner.y, origin.left + corner.x + 2,
                      origin.top + corner.y + 16};
  const Rect seen = Virtualised(physical), seenOrigin = Virtualised(origin);
  clientRect = {seen.left - seenOrigin.left, seen.top - seenOrigin.top, seen.right - seenOrigin.left,
                seen.bottom - seenOrigin.top};
  return true;
}

bool SimDesktop::ClientToScreen(WindowHandle hwnd, Point& point) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  const Rect r = Virtualised(WindowRect(hwnd));
  point.x += r.left;
  point.y += r.top;
  return true;
}

bool SimDesktop::ScreenToClient(WindowHandle hwnd, Point& point) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  const Rect r = Virtualised(WindowRect(hwnd));
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
  point = Virtualised(cursor_);
  return true;
}

bool SimDesktop::IsChild(WindowHandle parent, WindowHandle child) {
  ++calls_;
  if (!IsWindow(parent) || parent == kDesktopWindow) return false;
  for (const Window* w = Find(child); w && w->parent != 0; w = Find(w->parent))
    if (w->parent == parent) return true;
  return false;
}

WindowHandle SimDesktop::WindowFromPoint(Point seen) {
  ++calls_;
  const Point point = Physical(seen);
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    // A layered window that is transparent lets the mouse through, and so this question.
    if ((it->exStyle & kExLayered) && (it->exStyle & kExTransparent)) continue;
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

bool SimDesktop::IsWindowEnabled(WindowHandle hwnd) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  return modal_.empty() || RootOf(hwnd) == modal_.back();
}

std::uintptr_t SimDesktop::EnterPerMonitorDpi() {
  ++calls_;
  if (threadDpi_ == ThreadDpi::PerMonitor) return 0;
  threadDpi_ = ThreadDpi::PerMonitor;
  return 1;  // the system-aware context, to go back to
}

void SimDesktop::RestoreThreadDpi(std::uintptr_t previous) {
  ++calls_;
  if (previous == 1) threadDpi_ = ThreadDpi::System;
}

int SimDesktop::WindowDpi(WindowHandle hwnd) {
  ++calls_;
  const Window* w = Find(hwnd);
  return w && w->program == Program::Host ? monitorDpi.value_or(dpi) : dpi;
}

}  // namespace rowtint::sim
