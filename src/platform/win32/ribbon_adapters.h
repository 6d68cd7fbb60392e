// Office's ribbon objects as the add-in meets them through IDispatch: the
// IRibbonUI it keeps from onLoad, the IRibbonControl each callback passes,
// and the picture a getImage callback hands back.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>

#include "platform/ribbon.h"
#include "platform/types.h"
#include "platform/win32/com_ptr.h"

namespace rowtint::win32 {

// IRibbonUI: Invalidate (DISPID 1) and InvalidateControl (DISPID 2). Nothing raises "object not set".
std::shared_ptr<platform::RibbonUI> RibbonUiFromDispatch(IDispatch* ribbon);
// IRibbonControl.Id (DISPID 1): the id the XML gave the control.
std::string RibbonControlId(IDispatch* control);
// A square picture of `pixels` in one colour (a system colour as Windows
// shows it now), made with OleCreatePictureIndirect from a 24-bit bitmap the
// picture owns.
ComPtr<IDispatch> SwatchPicture(platform::Color color, int pixels);

}  // namespace rowtint::win32
