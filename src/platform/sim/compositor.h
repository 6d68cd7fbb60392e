// One pixel as the desktop's compositor shows a layered window over what lies
// beneath: Windows takes the window's bitmap as premultiplied bytes, each
// colour channel round(alpha * P) already, and adds round((1 - alpha) * D) of
// the pixel beneath. The simulator's overlays and the stand-in's blend of the
// bitmaps the add-in hands to UpdateLayeredWindow both show pixels through it.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/sim/framebuffer.h"

namespace rowtint::sim {

// `under` and the result as 0x00BBGGRR, `layer` as 0xAARRGGBB premultiplied.
// Neither division ever meets a half: 255 is odd.
inline Pixel Composite(Pixel under, std::uint32_t layer) {
  const unsigned alpha = layer >> 24;
  const auto over = [alpha](unsigned premultiplied, unsigned beneath) {
    return std::min(255U, premultiplied + ((255U - alpha) * beneath + 127) / 255);
  };
  return over(layer & 0xFF, (under >> 16) & 0xFF) << 16 | over((layer >> 8) & 0xFF, (under >> 8) & 0xFF) << 8 |
         over((layer >> 16) & 0xFF, under & 0xFF);
}

// A colour (0x00BBGGRR) at an opacity, as the premultiplied pixel Windows takes.
inline std::uint32_t Premultiplied(std::uint32_t color, std::uint8_t alpha) {
  const auto channel = [alpha](std::uint32_t c) { return (c * alpha + 127) / 255; };
  return static_cast<std::uint32_t>(alpha) << 24 | channel(color & 0xFF) << 16 | channel((color >> 8) & 0xFF) << 8 |
         channel((color >> 16) & 0xFF);
}

}  // namespace rowtint::sim
