#include "platform/win32/win32_overlays.h"

#include <map>

#include "platform/win32/boundaries.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/module_lifetime.h"

namespace rowtint::win32 {
namespace {
int g_overlays = 0;

// What each overlay was last filled with: a band that only moved keeps its
// bitmap, and the window is moved alone, without a new bitmap for the compositor.
struct Fill {
  int width = 0, height = 0;
  platform::Color color = 0;
  std::uint8_t alpha = 0;
  bool operator==(const Fill&) const = default;
};
std::map<HWND, Fill> g_fills;

// The mouse passes through to Excel; the window keeps the library loaded while it lives.
LRESULT CALLBACK OverlayProc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    // Nothing within to size or move: no WM_SIZE or WM_MOVE after a placement.
    case WM_WINDOWPOSCHANGED:
      return 0;
    case WM_NCDESTROY:
      g_fills.erase(window);
      Let(Lifetime::OverlayWindow);
      if (--g_overlays == 0) UnregisterClassW(kOverlayWindowClass, ModuleInstance());
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, w, l);
}

// One byte of a premultiplied channel: the colour's share at the opacity.
BYTE Premultiplied(BYTE channel, std::uint8_t alpha) { return static_cast<BYTE>((channel * alpha + 127) / 255); }
}  // namespace

HWND MakeOverlay(HWND owner) noexcept {
  if (g_overlays == 0) {
    WNDCLASSW type{};
    type.lpfnWndProc = &OverlayProc;
    type.hInstance = ModuleInstance();
    type.lpszClassName = kOverlayWindowClass;
    RegisterClassW(&type);
  }
  const HWND window = CreateWindowExW(kOverlayExStyle, kOverlayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                                      ModuleInstance(), nullptr);
  if (!window) {
    if (g_overlays == 0) UnregisterClassW(kOverlayWindowClass, ModuleInstance());
    return nullptr;
  }
  ++g_overlays;
  Hold(Lifetime::OverlayWindow);
  return window;
}

bool ShowOverlayOver(HWND overlay, const platform::Rect& screen, platform::Color color, std::uint8_t alpha) noexcept {
  const int width = screen.right - screen.left, height = screen.bottom - screen.top;
  if (!overlay || width <= 0 || height <= 0) return false;
  const Fill fill{width, height, color, alpha};
  const auto last = g_fills.find(overlay);
  if (last != g_fills.end() && last->second == fill && IsWindowVisible(overlay))
    return SetWindowPos(overlay, nullptr, screen.left, screen.top, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOREDRAW |
                            SWP_NOSENDCHANGING | SWP_DEFERERASE) != FALSE;
  ScopedWindowDC desktop(nullptr, ScopedWindowDC::Area::Client);
  ScopedMemoryDC memory(desktop.Get());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(desktop.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory.Get() || !bitmap || !bits) return false;
  // BGRA, each colour channel premultiplied by the opacity, as AC_SRC_ALPHA takes it.
  const DWORD pixel = static_cast<DWORD>(alpha) << 24 |
                      static_cast<DWORD>(Premultiplied(GetRValue(static_cast<COLORREF>(color)), alpha)) << 16 |
                      static_cast<DWORD>(Premultiplied(GetGValue(static_cast<COLORREF>(color)), alpha)) << 8 |
                      Premultiplied(GetBValue(static_cast<COLORREF>(color)), alpha);
  auto* out = static_cast<DWORD*>(bits);
  for (long long i = 0, n = static_cast<long long>(width) * height; i < n; ++i) out[i] = pixel;
  const ScopedSelect select(memory.Get(), bitmap.Get());
  POINT at{screen.left, screen.top}, from{0, 0};
  SIZE size{width, height};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (!UpdateLayeredWindow(overlay, desktop.Get(), &at, &size, memory.Get(), &from, 0, &blend, ULW_ALPHA)) {
    g_fills.erase(overlay);
    return false;
  }
  try {
    g_fills[overlay] = fill;
  } catch (...) {
    // Not remembered: the next show fills the bitmap again.
  }
  if (!IsWindowVisible(overlay)) ShowWindow(overlay, SW_SHOWNOACTIVATE);
  return true;
}

}  // namespace rowtint::win32
