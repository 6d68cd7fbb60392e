#include "engine/band_surfaces.h"

#include <cstdio>
#include <utility>

#include "engine/overlay_alpha.h"
#include "engine/scoped_gdi.h"

namespace rowtint::engine {
namespace {
std::string Hex(std::uintptr_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

std::string ColourText(Color color) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(color) & 0xFFFFFF);
  return text;
}
}  // namespace

SurfaceChoice ReadSurfaceChoice(platform::OwnKey& key) {
  const auto text = key.Text("Surface");
  if (text == "grid") return SurfaceChoice::Grid;
  if (text == "overlay") return SurfaceChoice::Overlay;
  return SurfaceChoice::Auto;
}

const char* SurfaceName(Surface surface) { return surface == Surface::Grid ? "grid" : "overlay"; }

const char* ChoiceName(SurfaceChoice choice) {
  return choice == SurfaceChoice::Grid ? "grid" : choice == SurfaceChoice::Overlay ? "overlay" : "auto";
}

Color ApplyRop2(std::int32_t rop, Color pen, Color destination) {
  // R2_ codes are 1 + the truth table of pen and destination, pen in the high bit.
  const std::uint32_t p = static_cast<std::uint32_t>(pen) & 0xFFFFFF,
                      d = static_cast<std::uint32_t>(destination) & 0xFFFFFF;
  const unsigned table = static_cast<unsigned>(rop - 1) & 0xF;
  std::uint32_t out = 0;
  // Bit 3 of the table is the result for pen 1 over destination 1, bit 2 for 1 over 0, bit 1 for 0 over 1.
  for (int bit = 0; bit < 24; ++bit) {
    const unsigned pb = (p >> bit) & 1, db = (d >> bit) & 1;
    out |= static_cast<std::uint32_t>((table >> (pb * 2 + db)) & 1) << bit;
  }
  return static_cast<Color>(out);
}

Surface BandSurfaces::For(WindowHandle main) const {
  if (choice_ == SurfaceChoice::Grid) return Surface::Grid;
  if (choice_ == SurfaceChoice::Overlay) return Surface::Overlay;
  return onOverlay_.count(main) ? Surface::Overlay : Surface::Grid;
}

void BandSurfaces::ShowOverlays(WindowHandle main, const std::array<Rect, 4>& parts, Color color) {
  if (!alpha_ || alpha_->first != color) alpha_ = std::make_pair(color, OverlayAlpha(color));
  const ScopedPerMonitorDpi own(os_.windows);
  auto& windows = overlays_[main];
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].Empty()) {
      if (windows[i]) os_.overlays.HideOverlay(windows[i]);
      continue;
    }
    if (!windows[i]) windows[i] = os_.overlays.CreateOverlay(main);
    if (windows[i]) os_.overlays.ShowOverlay(windows[i], parts[i], color, alpha_->second);
  }
}

void BandSurfaces::HideOverlays(WindowHandle main) {
  const auto it = overlays_.find(main);
  if (it == overlays_.end()) return;
  for (const WindowHandle overlay : it->second)
    if (overlay) os_.overlays.HideOverlay(overlay);
}

void BandSurfaces::OwnerGone(WindowHandle main) {
  overlays_.erase(main);
  onOverlay_.erase(main);
  missesInARow_.erase(main);
  if (sampledMain_ == main) samples_.clear();
}

void BandSurfaces::DestroyAll() {
  for (const auto& [main, windows] : overlays_)
    for (const WindowHandle overlay : windows)
      if (overlay) os_.overlays.DestroyOverlay(overlay);
  overlays_.clear();
}

void BandSurfaces::Reset() {
  DestroyAll();
  onOverlay_.clear();
  missesInARow_.clear();
  samples_.clear();
  checks_ = missed_ = 0;
}

void BandSurfaces::Drawn(WindowHandle main, WindowHandle grid, std::vector<BandSample> samples) {
  sampledMain_ = main;
  sampledGrid_ = grid;
  samples_ = std::move(samples);
  ticksSinceDrawn_ = 0;
}

bool BandSurfaces::TickDue() {
  if (samples_.empty()) return false;
  return ticksSinceDrawn_++ % 4 == 0;
}

// Only where the grid itself is under the point: another program's window
// over the band is not the grid's failure to show it.
bool BandSurfaces::Check() {
  int compared = 0, matched = 0;
  std::string expected, read;
  {
    const ScopedPerMonitorDpi own(os_.windows);
    for (const BandSample& sample : samples_) {
      if (os_.windows.WindowFromPoint(sample.at) != sampledGrid_) continue;
      const auto pixel = os_.drawing.ScreenPixel(sample.at);
      if (!pixel) continue;
      ++compared;
      matched += (*pixel & 0xFFFFFF) == (sample.expected & 0xFFFFFF);
      expected.append(" ").append(ColourText(sample.expected));
      read.append(" ").append(ColourText(*pixel));
    }
  }
  if (compared == 0) return false;
  ++checks_;
  // A band the screen shows matches at every pixel unless Excel repainted
  // a cell under it meanwhile: one match is enough to count it shown.
  const bool miss = matched == 0;
  int& inARow = missesInARow_[sampledMain_];
  inARow = miss ? inARow + 1 : 0;
  if (miss) ++missed_;
  auto& log = os_.diagnostics;
  if (log.Enabled())
    log.Write("check; window " + Hex(sampledMain_) + "; expected" + expected + "; read" + read + "; " +
              (miss ? "missed" : "shown"));
  if (inARow < 2 || onOverlay_.count(sampledMain_)) return false;
  onOverlay_[sampledMain_] = true;
  samples_.clear();
  if (log.Enabled())
    log.Write("surface; window " + Hex(sampledMain_) +
              "; overlay, after two checks in a row found no band on the screen");
  return true;
}

}  // namespace rowtint::engine
