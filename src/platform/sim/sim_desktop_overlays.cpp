// The simulated desktop's layered overlays and its compositor: an overlay
// paints nothing into the framebuffer; what the user sees blends it in over
// what the windows painted, as the desktop's compositor does, where no
// window above it covers it, as compositor.h blends it.
#include <algorithm>

#include "platform/sim/compositor.h"
#include "platform/sim/sim_desktop.h"

namespace rowtint::sim {
namespace {
Pixel Blend(Pixel under, platform::Color color, std::uint8_t alpha) {
  return Composite(under, Premultiplied(static_cast<std::uint32_t>(color) & 0xFFFFFF, alpha));
}

bool Inside(const Rect& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }
}  // namespace

WindowHandle SimDesktop::CreateOverlay(WindowHandle owner) {
  ++calls_;
  if (!IsWindow(owner)) return 0;
  const WindowHandle overlay = CreateWindow("RowtintOverlay", 0, {}, nullptr);
  Window made = std::move(windows_.back());
  windows_.pop_back();
  made.owner = owner;
  made.layer = Layer{};
  made.exStyle = kExLayered | kExTransparent | kExNoActivate;
  // An owned window stands just above its owner (and what the owner holds),
  // which keeps its own place in the z-order.
  const WindowHandle root = RootOf(owner);
  std::size_t above = 0;
  for (std::size_t i = 0; i < windows_.size(); ++i)
    if (RootOf(windows_[i].handle) == root || windows_[i].owner == root) above = i + 1;
  windows_.insert(windows_.begin() + static_cast<std::ptrdiff_t>(above), std::move(made));
  return overlay;
}

bool SimDesktop::ShowOverlay(WindowHandle overlay, const Rect& screenRect, platform::Color color, std::uint8_t alpha) {
  ++calls_;
  for (auto& w : windows_)
    if (w.handle == overlay && w.layer) {
      w.rect = screenRect;
      w.layer = Layer{true, color, alpha};
      records_.drawn.push_back({screenRect, color, 0});
      return true;
    }
  return false;
}

void SimDesktop::HideOverlay(WindowHandle overlay) {
  ++calls_;
  for (auto& w : windows_)
    if (w.handle == overlay && w.layer) w.layer->visible = false;
}

void SimDesktop::DestroyOverlay(WindowHandle overlay) {
  ++calls_;
  const Window* w = Find(overlay);
  if (w && w->layer) DestroyWindow(overlay);
}

Pixel SimDesktop::ShownAt(Point p) const {
  Pixel pixel = screen_.Get(p.x, p.y);
  // Each overlay in the z-order, unless an opaque window above it covers the point.
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    const Window& w = windows_[i];
    if (!w.layer || !w.layer->visible || !Inside(w.rect, p)) continue;
    bool covered = false;
    for (std::size_t j = i + 1; j < windows_.size() && !covered; ++j)
      covered = windows_[j].parent == 0 && !(windows_[j].exStyle & kExLayered) && Inside(windows_[j].rect, p);
    if (!covered) pixel = Blend(pixel, w.layer->color, w.layer->alpha);
  }
  return pixel;
}

FrameBuffer SimDesktop::Shown() const {
  FrameBuffer shown = screen_;
  for (const auto& w : windows_) {
    if (!w.layer || !w.layer->visible) continue;
    const Rect area = Intersect(w.rect, screen_.Bounds());
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) shown.Set(x, y, ShownAt({x, y}));
  }
  return shown;
}

std::vector<SimDesktop::OverlayView> SimDesktop::Overlays() const {
  std::vector<OverlayView> all;
  for (const auto& w : windows_)
    if (w.layer)
      all.push_back({w.handle, w.owner, w.layer->visible, w.rect, (w.exStyle & kExLayered) != 0,
                     (w.exStyle & kExTransparent) != 0, (w.exStyle & kExNoActivate) != 0,
                     (w.exStyle & kExTopmost) != 0});
  return all;
}

std::optional<platform::Color> SimDesktop::ScreenPixel(Point point) {
  ++calls_;
  const Point at = Physical(point);
  if (!Inside(screen_.Bounds(), at)) return std::nullopt;
  return static_cast<platform::Color>(ShownAt(at));
}

}  // namespace rowtint::sim
