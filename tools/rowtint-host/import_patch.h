// Points one import of a loaded module at another function, so that the
// stand-in sees which programs the add-in starts (and with what) without a
// program starting: the add-in's own code runs unchanged up to the call.
#pragma once

#include <windows.h>

namespace rowtint::host {

// False when the module does not import `function` from `dll` by name.
bool PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace rowtint::host
