// The host's events delivered to the add-in: a sink object advised on the
// host's connection point for Excel's Application events, and one for a
// command-bar button's Click. Ending the returned connection unadvises the
// sink; a call that still reaches it afterwards is ignored.
#pragma once

#include <memory>

#include "platform/command_bars.h"
#include "platform/host.h"
#include "platform/win32/dispatch_call.h"

namespace rowtint::win32 {

// Advises a sink for AppEvents on `application`; raises when it cannot.
std::unique_ptr<platform::host::EventConnection> AdviseAppEvents(const Dispatcher& application,
                                                                 platform::host::AppEvents& events);

// Advises a sink for _CommandBarButtonEvents on `button`; raises when it cannot.
std::unique_ptr<platform::host::EventConnection> AdviseButtonClick(const Dispatcher& button,
                                                                   platform::ButtonEvents& events);

}  // namespace rowtint::win32
