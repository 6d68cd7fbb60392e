// A small 5 by 7 pixel font, so that the simulated host's cell text and
// captions read in snapshots.
#pragma once

#include <string>

#include "platform/sim/framebuffer.h"

namespace rowtint::sim {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = 6;

// Draws text with its top-left corner at (x, y), each font pixel scale by scale
// screen pixels, touching only pixels inside clip.
void DrawText(FrameBuffer& fb, int x, int y, const std::string& text, Pixel color, const platform::Rect& clip,
              int scale = 1);

inline int TextWidth(const std::string& text, int scale = 1) {
  return static_cast<int>(text.size()) * kGlyphAdvance * scale;
}

}  // namespace rowtint::sim
