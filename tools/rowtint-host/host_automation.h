// The simulator's model objects (Excel's Application, Window, Range,
// WorksheetFunction and Office's command bars) as the stand-in hands them to
// the add-in: each through IDispatch, shaped by the fakes of fake_office.h
// and bound to the model object by a table per interface. Events the model
// raises reach the add-in's advised sinks through `deliver`.
#pragma once

#include <memory>

#include "host_behaviours.h"
#include "platform/command_bars.h"
#include "platform/host.h"

namespace rowtint::host {

win32::ComPtr<win32::fakes::FakeDispatch> WrapApplication(const std::shared_ptr<platform::host::Application>& app,
                                                          Deliver deliver);
// An object the host hands out: a Range as a Range, anything else under its type name.
Variant WrapObject(const std::shared_ptr<platform::host::Object>& object);
Variant WrapCommandBars(const std::shared_ptr<platform::CommandBars>& bars, Deliver deliver);
Variant WrapControl(const std::shared_ptr<platform::CommandBarControl>& control, const Deliver& deliver);

}  // namespace rowtint::host
