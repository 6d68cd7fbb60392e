// The simulated desktop's graphics: window DCs with their saved states and
// clipping, brushes, and rectangles drawn on the framebuffer through binary
// raster operations, pen outline and all.
#include "platform/sim/sim_desktop.h"

#include <algorithm>

#include "platform/sim/system_colors.h"

namespace rowtint::sim {
namespace {
constexpr GdiObject kStockWhiteBrush = 0x4FFF;
constexpr Pixel kPenBlack = 0x000000;

// A binary raster operation code (1..16) is a truth table over pen and screen bits.
Pixel ApplyRop(int rop, Pixel pen, Pixel dst) {
  const unsigned table = static_cast<unsigned>(rop - 1) & 0xF;
  Pixel out = 0;
  if (table & 8) out |= pen & dst;
  if (table & 4) out |= pen & ~dst;
  if (table & 2) out |= ~pen & dst;
  if (table & 1) out |= ~pen & ~dst;
  return out & 0xFFFFFF;
}
}  // namespace

bool SimDesktop::BrushInUse(GdiObject brush) const {
  for (const auto& [h, dc] : dcs_) {
    if (dc.state.brush == brush) return true;
    for (const auto& s : dc.saved)
      if (s.brush == brush) return true;
  }
  return false;
}

DcHandle SimDesktop::GetWindowDC(WindowHandle hwnd) {
  ++calls_;
  if (!IsWindow(hwnd)) return 0;
  DcHandle h = nextDc_++;
  dcs_[h] = Dc{hwnd, false, {}, {}};
  return h;
}

DcHandle SimDesktop::GetDC(WindowHandle hwnd) {
  ++calls_;
  if (!IsWindow(hwnd) || hwnd == kDesktopWindow) return 0;
  DcHandle h = nextDc_++;
  dcs_[h] = Dc{hwnd, true, {}, {}};
  return h;
}

int SimDesktop::ReleaseDC(WindowHandle, DcHandle dc) {
  ++calls_;
  return dcs_.erase(dc) ? 1 : 0;
}

GdiObject SimDesktop::CreateSolidBrush(platform::Color color) {
  ++calls_;
  GdiObject h = nextBrush_++;
  brushes_[h] = color;
  return h;
}

bool SimDesktop::DeleteObject(GdiObject object) {
  ++calls_;
  if (object == kStockWhiteBrush) return true;
  auto it = brushes_.find(object);
  if (it == brushes_.end() || BrushInUse(object)) return false;  // a selected brush cannot be deleted
  brushes_.erase(it);
  return true;
}

GdiObject SimDesktop::SelectObject(DcHandle dc, GdiObject object) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end() || (object != kStockWhiteBrush && !brushes_.count(object))) return 0;
  GdiObject previous = it->second.state.brush ? it->second.state.brush : kStockWhiteBrush;
  it->second.state.brush = object;
  return previous;
}

int SimDesktop::SaveDC(DcHandle dc) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return 0;
  it->second.saved.push_back(it->second.state);
  return static_cast<int>(it->second.saved.size());
}

bool SimDesktop::RestoreDC(DcHandle dc, int savedDc) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return false;
  auto& saved = it->second.saved;
  const int level = savedDc < 0 ? static_cast<int>(saved.size()) + 1 + savedDc : savedDc;
  if (level < 1 || level > static_cast<int>(saved.size())) return false;
  it->second.state = saved[level - 1];
  saved.resize(level - 1);
  return true;
}

int SimDesktop::SetROP2(DcHandle dc, int rop) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end() || rop < 1 || rop > 16) return 0;
  int previous = it->second.state.rop;
  it->second.state.rop = rop;
  return previous;
}

int SimDesktop::IntersectClipRect(DcHandle dc, int left, int top, int right, int bottom) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return 0;  // ERROR
  auto& clip = it->second.state.clip;
  clip = Intersect(clip.value_or(screen_.Bounds()), Rect{left, top, right, bottom});
  return clip->Empty() ? 1 : 2;  // NULLREGION, SIMPLEREGION
}

platform::Color SimDesktop::GetSysColor(int index) {
  ++calls_;
  return static_cast<platform::Color>(ResolveColor(platform::SystemColor(index)));
}

bool SimDesktop::Rectangle(DcHandle dc, int left, int top, int right, int bottom) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return false;
  const Dc& dcRecord = it->second;
  const DcState& st = dcRecord.state;
  lastDrawingDpi_ = threadDpi_;
  // A client DC's coordinates start at its window's corner; its drawing
  // stays inside the window and off the top-level windows above it.
  const Rect window = dcRecord.client ? WindowRect(dcRecord.window) : screen_.Bounds();
  const int dx = dcRecord.client ? window.left : 0, dy = dcRecord.client ? window.top : 0;
  const auto above = dcRecord.client ? WindowsAbove(RootOf(dcRecord.window)) : std::vector<Rect>{};
  left += dx, right += dx, top += dy, bottom += dy;
  const auto brush = brushes_.find(st.brush);
  const Pixel fill = brush == brushes_.end() ? 0xFFFFFF : static_cast<Pixel>(brush->second) & 0xFFFFFF;
  records_.drawn.push_back({{left, top, right, bottom}, brush == brushes_.end() ? 0xFFFFFF : brush->second, st.rop});
  ++rectanglesDrawn_;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  // A window that presents its own picture shows nothing drawn through a DC.
  if (dcRecord.client && drawsOwn_.count(dcRecord.window) && drawsOwn_.at(dcRecord.window)) return true;
  Rect clip = st.clip.value_or(screen_.Bounds());
  if (st.clip) clip = {clip.left + dx, clip.top + dy, clip.right + dx, clip.bottom + dy};
  const Rect area = Intersect(Intersect(clip, screen_.Bounds()), window);
  // Only the windows above that reach into the area are looked at, and on a
  // row none of them reaches, no pixel is: a band is drawn often, and this is
  // the simulator's time, not the add-in's.
  const PixelWork timed(*this);
  std::vector<Rect> over;
  for (const Rect& r : above)
    if (!Intersect(r, area).Empty()) over.push_back(r);
  const int fromX = std::max(left, area.left), toX = std::min(right, area.right);
  for (int y = std::max(top, area.top); y < std::min(bottom, area.bottom); ++y) {
    const bool rowCovered =
        std::any_of(over.begin(), over.end(), [&](const Rect& r) { return y >= r.top && y < r.bottom; });
    const bool edgeRow = y == top || y == bottom - 1;
    // The area lies within the screen: its pixels are written in place.
    Pixel* const row = screen_.Row(y);
    for (int x = fromX; x < toX; ++x) {
      if (rowCovered && std::any_of(over.begin(), over.end(), [&](const Rect& r) {
            return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
          }))
        continue;
      const bool outline = edgeRow || x == left || x == right - 1;
      row[x] = ApplyRop(st.rop, outline ? kPenBlack : fill, row[x]);
    }
  }
  return true;
}

}  // namespace rowtint::sim

namespace rowtint::sim {

std::optional<platform::Color> SimDesktop::GetPixel(DcHandle dc, int x, int y) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return std::nullopt;
  const Dc& dcRecord = it->second;
  const Rect window = dcRecord.client ? WindowRect(dcRecord.window) : screen_.Bounds();
  const Point at{x + (dcRecord.client ? window.left : 0), y + (dcRecord.client ? window.top : 0)};
  if (at.x < window.left || at.y < window.top || at.x >= window.right || at.y >= window.bottom) return std::nullopt;
  if (at.x < 0 || at.y < 0 || at.x >= screen_.Width() || at.y >= screen_.Height()) return std::nullopt;
  return static_cast<platform::Color>(screen_.Get(at.x, at.y));
}

}  // namespace rowtint::sim
