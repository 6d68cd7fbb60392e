// The whole screen as a frame buffer of 0x00BBGGRR pixels, read back
// through the desktop's device context, bands drawn over windows included.
#pragma once

#include <windows.h>

#include "platform/sim/framebuffer.h"

namespace rowtint::host {

// A 32-bit device-independent bitmap of this size, rows top first: the
// layout in which the screen is read back and the grid drawn.
BITMAPINFO TopDownDib(int width, int height);

sim::FrameBuffer CaptureScreen();

}  // namespace rowtint::host
