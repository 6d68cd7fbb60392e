// The Windows services' device contexts, pens, brushes and drawing: what
// the painter draws the band with.
#include <windows.h>

#include "platform/win32/handle_casts.h"
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

}  // namespace rowtint::win32
