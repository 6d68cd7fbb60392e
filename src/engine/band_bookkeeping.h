// What the band's owner keeps from one paint to the next, private to it: the
// windows it found, the scroll it drew at, and the band as it was last drawn.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/band_geometry.h"
#include "platform/types.h"

namespace rowtint::engine {

using platform::Color;
using platform::Point;
using platform::Rect;
using platform::WindowHandle;

// The band as the painter last drew it. Its rectangles stay after an erase:
// the next paint erases there. Whether it still stands on the screen, where
// a repaint of Excel's may be mended by drawing it again, is told apart.
struct DrawnBand {
  WindowHandle window = 0;  // the grid window
  WindowHandle main = 0;    // its workbook's main window, which owns the overlays
  bool onOverlay = false;   // on the overlay surface, rather than through the grid's DC
  Point origin;             // the window's client origin when the band was drawn
  // The band across the row: its parts left and right of the active cell and
  // their outer rectangle, and that rectangle within the grid. Screen coordinates.
  Rect left, right, outer;
  Rect clip;
  // The band down the column: its parts above and below the active cell,
  // the column's strip, and the strip within the grid.
  Rect above, below, columnOuter, columnClip;
  bool row = false, column = false;  // which of the two was drawn
  // What a later move keeps the band by: the active cell's row and column,
  // the grid's rectangle and the view's zoom the band was placed in, and
  // the colour as chosen.
  std::int32_t activeRow = 0, activeColumn = 0;
  Rect grid;
  std::int32_t zoomPercent = 0;
  Color chosen = 0;
  Color color = 0;  // as the screen showed it, a system colour resolved
  std::int32_t rop = 0;
  // Drawn and not erased since, where nothing tells that Excel moved it.
  bool standing = false;

  // A rectangle of the band in its window's client coordinates: a window
  // that moves takes its band along.
  Rect ClientOf(const Rect& r) const {
    return {r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
  }
  // The parts drawn, each with the clip it was drawn through: the row's two, then the column's.
  struct Part {
    Rect rect, clip;
  };
  std::vector<Part> Parts() const {
    std::vector<Part> parts;
    if (row) parts.insert(parts.end(), {{left, clip}, {right, clip}});
    if (column) parts.insert(parts.end(), {{above, columnClip}, {below, columnClip}});
    return parts;
  }
  // The four parts, each within its clip, as overlays show them; those not drawn empty.
  std::array<Rect, 4> Clipped() const {
    std::array<Rect, 4> parts{};
    if (row) parts = {Intersection(left, clip), Intersection(right, clip), Rect{}, Rect{}};
    if (column) {
      parts[2] = Intersection(above, columnClip);
      parts[3] = Intersection(below, columnClip);
    }
    return parts;
  }
  // Every rectangle of the band, for a window that moved.
  void Shift(int dx, int dy) {
    for (Rect* r : {&left, &right, &outer, &clip, &above, &below, &columnOuter, &columnClip})
      *r = {r->left + dx, r->top + dy, r->right + dx, r->bottom + dy};
  }
};

struct BandBookkeeping {
  bool redrawWholeGrid = false;                            // the next paint erases the whole grid
  bool columnCheckArmed = false;                           // the next paint refuses a column out of view, once
  std::int32_t paintScrollRow = 0, paintScrollColumn = 0;  // the view's when the painter last ran to its end
  std::int32_t tickScrollRow = 0, tickScrollColumn = 0;    // at the end of the last complete tick
  std::int32_t seenScrollColumn = 0;                       // as the latest tick read it
  WindowHandle mainWnd = 0;
  // The grid found last: with the focus elsewhere (a form, an edit box,
  // another program) the last grid stands.
  WindowHandle gridWnd = 0;
  Rect gridRect;
  DrawnBand band;
};

// What the last paint (or the resize eraser) worked out on its way, kept
// only to be shown: the active cell's corner, the band it started from, the
// strip a resize erased.
struct LastPaint {
  Point caret;
  Rect previousBand;
  Rect resizeErase;
};

}  // namespace rowtint::engine
