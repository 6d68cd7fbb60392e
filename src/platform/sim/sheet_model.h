// The simulated spreadsheet: cells, row and column sizes, zoom, scroll
// position, selection, the geometry that maps cells to pixels, and the
// drawing of the grid. It knows nothing of windows or the desktop, so that
// a stand-in host on another desktop can reuse it.
//
// As in the host, every row and column is a whole number of pixels at the
// current zoom, and an edge is the sum of the sizes before it: scrolling by
// some rows moves the picture by exactly the pixels of those rows.
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
  static constexpr double kMaxRowHeight = 409;  // points
  // 255 characters of the standard font (7 pixels each, 5 of margin): 1,790 pixels at 96 dots per inch.
  static constexpr double kMaxColumnWidth = 1342.5;  // points
  static constexpr std::int32_t kMinZoom = 10;
  static constexpr std::int32_t kMaxZoom = 400;

  // Sizes in points, as the host reports them.
  double RowHeight(std::int32_t row) const;
  double ColumnWidth(std::int32_t column) const;
  // The host keeps sizes in whole pixels of the screen: a size is rounded to the nearest one.
  void SetRowHeight(std::int32_t row, double points) { rowHeights_[row] = SnapToPixels(points); }
  void SetColumnWidth(std::int32_t column, double points) { columnWidths_[column] = SnapToPixels(points); }

  // The one size of the rows (columns) from `first` to `last`, or nothing when they differ.
  std::optional<double> UniformRowHeight(std::int32_t first, std::int32_t last) const;
  std::optional<double> UniformColumnWidth(std::int32_t first, std::int32_t last) const;

  // Sizes in pixels at the current zoom.
  std::int32_t RowPixels(std::int32_t row) const { return Pixels(RowHeight(row)); }
  std::int32_t ColumnPixels(std::int32_t column) const { return Pixels(ColumnWidth(column)); }
  // Pixel edges relative to the grid window's origin, where the grid shows
  // the row (column). With no freeze the origin shows the scroll cell, and
  // rows scrolled out of view lie above the grid; with one it shows A1, a
  // frozen row keeps its place and a scrolled-out one lies under the frozen
  // rows, with no height on the screen.
  std::int32_t RowEdge(std::int32_t row) const;
  std::int32_t ColumnEdge(std::int32_t column) const;
  // Where the scrollable part puts the row (column), whether or not it shows there.
  std::int32_t ScrolledRowEdge(std::int32_t row) const;
  std::int32_t ScrolledColumnEdge(std::int32_t column) const;
  // The pixels the frozen rows (columns) take at the grid's top (left); 0 with no freeze.
  std::int32_t FrozenHeight() const;
  std::int32_t FrozenWidth() const;
  // The lowest scroll position the freeze leaves.
  CellRef FirstScrollable() const { return {frozen.row + 1, frozen.column + 1}; }
  // Points from the sheet's top (left) edge to the row's (column's), as Range.Top and .Left give them.
  double RowTop(std::int32_t row) const;
  double ColumnLeft(std::int32_t column) const;
  // The row (column) that shows at a distance from the grid's top (left)
  // edge in pixels, in a grid of `room` pixels; nothing outside it.
  std::optional<std::int32_t> RowAt(std::int32_t y, std::int32_t room) const;
  std::optional<std::int32_t> ColumnAt(std::int32_t x, std::int32_t room) const;
  // The last row and column that start inside a grid of this many pixels, after the frozen ones.
  CellRef LastVisible(std::int32_t gridWidth, std::int32_t gridHeight) const;
  // The scroll position nearest the current one that shows the cell whole in
  // a grid of this size (its top-left corner when it is larger than the grid).
  CellRef ScrollToShow(CellRef cell, std::int32_t gridWidth, std::int32_t gridHeight) const;

  // Cells
  void SetText(CellRef cell, const std::string& text);
  const std::string* Text(CellRef cell) const;
  std::int64_t NonEmptyCount() const { return static_cast<std::int64_t>(cells_.size()); }
  // The lowest row holding anything, 0 when the sheet is empty.
  std::int32_t LowestUsedRow() const;

  // Drawing: the grid whose origin sits at `origin` on the screen, clipped.
  void Render(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip) const;
  // The active cell in the grid's client coordinates, where the in-cell editor lies.
  platform::Rect ActiveCellRect() const;
  // The in-cell editor, its top-left corner at `origin` on the screen: white, with the cell's text.
  void RenderEditor(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip) const;

  std::int32_t zoom = 100;
  std::int32_t dpi = 96;  // the screen's dots per inch: a point is dpi / 72 pixels
  std::string version = "16.0";
  // The first scrollable row and column shown.
  CellRef scroll{1, 1};
  // How many rows and columns from the first stay in view whatever the scroll.
  CellRef frozen{0, 0};
  Area selection{{1, 1}, {1, 1}};
  CellRef active{1, 1};
  bool objectSelected = false;

 private:
  std::int32_t Pixels(double points) const;
  // Draws the cells from `from` on with its top-left corner at `origin`; false when none reaches into the clip.
  bool RenderCells(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip, CellRef from) const;
  double SnapToPixels(double points) const;
  static std::optional<double> Uniform(const std::map<std::int32_t, double>& custom, double standard,
                                       std::int32_t first, std::int32_t last);
  static double PointsBefore(const std::map<std::int32_t, double>& custom, double standard, std::int32_t index);
  std::int32_t EdgeFrom(const std::map<std::int32_t, double>& custom, double standard, std::int32_t from,
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
