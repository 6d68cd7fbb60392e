// Office's ribbon objects as the stand-in hands them to the add-in: the
// IRibbonControl each callback passes and the IRibbonUI given at onLoad,
// both through IDispatch alone, and the reading of the picture a getImage
// callback hands back.
#pragma once

#include <memory>
#include <string>

#include "fake_dispatch.h"
#include "platform/sim/ribbon_model.h"
#include "platform/types.h"

namespace rowtint::host {

// IRibbonControl: Id (DISPID 1), Context (2) and Tag (3, ""), read-only.
win32::ComPtr<win32::fakes::FakeDispatch> FakeRibbonControl(const std::string& id,
                                                            const win32::ComPtr<IDispatch>& context);

// IRibbonUI: Invalidate (1) and InvalidateControl (2, the control's id) mark
// controls of `model` to be asked again, while `connected` lives; a reference
// the add-in keeps past its connection reaches nothing.
win32::ComPtr<win32::fakes::FakeDispatch> FakeRibbonUi(sim::RibbonModel& model, std::weak_ptr<const bool> connected);

// The colour (0x00BBGGRR) of the one-coloured bitmap picture a getImage
// callback returned; raises the platform's error for anything a host could not show as a swatch.
platform::Color PictureColor(const win32::Variant& result);

}  // namespace rowtint::host
