// How opaque the band may be on an overlay, which the compositor blends over
// the cells instead of combining through a raster operation: the highest
// opacity at which black text on a white cell stays readable under it, as
// arithmetic on the colour alone.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace rowtint::engine {

// The most an overlay's opacity may be, of 255: 0.6.
inline constexpr std::uint8_t kMostOverlayAlpha = 153;

// Each 8-bit sRGB channel round(alpha * band + (1 - alpha) * under), alpha of 255.
platform::Color BlendedOver(platform::Color band, std::uint8_t alpha, platform::Color under);

// WCAG 2's relative luminance of an sRGB colour, and the contrast ratio of two.
double RelativeLuminance(platform::Color color);
double ContrastRatio(platform::Color a, platform::Color b);

// The highest alpha, of 255 and at most kMostOverlayAlpha, for which black
// text keeps a contrast ratio of at least 4.5 : 1 against white under the
// band. Some opacity always does: the lightest tint of any colour is nearly white.
std::uint8_t OverlayAlpha(platform::Color band);

}  // namespace rowtint::engine
