// Measurements and erasing shared by the painter and the resize eraser.
#pragma once

#include "engine/highlight_state.h"
#include "platform/os_services.h"

namespace rowtint::engine {

// The band keeps clear of the grid's left edge by 7 pixels and of its right
// edge (the scroll bar side) by 20; the painter's fit test uses the same 20
// at the bottom.
inline constexpr int kBandLeftInset = 7;
inline constexpr int kBandRightInset = 20;
inline constexpr int kBandBottomMargin = 20;

// RDW_INVALIDATE with RDW_ALLCHILDREN, on no window: screen coordinates.
inline constexpr std::uint32_t kInvalidateUnder = platform::kRdwInvalidate | platform::kRdwAllChildren;

// The part two rectangles share; empty (right <= left) when they do not meet.
Rect Intersection(const Rect& a, const Rect& b);

// A colour as the screen shows it: a system colour reference (0x80000000
// plus the index in the low byte) becomes the colour Windows uses now.
Color ScreenColor(platform::WindowsServices& os, Color color);

// Asks every window under the rectangle to repaint it, which removes a band drawn there.
void InvalidateScreenRect(platform::WindowsServices& os, const Rect& rect);

// CaretPoint = the caret, taken as the active cell's top-left corner, on the screen.
void ReadCaretOnScreen(platform::WindowsServices& os);

inline constexpr double kPointsPerInch = 72;

// Host sizes in points as screen pixels at the screen's real resolution
// (4/3 at 96 dots per inch), before the window's zoom.
double PointsToPixels(platform::WindowsServices& os, double points);

// The active cell's height in screen pixels, less the gridline: never rounded before use.
double RowHeightPixels(platform::WindowsServices& os, platform::host::Application& app, double zoom);

}  // namespace rowtint::engine
