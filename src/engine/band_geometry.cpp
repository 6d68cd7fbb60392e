#include "engine/band_geometry.h"

#include <algorithm>

#include "engine/numeric.h"

namespace rowtint::engine {

double PointsToPixels(double points, int dpi) {
  // Multiplied before dividing: at 96 dots per inch this is exactly points * 4 / 3.
  return points * dpi / kPointsPerInch;
}

double RowHeightPixels(double heightPoints, int dpi, double zoom) {
  return (PointsToPixels(heightPoints, dpi) - 1) * zoom;
}

Rect Intersection(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool BandFits(const Rect& grid, int cellTop, double rowHeightPixels) {
  return cellTop < (grid.bottom - kBandBottomMargin) + rowHeightPixels;
}

BandRects PlaceBand(const Rect& grid, Point cell, double rowHeightPixels, double cellWidthPixels) {
  BandRects band;
  band.left.left = grid.left + kBandLeftInset;
  band.left.top = cell.y;
  band.left.bottom = ToInt32(rowHeightPixels + cell.y);
  band.left.right = cell.x < grid.right ? cell.x : grid.right - kBandRightInset;
  band.right.left = ToInt32(cellWidthPixels + band.left.right);
  band.right.top = band.left.top;
  band.right.bottom = band.left.bottom;
  band.right.right = band.right.left < grid.right ? grid.right - kBandRightInset : band.right.left + 1;
  band.outer = {band.left.left, band.left.top, band.right.right, band.left.bottom};
  return band;
}

Rect ScrolledBandStrip(const Rect& lastBand, int cellTop, double rowHeightPixels) {
  const std::int32_t rowBottom = ToInt32(rowHeightPixels + cellTop);
  const std::int32_t bandBottom = cellTop + (lastBand.bottom - lastBand.top);
  return {lastBand.left, cellTop, lastBand.right, std::max(rowBottom, bandBottom)};
}

Rect RowStrip(const Rect& grid, int cellTop, double rowHeightPixels) {
  return {grid.left + kBandLeftInset, cellTop, grid.right - kBandRightInset, ToInt32(rowHeightPixels + cellTop)};
}

}  // namespace rowtint::engine
