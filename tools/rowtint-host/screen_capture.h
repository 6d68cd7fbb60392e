// The whole screen as a frame buffer of 0x00BBGGRR pixels, read back
// through the desktop's device context, bands drawn over windows included.
#pragma once

#include "platform/sim/framebuffer.h"

namespace rowtint::host {

sim::FrameBuffer CaptureScreen();

}  // namespace rowtint::host
