// The band's overlays on Windows: layered popup windows owned by a workbook's
// main window, filled through UpdateLayeredWindow with a premultiplied 32-bit
// bitmap, which the desktop's compositor blends over Excel's grid.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/types.h"

namespace rowtint::win32 {

inline constexpr wchar_t kOverlayWindowClass[] = L"RowtintOverlay";
// Layered, transparent to the mouse, never activated, without a taskbar button; never topmost.
inline constexpr DWORD kOverlayExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;

// A hidden overlay owned by `owner`; null when none could be made.
HWND MakeOverlay(HWND owner) noexcept;
// Fills the overlay with `color` (0x00BBGGRR) at `alpha` and shows it over
// `screen`, without activating it; false when Windows refused.
bool ShowOverlayOver(HWND overlay, const platform::Rect& screen, platform::Color color, std::uint8_t alpha) noexcept;

}  // namespace rowtint::win32
