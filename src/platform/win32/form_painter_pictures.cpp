#include "platform/win32/form_painter_pictures.h"

#include "platform/win32/gdi_handles.h"

namespace rowtint::win32 {
namespace {

constexpr COLORREF kLogoBand = RGB(0xB6, 0xCA, 0xDE);
constexpr COLORREF kLogoText = RGB(0xFF, 0xFF, 0xFF);

RECT PictureArea(const RECT& control, int width, int height) {
  RECT picture{control.left, control.top, control.left + width, control.top + height};
  RECT shown{};
  IntersectRect(&shown, &picture, &control);
  return shown;
}

void Fill(HDC dc, const RECT& area, COLORREF color) {
  UniqueBrush brush(CreateSolidBrush(color));
  FillRect(dc, &area, brush.Get());
}

// Keeps drawing inside one rectangle, and gives the DC back as it was.
class ScopedClip {
 public:
  ScopedClip(HDC dc, const RECT& area) : dc_(dc), saved_(SaveDC(dc)) {
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  }
  ~ScopedClip() { RestoreDC(dc_, saved_); }
  ScopedClip(const ScopedClip&) = delete;
  ScopedClip& operator=(const ScopedClip&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace

void DrawHoverFace(HDC dc, const RECT& control, const FormScale& scale) {
  Fill(dc, PictureArea(control, scale.X96(130), scale.Y96(30)), kHoverFaceColor);
}

void DrawLogo(HDC dc, const RECT& control, const FormScale& scale, FontCache& fonts) {
  const RECT area = PictureArea(control, scale.X96(270), scale.Y96(173));
  if (IsRectEmpty(&area)) return;
  ScopedClip clip(dc, area);
  const RECT ground{control.left, control.top, control.left + scale.X96(270), control.top + scale.Y96(173)};
  Fill(dc, ground, kLogoGround);
  // A pale band across the ground, as the add-in lays one across a row.
  const RECT band{ground.left, ground.top + scale.Y96(104), ground.right, ground.top + scale.Y96(124)};
  Fill(dc, band, kLogoBand);

  RECT name{ground.left, ground.top + scale.Y96(36), ground.right, band.top - scale.Y96(8)};
  ScopedSelect font(dc, fonts.Get(dc, "Tahoma", 30, true, ANSI_CHARSET));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLogoText);
  DrawTextW(dc, L"Rowtint", -1, &name, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace rowtint::win32
