// What the band's owner shows of itself to a host that prints its state: a
// copy, under the names the add-in's variables have always had, so that
// scripts and the comparison of the two hosts keep their keys.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace rowtint::engine {

struct BandSnapshot {
  using Rect = platform::Rect;
  using Point = platform::Point;
  bool HostApp = false;  // connected to an Application
  platform::WindowHandle ExcelMainWnd = 0;
  platform::Color HighlightColor = 0;
  bool HighlightOff = false;
  std::int32_t RopMode = 0;
  platform::Color HistoryColor1 = 0, HistoryColor2 = 0, HistoryColor3 = 0;
  bool RedrawWholeGrid = false;
  bool ColumnCheckArmed = false;
  std::int32_t PaintScrollRow = 0, PaintScrollColumn = 0;
  std::int32_t TickScrollRow = 0, TickScrollColumn = 0, SeenScrollColumn = 0;
  platform::DcHandle ScreenDC = 0;  // the DC is the paint's own: none outlives it
  Point CaretPoint;
  Rect GridRect, LeftBandRect, RightBandRect, LastBandRect, PrevBandRect, ResizeEraseRect;
  Rect ColumnBandRect;  // the column's strip of the band last drawn with one; empty without
  std::int32_t SelScrollRow = 0, LastSelColumn = 0;
};

}  // namespace rowtint::engine
