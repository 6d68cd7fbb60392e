// The platform's integer handles as Windows' own, and Windows' as integers.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/types.h"

namespace rowtint::win32 {

inline HWND Hwnd(platform::WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline HDC Hdc(platform::DcHandle h) { return reinterpret_cast<HDC>(h); }
inline HGDIOBJ Gdi(platform::GdiObject h) { return reinterpret_cast<HGDIOBJ>(h); }
template <class H>
std::uintptr_t Handle(H h) {
  return reinterpret_cast<std::uintptr_t>(h);
}

}  // namespace rowtint::win32
