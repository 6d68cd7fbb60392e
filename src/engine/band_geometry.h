// Where the band goes, as arithmetic on numbers alone: the grid window's
// rectangle, the active cell's top-left corner and its size in pixels give
// the band's two rectangles and the strips the erasers repaint. No host and
// no screen here, so that every case can be worked out by hand.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace rowtint::engine {

using platform::Point;
using platform::Rect;

// The band keeps clear of the grid's left edge by 7 pixels and of its right
// edge (the scroll bar side) by 20 at 96 dots per inch; the fit test uses the
// same 20 at the bottom. On a monitor of another resolution they scale with it.
struct BandInsets {
  int left = 7;
  int right = 20;
  int bottom = 20;
  static BandInsets At(int dpi);
};
inline constexpr double kPointsPerInch = 72;

// Windows' MulDiv: a product divided, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator);

// A row's or column's size on the screen, in whole pixels as Excel draws it
// at a resolution and a zoom (a percentage): the exact size rounded, halves
// to the even neighbour.
std::int32_t SizePixels(double points, int dpi, std::int32_t zoomPercent);

// Host sizes in points as screen pixels at a resolution (4/3 at 96 dots per
// inch), before the window's zoom.
double PointsToPixels(double points, int dpi);

// The active cell's height in pixels, less the gridline, at the zoom (a
// fraction: 1 is 100 %); never rounded before use.
double RowHeightPixels(double heightPoints, int dpi, double zoom);

// The part two rectangles share; empty (right <= left) when they do not meet.
Rect Intersection(const Rect& a, const Rect& b);

struct BandRects {
  Rect left;   // from near the grid's left edge up to the active cell
  Rect right;  // from the active cell's right edge to near the grid's right edge
  Rect outer;  // left, top and bottom of the left part, right of the right part
};

// Whether a band at the cell's top still shows above the grid's bottom margin,
// compared without rounding.
bool BandFits(const Rect& grid, int cellTop, double rowHeightPixels, const BandInsets& insets = {});

// The band across the cell's row. The left part ends at the cell, or short of
// the grid's right edge when the cell lies past it; the right part starts
// where the cell ends and is one pixel wide when that is past the grid.
// Raises an overflow when a rounded edge leaves the 32-bit range.
BandRects PlaceBand(const Rect& grid, Point cell, double rowHeightPixels, double cellWidthPixels,
                    const BandInsets& insets = {});

// The band down the active cell's column: above and below the cell, between
// the row band's edges at the cell (so that, with the row band, the four
// parts tile without overlapping), from the grid's top (where the first row
// it shows begins, frozen rows included) to its bottom less the right inset.
struct ColumnBandRects {
  Rect above;
  Rect below;
  Rect outer;  // the whole column strip: left and right of the parts, the top of the upper, the bottom of the lower
};
ColumnBandRects PlaceColumnBand(const Rect& grid, const BandRects& row, const BandInsets& insets = {});

// The band a vertical scroll carried to the active row's new place: the old
// band's left and right, at least its height. Rounded at its new place, the
// row may come out a pixel shorter than the band was.
Rect ScrolledBandStrip(const Rect& lastBand, int cellTop, double rowHeightPixels);

// The active row's strip across the grid window, as the resize eraser repaints it.
Rect RowStrip(const Rect& grid, int cellTop, double rowHeightPixels, const BandInsets& insets = {});

}  // namespace rowtint::engine
