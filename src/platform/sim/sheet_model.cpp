#include "platform/sim/sheet_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace rowtint::sim {
namespace {
constexpr double kStandardRowHeight = 15;
constexpr double kStandardColumnWidth = 48;
}  // namespace

std::int32_t RoundEven(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

double SheetModel::RowHeight(std::int32_t row) const {
  auto it = rowHeights_.find(row);
  return it == rowHeights_.end() ? kStandardRowHeight : it->second;
}

double SheetModel::ColumnWidth(std::int32_t column) const {
  auto it = columnWidths_.find(column);
  return it == columnWidths_.end() ? kStandardColumnWidth : it->second;
}

std::int32_t SheetModel::Pixels(double points) const { return RoundEven(points * dpi / 72 * zoom / 100); }

double SheetModel::SnapToPixels(double points) const { return RoundEven(points * dpi / 72) * 72.0 / dpi; }

std::optional<double> SheetModel::Uniform(const std::map<std::int32_t, double>& custom, double standard,
                                          std::int32_t first, std::int32_t last) {
  std::optional<double> seen;
  std::int64_t customCount = 0;
  for (auto it = custom.lower_bound(first); it != custom.end() && it->first <= last; ++it, ++customCount) {
    if (seen && *seen != it->second) return std::nullopt;
    seen = it->second;
  }
  // Any index without a size of its own has the standard one.
  if (customCount < std::int64_t{last} - first + 1) {
    if (seen && *seen != standard) return std::nullopt;
    seen = standard;
  }
  return seen;
}

std::optional<double> SheetModel::UniformRowHeight(std::int32_t first, std::int32_t last) const {
  return Uniform(rowHeights_, kStandardRowHeight, first, last);
}

std::optional<double> SheetModel::UniformColumnWidth(std::int32_t first, std::int32_t last) const {
  return Uniform(columnWidths_, kStandardColumnWidth, first, last);
}

double SheetModel::PointsBefore(const std::map<std::int32_t, double>& custom, double standard, std::int32_t index) {
  double sum = standard * (index - 1);
  for (auto it = custom.begin(); it != custom.end() && it->first < index; ++it) sum += it->second - standard;
  return sum;
}

double SheetModel::RowTop(std::int32_t row) const { return PointsBefore(rowHeights_, kStandardRowHeight, row); }

double SheetModel::ColumnLeft(std::int32_t column) const {
  return PointsBefore(columnWidths_, kStandardColumnWidth, column);
}

// The pixels of [from, to), negative when to lies before from.
std::int32_t SheetModel::EdgeFrom(const std::map<std::int32_t, double>& custom, double standard, std::int32_t from,
                                  std::int32_t to) const {
  const bool backwards = to < from;
  if (backwards) std::swap(from, to);
  const std::int64_t standardPixels = Pixels(standard);
  std::int64_t sum = standardPixels * (to - from);
  for (auto it = custom.lower_bound(from); it != custom.end() && it->first < to; ++it)
    sum += Pixels(it->second) - standardPixels;
  sum = std::clamp<std::int64_t>(sum, 0, std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(backwards ? -sum : sum);
}

std::int32_t SheetModel::FrozenHeight() const { return EdgeFrom(rowHeights_, kStandardRowHeight, 1, frozen.row + 1); }

std::int32_t SheetModel::FrozenWidth() const {
  return EdgeFrom(columnWidths_, kStandardColumnWidth, 1, frozen.column + 1);
}

std::int32_t SheetModel::ScrolledRowEdge(std::int32_t row) const {
  return FrozenHeight() + EdgeFrom(rowHeights_, kStandardRowHeight, scroll.row, row);
}

std::int32_t SheetModel::ScrolledColumnEdge(std::int32_t column) const {
  return FrozenWidth() + EdgeFrom(columnWidths_, kStandardColumnWidth, scroll.column, column);
}

// A frozen row keeps its unscrolled place; a scrollable one scrolled out of
// view lies under the frozen rows, so that its height on the screen is nothing.
std::int32_t SheetModel::RowEdge(std::int32_t row) const {
  if (frozen.row == 0) return ScrolledRowEdge(row);
  if (row <= frozen.row + 1) return EdgeFrom(rowHeights_, kStandardRowHeight, 1, row);
  return std::max(FrozenHeight(), ScrolledRowEdge(row));
}

std::int32_t SheetModel::ColumnEdge(std::int32_t column) const {
  if (frozen.column == 0) return ScrolledColumnEdge(column);
  if (column <= frozen.column + 1) return EdgeFrom(columnWidths_, kStandardColumnWidth, 1, column);
  return std::max(FrozenWidth(), ScrolledColumnEdge(column));
}

namespace {
// The index whose pixels hold `at`, counting sizes from `first` on where
// `start` pixels are already used; nothing past `room` or the sheet's end.
template <class Size>
std::optional<std::int32_t> IndexAt(std::int32_t at, std::int32_t start, std::int32_t first, std::int32_t last,
                                    std::int32_t room, Size size) {
  if (at < start || at >= room) return std::nullopt;
  for (std::int32_t i = first, edge = start; i <= last && edge < room; ++i) {
    edge += size(i);
    if (at < edge) return i;
  }
  return std::nullopt;
}
}  // namespace

std::optional<std::int32_t> SheetModel::RowAt(std::int32_t y, std::int32_t room) const {
  auto size = [this](std::int32_t r) { return RowPixels(r); };
  if (y >= 0 && y < FrozenHeight()) return IndexAt(y, 0, 1, frozen.row, room, size);
  return IndexAt(y, FrozenHeight(), scroll.row, kMaxRows, room, size);
}

std::optional<std::int32_t> SheetModel::ColumnAt(std::int32_t x, std::int32_t room) const {
  auto size = [this](std::int32_t c) { return ColumnPixels(c); };
  if (x >= 0 && x < FrozenWidth()) return IndexAt(x, 0, 1, frozen.column, room, size);
  return IndexAt(x, FrozenWidth(), scroll.column, kMaxColumns, room, size);
}

CellRef SheetModel::LastVisible(std::int32_t gridWidth, std::int32_t gridHeight) const {
  CellRef last = scroll;
  for (std::int32_t edge = FrozenHeight() + RowPixels(last.row); last.row < kMaxRows && edge < gridHeight;)
    edge += RowPixels(++last.row);
  for (std::int32_t edge = FrozenWidth() + ColumnPixels(last.column); last.column < kMaxColumns && edge < gridWidth;)
    edge += ColumnPixels(++last.column);
  return last;
}

namespace {
// The first index to show, from `lowest` on, so that `index` ends within
// `room` pixels, moving the view as little as it can from `current`.
template <class Size>
std::int32_t LeastScroll(std::int32_t current, std::int32_t lowest, std::int32_t index, std::int32_t endEdge,
                         std::int32_t room, Size size) {
  if (index < current) return index;
  if (endEdge <= room) return current;
  std::int32_t first = index;
  for (std::int32_t used = size(index); first > lowest && used + size(first - 1) <= room;) used += size(--first);
  return first;
}
}  // namespace

// Only the scrollable part moves, within the room the frozen part leaves;
// a frozen row or column is always in view.
CellRef SheetModel::ScrollToShow(CellRef cell, std::int32_t gridWidth, std::int32_t gridHeight) const {
  const std::int32_t top = FrozenHeight(), left = FrozenWidth();
  const CellRef lowest = FirstScrollable();
  return {cell.row <= frozen.row ? scroll.row
                                 : LeastScroll(scroll.row, lowest.row, cell.row, ScrolledRowEdge(cell.row + 1) - top,
                                               gridHeight - top, [this](std::int32_t r) { return RowPixels(r); }),
          cell.column <= frozen.column
              ? scroll.column
              : LeastScroll(scroll.column, lowest.column, cell.column, ScrolledColumnEdge(cell.column + 1) - left,
                            gridWidth - left, [this](std::int32_t c) { return ColumnPixels(c); })};
}

void SheetModel::SetText(CellRef cell, const std::string& text) {
  if (text.empty())
    cells_.erase({cell.row, cell.column});
  else
    cells_[{cell.row, cell.column}] = text;
}

const std::string* SheetModel::Text(CellRef cell) const {
  auto it = cells_.find({cell.row, cell.column});
  return it == cells_.end() ? nullptr : &it->second;
}

std::int32_t SheetModel::LowestUsedRow() const { return cells_.empty() ? 0 : cells_.rbegin()->first.first; }

std::string ColumnLetters(std::int32_t column) {
  std::string letters;
  while (column > 0) {
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    column = (column - 1) / 26;
  }
  return letters;
}

std::optional<std::int32_t> ParseColumn(const std::string& text) {
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  if (std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
    if (text.size() > 6) return std::nullopt;
    value = std::stoll(text);
  } else {
    for (unsigned char c : text) {
      if (!std::isalpha(c) || value > SheetModel::kMaxColumns) return std::nullopt;
      value = value * 26 + (std::toupper(c) - 'A' + 1);
    }
  }
  if (value < 1 || value > SheetModel::kMaxColumns) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

namespace {
std::optional<CellRef> ParseCell(const std::string& text) {
  std::size_t i = 0;
  std::string letters, digits;
  if (i < text.size() && text[i] == '$') ++i;
  while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) letters += text[i++];
  if (i < text.size() && text[i] == '$') ++i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) digits += text[i++];
  if (i != text.size() || letters.empty() || digits.empty() || digits.size() > 7) return std::nullopt;
  auto column = ParseColumn(letters);
  std::int64_t row = std::stoll(digits);
  if (!column || row < 1 || row > SheetModel::kMaxRows) return std::nullopt;
  return CellRef{static_cast<std::int32_t>(row), *column};
}
}  // namespace

std::optional<Area> ParseArea(const std::string& address) {
  auto colon = address.find(':');
  auto first = ParseCell(address.substr(0, colon));
  if (!first) return std::nullopt;
  if (colon == std::string::npos) return Area{*first, *first};
  auto last = ParseCell(address.substr(colon + 1));
  if (!last) return std::nullopt;
  return Area{{std::min(first->row, last->row), std::min(first->column, last->column)},
              {std::max(first->row, last->row), std::max(first->column, last->column)}};
}

std::string AbsoluteAddress(const Area& area) {
  auto cell = [](CellRef c) { return "$" + ColumnLetters(c.column) + "$" + std::to_string(c.row); };
  if (area.first == area.last) return cell(area.first);
  return cell(area.first) + ":" + cell(area.last);
}

}  // namespace rowtint::sim
