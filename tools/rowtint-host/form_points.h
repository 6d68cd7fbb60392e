// Where the user's pointer goes on one of the add-in's form windows: the
// middle of a named control's visible part, or a corner of the bare
// background, in the window's client coordinates. The places come from the
// forms' own layout at the screen's dots per inch, as the window lays them out.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace rowtint::host {

// nullopt when the form has no such control. "background" is the bare form.
std::optional<POINT> FormPoint(HWND form, const std::string& control);

}  // namespace rowtint::host
