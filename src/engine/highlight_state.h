// The highlight state every part of the add-in shares: one set per loaded
// library, kept from one connection to the next, touched only on the host's
// user-interface thread.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/host.h"
#include "platform/types.h"

namespace rowtint::engine {

using platform::Color;
using platform::DcHandle;
using platform::Point;
using platform::Rect;
using platform::VbBool;
using platform::WindowHandle;

inline constexpr Color kWoberColor = 14600886;           // 0x00DECAB6, also the default band colour
inline constexpr Color kWarmColor = 16366575;            // 0x00F9BBEF
inline constexpr Color kEmptySwatchColor = -2147483633;  // 0x8000000F, COLOR_BTNFACE: an empty history slot

struct HighlightState {
  // Settings, switch and mode
  std::shared_ptr<platform::host::Application> HostApp;
  WindowHandle ExcelMainWnd = 0;
  Color HighlightColor = 0;  // 0: not chosen yet
  VbBool HighlightOff = platform::kFalse;
  std::int32_t RopMode = 0;  // 0: not chosen yet
  Color HistoryColor1 = 0;
  Color HistoryColor2 = 0;
  Color HistoryColor3 = 0;

  // Engine bookkeeping
  VbBool RedrawWholeGrid = platform::kFalse;
  VbBool ColumnCheckArmed = platform::kFalse;
  std::int32_t PaintScrollRow = 0;
  std::int32_t PaintScrollColumn = 0;
  std::int32_t TickScrollRow = 0;
  std::int32_t TickScrollColumn = 0;
  std::int32_t SeenScrollColumn = 0;
  DcHandle ScreenDC = 0;  // the grid window's client DC while a band is drawn
  Point CaretPoint;
  // The grid window found last, and the one the last band was drawn on: a
  // band is erased on its own window, even after the user went to another
  // workbook's. The rectangles are screen coordinates.
  WindowHandle GridWnd = 0;
  WindowHandle BandWnd = 0;
  Rect GridRect;
  Rect LeftBandRect;
  Rect RightBandRect;
  Rect LastBandRect;
  Rect PrevBandRect;
  Rect ResizeEraseRect;
};

inline bool IsTrue(VbBool value) { return value == platform::kTrue; }

}  // namespace rowtint::engine
