// The add-in's ribbon XML as the stand-in reads it: with MSXML 6, which
// Windows and Wine provide, under the same rules as the simulator's reading
// with pugixml, so that both hosts find the same controls and callbacks.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/sim/ribbon_model.h"

namespace rowtint::host {

// Raises std::runtime_error for text MSXML cannot load or without a customUI element.
sim::RibbonXml ParseRibbonXml(BSTR text);

}  // namespace rowtint::host
