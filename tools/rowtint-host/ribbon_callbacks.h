// Office's calls to the add-in's ribbon callbacks, as the stand-in makes
// them: each name resolved by GetIDsOfNames on the add-in's IDispatch and
// called by Invoke with a control of the stand-in's, through the stand-in's
// way of calling the add-in, so that a form shown inside keeps the script going.
#pragma once

#include <functional>
#include <memory>

#include "host_behaviours.h"
#include "platform/sim/ribbon_model.h"

namespace rowtint::host {

// What each control's Context gives, asked when the control is made: the
// stand-in keeps no reference of its own between calls, so that what the
// Application's count shows beyond its own is the add-in's.
using RibbonContext = std::function<win32::ComPtr<IDispatch>()>;

// The IRibbonUI handed over at onLoad reaches `model` while the callbacks live.
std::unique_ptr<sim::RibbonCallbacks> DispatchRibbonCallbacks(win32::ComPtr<IDispatch> addin, RibbonContext context,
                                                              sim::RibbonModel& model, Deliver call);

}  // namespace rowtint::host
