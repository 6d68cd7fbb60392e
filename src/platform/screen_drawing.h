// Drawing on the screen through a window's device context, and asking the
// windows under an area to repaint it: the graphics calls the band needs.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace rowtint::platform {

inline constexpr std::uint32_t kRdwInvalidate = 0x0001;
inline constexpr std::uint32_t kRdwAllChildren = 0x0080;
inline constexpr std::int32_t kR2MaskPen = 9;       // P AND D
inline constexpr std::int32_t kR2CopyPen = 13;      // P
inline constexpr std::int32_t kR2MergePenNot = 14;  // P OR NOT D

class ScreenDrawing {
 public:
  virtual ~ScreenDrawing() = default;

  // Repaint requests, the rectangle in the window's client coordinates; no
  // window is the desktop, whose coordinates are the screen's.
  virtual bool RedrawWindow(WindowHandle hwnd, const Rect* rect, std::uint32_t flags) = 0;
  virtual bool UpdateWindow(WindowHandle hwnd) = 0;

  virtual DcHandle GetWindowDC(WindowHandle hwnd) = 0;
  // The DC of a window's client area: its (0, 0) is the client's top-left
  // corner, and nothing drawn through it lands outside the client area or on
  // a window lying above it.
  virtual DcHandle GetDC(WindowHandle hwnd) = 0;
  virtual int ReleaseDC(WindowHandle hwnd, DcHandle dc) = 0;
  virtual GdiObject CreateSolidBrush(Color color) = 0;
  virtual bool DeleteObject(GdiObject object) = 0;
  virtual GdiObject SelectObject(DcHandle dc, GdiObject object) = 0;
  virtual int SaveDC(DcHandle dc) = 0;
  virtual bool RestoreDC(DcHandle dc, int savedDc) = 0;
  virtual int SetROP2(DcHandle dc, int rop) = 0;
  virtual bool Rectangle(DcHandle dc, int left, int top, int right, int bottom) = 0;
  // Later drawing on the DC stays inside the rectangle (and whatever limit it had); RestoreDC lifts it.
  virtual int IntersectClipRect(DcHandle dc, int left, int top, int right, int bottom) = 0;
  // The colour Windows shows now for a system colour index (15 is the button face).
  virtual Color GetSysColor(int index) = 0;
  // A pixel as a DC holds it (0x00BBGGRR); nothing outside the DC's area.
  virtual std::optional<Color> GetPixel(DcHandle dc, int x, int y) = 0;
  // A pixel of the screen as the user sees it now (under the desktop's
  // compositor, what it shows); nothing outside the screen.
  virtual std::optional<Color> ScreenPixel(Point point) = 0;
};

}  // namespace rowtint::platform
