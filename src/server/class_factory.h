// The class factory of Rowtint.Connect.
#pragma once

#include <windows.h>

#include "platform/win32/com_ptr.h"

namespace rowtint::win32 {

// A new class factory for Rowtint.Connect, or an empty reference for another class.
ComPtr<IClassFactory> ConnectClassFactory();

}  // namespace rowtint::win32
