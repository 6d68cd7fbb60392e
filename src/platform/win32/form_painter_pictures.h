// The two pictures the forms show, drawn with GDI at the screen's scale:
// the hover face of a dialog button and the About form's logo. Each lies at
// its control's top-left corner and is clipped to the control.
#pragma once

#include <windows.h>

#include "platform/win32/form_painter_fonts.h"
#include "platform/win32/form_painter_layout.h"

namespace rowtint::win32 {

// A plain pale blue face, 130 by 30 pixels at 96 dots per inch.
inline constexpr COLORREF kHoverFaceColor = RGB(0xD8, 0xE8, 0xF7);
void DrawHoverFace(HDC dc, const RECT& control, const FormScale& scale);

// The product name on a dark blue ground, 270 by 173 pixels at 96 dots per inch.
inline constexpr COLORREF kLogoGround = RGB(0x00, 0x30, 0x80);
void DrawLogo(HDC dc, const RECT& control, const FormScale& scale, FontCache& fonts);

}  // namespace rowtint::win32
