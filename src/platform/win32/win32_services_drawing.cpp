// The Windows services' device contexts, pens, brushes and drawing: what
// the painter draws the band with.
#include <windows.h>

#include "platform/win32/gdi_handles.h"
#include "platform/win32/handle_casts.h"
#include "platform/win32/win32_overlays.h"
#include "platform/win32/win32_services.h"

namespace rowtint::win32 {
using platform::Color;
using platform::DcHandle;
using platform::GdiObject;
using platform::WindowHandle;

DcHandle Win32Services::GetWindowDC(WindowHandle hwnd) { return Handle(::GetWindowDC(Hwnd(hwnd))); }

DcHandle Win32Services::GetDC(WindowHandle hwnd) { return hwnd ? Handle(::GetDC(Hwnd(hwnd))) : 0; }

int Win32Services::ReleaseDC(WindowHandle hwnd, DcHandle dc) { return ::ReleaseDC(Hwnd(hwnd), Hdc(dc)); }

GdiObject Win32Services::CreateSolidBrush(Color color) {
  return Handle(::CreateSolidBrush(static_cast<COLORREF>(color)));
}

bool Win32Services::DeleteObject(GdiObject object) { return ::DeleteObject(Gdi(object)) != FALSE; }

GdiObject Win32Services::SelectObject(DcHandle dc, GdiObject object) {
  return Handle(::SelectObject(Hdc(dc), Gdi(object)));
}

int Win32Services::SaveDC(DcHandle dc) { return ::SaveDC(Hdc(dc)); }

bool Win32Services::RestoreDC(DcHandle dc, int savedDc) { return ::RestoreDC(Hdc(dc), savedDc) != FALSE; }

int Win32Services::SetROP2(DcHandle dc, int rop) { return ::SetROP2(Hdc(dc), rop); }

bool Win32Services::Rectangle(DcHandle dc, int left, int top, int right, int bottom) {
  return ::Rectangle(Hdc(dc), left, top, right, bottom) != FALSE;
}

int Win32Services::IntersectClipRect(DcHandle dc, int left, int top, int right, int bottom) {
  return ::IntersectClipRect(Hdc(dc), left, top, right, bottom);
}

platform::Color Win32Services::GetSysColor(int index) { return static_cast<platform::Color>(::GetSysColor(index)); }

std::optional<platform::Color> Win32Services::GetPixel(DcHandle dc, int x, int y) {
  const COLORREF pixel = ::GetPixel(Hdc(dc), x, y);
  if (pixel == CLR_INVALID) return std::nullopt;
  return static_cast<platform::Color>(pixel);
}

// The screen's DC reads what the compositor shows there.
std::optional<platform::Color> Win32Services::ScreenPixel(Point point) {
  const ScopedWindowDC screen(nullptr, ScopedWindowDC::Area::Client);
  if (!screen.Get()) return std::nullopt;
  const COLORREF pixel = ::GetPixel(screen.Get(), point.x, point.y);
  if (pixel == CLR_INVALID) return std::nullopt;
  return static_cast<platform::Color>(pixel);
}

WindowHandle Win32Services::CreateOverlay(WindowHandle owner) { return Handle(MakeOverlay(Hwnd(owner))); }

bool Win32Services::ShowOverlay(WindowHandle overlay, const Rect& screenRect, platform::Color color,
                                std::uint8_t alpha) {
  return ShowOverlayOver(Hwnd(overlay), screenRect, color, alpha);
}

void Win32Services::HideOverlay(WindowHandle overlay) {
  if (IsWindowVisible(Hwnd(overlay))) ShowWindow(Hwnd(overlay), SW_HIDE);
}

void Win32Services::DestroyOverlay(WindowHandle overlay) { DestroyWindow(Hwnd(overlay)); }

}  // namespace rowtint::win32
