#include "platform/win32/form_painter.h"

#include <string>

#include "platform/win32/form_painter_pictures.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {

void Fill(HDC dc, const RECT& area, platform::Color color) {
  UniqueBrush brush(CreateSolidBrush(ResolveColor(color)));
  FillRect(dc, &area, brush.Get());
}

// A single border, one pixel wide at any scale.
void Outline(HDC dc, const RECT& area, platform::Color color) {
  UniqueBrush brush(CreateSolidBrush(ResolveColor(color)));
  FrameRect(dc, &area, brush.Get());
}

}  // namespace

COLORREF ResolveColor(platform::Color color) {
  const auto value = static_cast<std::uint32_t>(color);
  if (value & 0x80000000u) return GetSysColor(static_cast<int>(value & 0xFF));
  return value & 0xFFFFFF;
}

void FormPainter::Paint(HDC dc, const platform::FormWindow& form, SIZE client) {
  Fill(dc, RECT{0, 0, client.cx, client.cy}, form.BackColor());
  SetBkMode(dc, TRANSPARENT);
  const auto& controls = form.Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    if (it->visible) PaintControl(dc, *it);
}

void FormPainter::PaintControl(HDC dc, const platform::ControlState& control) {
  const RECT r = ControlPixels(scale_, control);
  if (control.kind == platform::ControlKind::Image) {
    // Pictures have no ground of their own: what lies below shows around them.
    if (control.picture == "logo")
      DrawLogo(dc, r, scale_, fonts_);
    else if (control.picture == "hover")
      DrawHoverFace(dc, r, scale_);
  } else if (!control.transparent) {
    Fill(dc, r, control.backColor);
  }

  if (control.kind == platform::ControlKind::OptionButton) {
    PaintOptionButton(dc, control, r);
  } else if (!control.caption.empty()) {
    RECT text = r;
    if (control.bordered) InflateRect(&text, -1, -1);
    // A label's text starts at its top and wraps at word boundaries.
    const UINT align = control.align == platform::TextAlign::Center ? DT_CENTER : DT_LEFT;
    PaintCaption(dc, control, text, align | DT_WORDBREAK);
  }
  if (control.bordered) Outline(dc, r, control.borderColor);
}

void FormPainter::PaintOptionButton(HDC dc, const platform::ControlState& control, const RECT& r) {
  const int side = scale_.Y96(13);
  const int top = r.top + (r.bottom - r.top - side) / 2;
  RECT glyph{r.left, top, r.left + scale_.X96(13), top + side};
  DrawFrameControl(dc, &glyph, DFC_BUTTON, DFCS_BUTTONRADIO | (control.value ? DFCS_CHECKED : 0));
  RECT text{glyph.right + scale_.X96(4), r.top, r.right, r.bottom};
  PaintCaption(dc, control, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void FormPainter::PaintCaption(HDC dc, const platform::ControlState& control, RECT r, UINT format) {
  ScopedSelect font(dc, fonts_.Get(dc, control.fontName, control.fontSize, control.fontBold, control.charset));
  SetTextColor(dc, ResolveColor(control.foreColor));
  const std::wstring caption = Widen(control.caption);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, format | DT_NOPREFIX);
}

}  // namespace rowtint::win32
