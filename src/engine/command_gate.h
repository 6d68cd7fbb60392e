// Commands and timer ticks act only while the host enables the second
// control of its "File" command bar.
#pragma once

#include "platform/host.h"

namespace rowtint::engine {

// True when the gate is open; raises when the host cannot answer (no bar
// named "File", fewer than two controls on it).
bool CommandGateOpen(platform::host::Application& app);

}  // namespace rowtint::engine
