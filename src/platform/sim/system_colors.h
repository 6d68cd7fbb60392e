// The simulated desktop's colour scheme: what a system colour reference
// (0x80000000 plus an index) shows as.
#pragma once

#include "platform/sim/framebuffer.h"
#include "platform/types.h"

namespace rowtint::sim {

// A plain colour as itself, a system colour reference as the scheme's colour.
Pixel ResolveColor(platform::Color color);

}  // namespace rowtint::sim
