#include "engine/band_geometry.h"

#include <algorithm>
#include <cmath>

#include "engine/numeric.h"

namespace rowtint::engine {

BandInsets BandInsets::At(int dpi) {
  const BandInsets at96;
  return {MulDiv(at96.left, dpi, 96), MulDiv(at96.right, dpi, 96), MulDiv(at96.bottom, dpi, 96)};
}

int MulDiv(int number, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{number} * numerator, half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

std::int32_t SizePixels(double points, int dpi, std::int32_t zoomPercent) {
  // In this order, so that a size that comes out at half a pixel is met exactly as Excel meets it.
  return static_cast<std::int32_t>(std::nearbyint(points * dpi / 72 * zoomPercent / 100));
}

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

bool BandFits(const Rect& grid, int cellTop, double rowHeightPixels, const BandInsets& insets) {
  return cellTop < (grid.bottom - insets.bottom) + rowHeightPixels;
}

BandRects PlaceBand(const Rect& grid, Point cell, double rowHeightPixels, double cellWidthPixels,
                    const BandInsets& insets) {
  BandRects band;
  band.left.left = grid.left + insets.left;
  band.left.top = cell.y;
  band.left.bottom = ToInt32(rowHeightPixels + cell.y);
  band.left.right = cell.x < grid.right ? cell.x : grid.right - insets.right;
  band.right.left = ToInt32(cellWidthPixels + band.left.right);
  band.right.top = band.left.top;
  band.right.bottom = band.left.bottom;
  band.right.right = band.right.left < grid.right ? grid.right - insets.right : band.right.left + 1;
  band.outer = {band.left.left, band.left.top, band.right.right, band.left.bottom};
  return band;
}

ColumnBandRects PlaceColumnBand(const Rect& grid, const BandRects& row, const BandInsets& insets) {
  const int left = row.left.right, right = row.right.left;
  ColumnBandRects column;
  column.above = {left, grid.top, right, row.left.top};
  // A cell at the grid's bottom leaves nothing below it: empty, never turned over.
  column.below = {left, row.left.bottom, right, std::max(row.left.bottom, grid.bottom - insets.right)};
  column.outer = {left, grid.top, right, column.below.bottom};
  return column;
}

Rect ScrolledBandStrip(const Rect& lastBand, int cellTop, double rowHeightPixels) {
  const std::int32_t rowBottom = ToInt32(rowHeightPixels + cellTop);
  const std::int32_t bandBottom = cellTop + (lastBand.bottom - lastBand.top);
  return {lastBand.left, cellTop, lastBand.right, std::max(rowBottom, bandBottom)};
}

Rect RowStrip(const Rect& grid, int cellTop, double rowHeightPixels, const BandInsets& insets) {
  return {grid.left + insets.left, cellTop, grid.right - insets.right, ToInt32(rowHeightPixels + cellTop)};
}

}  // namespace rowtint::engine
