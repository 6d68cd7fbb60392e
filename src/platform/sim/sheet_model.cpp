#include "platform/sim/sheet_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/sim/glyphs.h"

namespace rowtint::sim {
namespace {
constexpr double kStandardRowHeight = 15;
constexpr double kStandardColumnWidth = 48;
constexpr Pixel kCellWhite = 0xFFFFFF;
constexpr Pixel kGridline = 0xD4D4D4;
constexpr Pixel kTextInk = 0x000000;
constexpr Pixel kActiveBorder = 0x467321;  // host green
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

std::int32_t SheetModel::RowEdge(std::int32_t row) const {
  return EdgeFrom(rowHeights_, kStandardRowHeight, scroll.row, row);
}

std::int32_t SheetModel::ColumnEdge(std::int32_t column) const {
  return EdgeFrom(columnWidths_, kStandardColumnWidth, scroll.column, column);
}

CellRef SheetModel::LastVisible(std::int32_t gridWidth, std::int32_t gridHeight) const {
  CellRef last = scroll;
  for (std::int32_t edge = RowPixels(last.row); last.row < kMaxRows && edge < gridHeight;)
    edge += RowPixels(++last.row);
  for (std::int32_t edge = ColumnPixels(last.column); last.column < kMaxColumns && edge < gridWidth;)
    edge += ColumnPixels(++last.column);
  return last;
}

namespace {
// The first index to show so that `index` ends within `room` pixels,
// moving the view as little as it can from `current`.
template <class Size>
std::int32_t LeastScroll(std::int32_t current, std::int32_t index, std::int32_t endEdge, std::int32_t room, Size size) {
  if (index < current) return index;
  if (endEdge <= room) return current;
  std::int32_t first = index;
  for (std::int32_t used = size(index); first > 1 && used + size(first - 1) <= room;) used += size(--first);
  return first;
}
}  // namespace

CellRef SheetModel::ScrollToShow(CellRef cell, std::int32_t gridWidth, std::int32_t gridHeight) const {
  return {LeastScroll(scroll.row, cell.row, RowEdge(cell.row + 1), gridHeight,
                      [this](std::int32_t r) { return RowPixels(r); }),
          LeastScroll(scroll.column, cell.column, ColumnEdge(cell.column + 1), gridWidth,
                      [this](std::int32_t c) { return ColumnPixels(c); })};
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

void SheetModel::Render(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip) const {
  fb.Fill(clip, clip, kCellWhite);
  // The columns that reach into the clip, with their screen edges.
  struct Span {
    std::int32_t index, start, end;
  };
  std::vector<Span> columns;
  for (std::int32_t c = scroll.column, x = origin.x; c <= kMaxColumns && x < clip.right; ++c) {
    const std::int32_t right = x + ColumnPixels(c);
    if (right > clip.left && right > x) columns.push_back({c, x, right});
    x = right;
  }
  if (columns.empty()) return;
  const int scale = zoom >= 150 ? 2 : 1;
  std::int32_t firstTop = -1, lastBottom = -1;
  for (std::int32_t r = scroll.row, y = origin.y; r <= kMaxRows && y < clip.bottom; ++r) {
    const std::int32_t top = y, bottom = y + RowPixels(r);
    y = bottom;
    if (bottom <= clip.top || bottom == top) continue;
    if (firstTop < 0) firstTop = top;
    lastBottom = bottom;
    fb.Fill({columns.front().start, bottom - 1, columns.back().end, bottom}, clip, kGridline);
    // The texts of this row within the columns shown.
    for (auto it = cells_.lower_bound({r, columns.front().index});
         it != cells_.end() && it->first.first == r && it->first.second <= columns.back().index; ++it) {
      const auto column = std::lower_bound(columns.begin(), columns.end(), it->first.second,
                                           [](const Span& s, std::int32_t c) { return s.index < c; });
      if (column == columns.end() || column->index != it->first.second) continue;
      const platform::Rect inside = Intersect({column->start, top, column->end - 1, bottom - 1}, clip);
      const int textTop = top + std::max(1, (bottom - top - kGlyphHeight * scale) / 2);
      DrawText(fb, column->start + 3, textTop, it->second, kTextInk, inside, scale);
    }
  }
  if (firstTop < 0) return;
  for (const Span& c : columns) fb.Fill({c.end - 1, firstTop, c.end, lastBottom}, clip, kGridline);
  if (objectSelected) return;
  // The active cell's border stays inside the cell, clear of the band beside it.
  const platform::Rect cell{origin.x + ColumnEdge(active.column), origin.y + RowEdge(active.row),
                            origin.x + ColumnEdge(active.column + 1), origin.y + RowEdge(active.row + 1)};
  if (!cell.Empty())
    fb.Outline({cell.left, cell.top, cell.right - 1, cell.bottom - 1}, Intersect(cell, clip), kActiveBorder, 2);
}

platform::Rect SheetModel::ActiveCellRect() const {
  return {ColumnEdge(active.column), RowEdge(active.row), ColumnEdge(active.column + 1), RowEdge(active.row + 1)};
}

// The text sits where the grid shows it, so that only the cell's gridlines and border go.
void SheetModel::RenderEditor(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip) const {
  const platform::Rect cell = ActiveCellRect();
  const platform::Rect box{origin.x, origin.y, origin.x + cell.right - cell.left, origin.y + cell.bottom - cell.top};
  fb.Fill(box, clip, kCellWhite);
  const std::string* text = Text(active);
  if (!text) return;
  const int scale = zoom >= 150 ? 2 : 1;
  const int textTop = box.top + std::max(1, (box.bottom - box.top - kGlyphHeight * scale) / 2);
  DrawText(fb, box.left + 3, textTop, *text, kTextInk, Intersect(box, clip), scale);
}

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
