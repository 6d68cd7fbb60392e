// The add-in's ribbon group as the stand-in draws it, in its main window's
// chrome between the title bar and the grid: each control a box with its
// label, a pressed toggle darker, a swatch in the colour of the picture the
// add-in gave, the menu's items listed beside it, what is disabled greyed.
// Only the grid is compared between the hosts: this drawing is the
// stand-in's own, for whoever looks at a snapshot.
#pragma once

#include <optional>
#include <vector>

#include "platform/sim/framebuffer.h"
#include "platform/sim/ribbon_model.h"

namespace rowtint::host {

// The part of the main window's client area the group may cover.
inline constexpr platform::Rect kRibbonStrip{0, 30, 1 << 15, 118};

void PaintRibbonGroup(sim::FrameBuffer& frame, const sim::RibbonModel& ribbon, const platform::Rect& clip);

// What the group shows; the stand-in repaints the strip when it changes.
struct RibbonLook {
  struct Control {
    bool pressed = false;
    bool enabled = true;
    std::optional<platform::Color> swatch;
    bool operator==(const Control&) const = default;
  };
  bool loaded = false;
  std::vector<Control> controls;
  bool operator==(const RibbonLook&) const = default;
};
RibbonLook LookOf(const sim::RibbonModel& ribbon);

}  // namespace rowtint::host
