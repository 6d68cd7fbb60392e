// The band as the painter last left it on the screen: what is needed to draw
// it again, unchanged, where the host repaints part of it on its own.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace rowtint::engine {

struct DrawnBand {
  platform::WindowHandle window = 0;
  // The two parts, and the clip they were drawn through, in the window's
  // client coordinates: a window that moves takes its band along.
  platform::Rect left, right, clip;
  platform::Color color = 0;  // as the screen showed it, system colours resolved
  std::int32_t rop = 0;
};

struct BandOnScreen {
  // None when no band is drawn, or when nothing tells any more where Excel moved it.
  std::optional<DrawnBand> band;
};

}  // namespace rowtint::engine
