#include "screen_capture.h"

#include <windows.h>

#include "platform/win32/gdi_handles.h"

namespace rowtint::host {

BITMAPINFO TopDownDib(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

sim::FrameBuffer CaptureScreen() {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  sim::FrameBuffer frame(width, height);
  win32::ScopedWindowDC screen(nullptr, win32::ScopedWindowDC::Area::Client);
  win32::ScopedMemoryDC memory(screen.Get());
  BITMAPINFO info = TopDownDib(width, height);
  void* bits = nullptr;
  win32::UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return frame;
  {
    win32::ScopedSelect selected(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
    GdiFlush();
  }
  // 32-bit DIB pixels are 0x00RRGGBB: red and blue change places.
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      frame.Set(x, y, ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
    }
  return frame;
}

}  // namespace rowtint::host
