// The simulated spreadsheet: cells, row and column sizes, zoom, scroll
// position, selection, the geometry that maps cells to pixels, and the
// drawing of the grid. It knows nothing of windows or the desktop, so that
// a stand-in host on another desktop can reuse it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/sim/framebuffer.h"
#include "platform/types.h"

namespace rowtint::sim {

struct CellRef {
  std::int32_t row = 1;
  std::int32_t column = 1;
  friend bool operator==(const CellRef&, const CellRef&) = default;
};

struct Area {
  CellRef first;
  CellRef last;
  std::int32_t Rows() const { return last.row - first.row + 1; }
  std::int32_t Columns() const { return last.column - first.column + 1; }
};

class SheetModel {
 public:
  static constexpr std::int32_t kMaxRows = 1048576;
  static constexpr std::int32_t kMaxColumns = 16384;

  // Sizes in points
  double RowHeight(std::int32_t row) const;
  double ColumnWidth(std::int32_t column) const;
  void SetRowHeight(std::int32_t row, double points) { rowHeights_[row] = points; }
  void SetColumnWidth(std::int32_t column, double points) { columnWidths_[column] = points; }

  // Pixel edges relative to the grid window's origin (which shows the scroll cell).
  std::int32_t RowEdge(std::int32_t row) const;
  std::int32_t ColumnEdge(std::int32_t column) const;
  // The last row and column that start inside a grid of this many pixels.
  CellRef LastVisible(std::int32_t gridWidth, std::int32_t gridHeight) const;

  // Cells
  void SetText(CellRef cell, const std::string& text);
  const std::string* Text(CellRef cell) const;
  std::int64_t NonEmptyCount() const { return static_cast<std::int64_t>(cells_.size()); }
  // The lowest row holding anything, 0 when the sheet is empty.
  std::int32_t LowestUsedRow() const;

  // Drawing: the grid whose origin sits at `origin` on the screen, clipped.
  void Render(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip) const;

  std::int32_t zoom = 100;
  std::int32_t dpi = 96;  // the screen's dots per inch: a point is dpi / 72 pixels
  std::string version = "16.0";
  CellRef scroll{1, 1};
  Area selection{{1, 1}, {1, 1}};
  CellRef active{1, 1};
  bool objectSelected = false;

 private:
  double PixelsPerPoint() const { return dpi / 72.0 * zoom / 100.0; }
  double PointsBefore(const std::map<std::int32_t, double>& custom, double standard, std::int32_t from,
                      std::int32_t to) const;

  std::map<std::int32_t, double> rowHeights_;
  std::map<std::int32_t, double> columnWidths_;
  std::map<std::pair<std::int32_t, std::int32_t>, std::string> cells_;
};

// Addresses: "C5", "$C$5", "A1:P30"; columns as letters.
std::string ColumnLetters(std::int32_t column);
std::optional<std::int32_t> ParseColumn(const std::string& text);  // letters or a number
std::optional<Area> ParseArea(const std::string& address);
std::string AbsoluteAddress(const Area& area);

// Half-to-even rounding, as the host rounds pixel edges.
std::int32_t RoundEven(double value);

}  // namespace rowtint::sim
