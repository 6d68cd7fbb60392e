// Where each workbook window's band is drawn, and the check on the user's
// own screen that picks it. The grid surface draws through the grid window's
// DC with the raster operation, which today's Excel may never show (it draws
// with Direct2D, animates outside its paint message, may present through a
// swap chain); the overlay surface shows the band on layered windows of the
// add-in's own, which the compositor blends in whatever Excel does.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/services.h"
#include "platform/types.h"

namespace rowtint::engine {

using platform::Color;
using platform::Point;
using platform::Rect;
using platform::WindowHandle;

enum class Surface { Grid, Overlay };

// What the user fixed under HKEY_CURRENT_USER\Software\Rowtint, "Surface":
// auto (a missing or unreadable value too), grid or overlay.
enum class SurfaceChoice { Auto, Grid, Overlay };
SurfaceChoice ReadSurfaceChoice(platform::OwnKey& key);
const char* SurfaceName(Surface surface);
const char* ChoiceName(SurfaceChoice choice);

// A pixel of the band drawn on the grid surface, and what it should show:
// the raster operation applied over what the grid held there before.
struct BandSample {
  Point at;  // screen coordinates
  Color expected = 0;
};

// The raster operation's result for one pixel (a binary raster operation, R2_BLACK 1 to R2_WHITE 16).
Color ApplyRop2(std::int32_t rop, Color pen, Color destination);

class BandSurfaces {
 public:
  explicit BandSurfaces(const Services& os) : os_(os) {}
  ~BandSurfaces() { DestroyAll(); }
  BandSurfaces(const BandSurfaces&) = delete;
  BandSurfaces& operator=(const BandSurfaces&) = delete;

  void Choose(SurfaceChoice choice) { choice_ = choice; }
  SurfaceChoice Choice() const { return choice_; }
  Surface For(WindowHandle main) const;

  // The band's parts (the row's two, the column's two) on overlays owned by `main`, made when first needed
  // in the per-monitor context; a part left empty is hidden.
  void ShowOverlays(WindowHandle main, const std::array<Rect, 4>& parts, Color color);
  void HideOverlays(WindowHandle main);
  // The main window went, and the overlays it owned with it.
  void OwnerGone(WindowHandle main);
  void DestroyAll();
  // A connection ends: the overlays go, and what the checks found is forgotten.
  void Reset();

  // The grid surface drew a band in a new place: the first tick after it
  // checks the screen, and every fourth tick while it stays.
  void Drawn(WindowHandle main, WindowHandle grid, std::vector<BandSample> samples);
  // The band left its place (erased, or the switch off): nothing to check.
  void Gone() { samples_.clear(); }
  // Counts the tick; whether a check is due at it.
  bool TickDue();
  // Reads the samples back from the screen where the grid shows them. True
  // when this window's band moved to the overlay: the second miss in a row.
  bool Check();

  std::int64_t Checks() const { return checks_; }
  std::int64_t Missed() const { return missed_; }

 private:
  const Services& os_;
  SurfaceChoice choice_ = SurfaceChoice::Auto;
  // The windows whose band moved to the overlay, for the rest of the connection.
  std::map<WindowHandle, bool> onOverlay_;
  std::map<WindowHandle, int> missesInARow_;
  std::map<WindowHandle, std::array<WindowHandle, 4>> overlays_;
  WindowHandle sampledMain_ = 0, sampledGrid_ = 0;
  std::vector<BandSample> samples_;
  int ticksSinceDrawn_ = 0;
  std::optional<std::pair<Color, std::uint8_t>> alpha_;
  std::int64_t checks_ = 0, missed_ = 0;
};

}  // namespace rowtint::engine
