// Office's command bars over IDispatch: the bar collection, bars, their
// controls and buttons. Their members are called by name, since their
// DISPIDs differ between Office versions.
#pragma once

#include <memory>

#include "platform/command_bars.h"
#include "platform/win32/dispatch_call.h"

namespace rowtint::win32 {

// The host's CommandBars collection.
std::shared_ptr<platform::CommandBars> CommandBarsFromDispatch(Dispatcher commandBars);

// An object already known to be a CommandBarButton (a Click's Ctrl); nullptr for Nothing.
std::shared_ptr<platform::CommandBarButton> ButtonFromDispatch(IDispatch* button, std::shared_ptr<DispidCache> names);

}  // namespace rowtint::win32
