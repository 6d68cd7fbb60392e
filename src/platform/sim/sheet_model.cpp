#include "platform/sim/sheet_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>

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

// Sum of the sizes of [from, to), negative when to lies before from.
double SheetModel::PointsBefore(const std::map<std::int32_t, double>& custom, double standard, std::int32_t from,
                                std::int32_t to) const {
  const bool backwards = to < from;
  if (backwards) std::swap(from, to);
  double sum = standard * (to - from);
  for (auto it = custom.lower_bound(from); it != custom.end() && it->first < to; ++it) sum += it->second - standard;
  return backwards ? -sum : sum;
}

std::int32_t SheetModel::RowEdge(std::int32_t row) const {
  return RoundEven(PointsBefore(rowHeights_, kStandardRowHeight, scroll.row, row) * dpi / 72 * zoom / 100);
}

std::int32_t SheetModel::ColumnEdge(std::int32_t column) const {
  return RoundEven(PointsBefore(columnWidths_, kStandardColumnWidth, scroll.column, column) * dpi / 72 * zoom / 100);
}

CellRef SheetModel::LastVisible(std::int32_t gridWidth, std::int32_t gridHeight) const {
  CellRef last = scroll;
  while (last.row < kMaxRows && RowEdge(last.row + 1) < gridHeight) ++last.row;
  while (last.column < kMaxColumns && ColumnEdge(last.column + 1) < gridWidth) ++last.column;
  return last;
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

std::int32_t SheetModel::LowestUsedRow() const {
  std::int32_t lowest = 0;
  for (const auto& [key, text] : cells_) lowest = std::max(lowest, key.first);
  return lowest;
}

void SheetModel::Render(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip) const {
  fb.Fill(clip, clip, kCellWhite);
  const CellRef last = LastVisible(clip.right - origin.x, clip.bottom - origin.y);
  for (std::int32_t r = scroll.row; r <= last.row; ++r) {
    const int top = origin.y + RowEdge(r), bottom = origin.y + RowEdge(r + 1);
    if (bottom <= clip.top) continue;
    for (std::int32_t c = scroll.column; c <= last.column; ++c) {
      const int left = origin.x + ColumnEdge(c), right = origin.x + ColumnEdge(c + 1);
      if (right <= clip.left) continue;
      const platform::Rect cell{left, top, right, bottom};
      const platform::Rect inside = Intersect(cell, clip);
      if (inside.Empty()) continue;
      fb.Fill({right - 1, top, right, bottom}, inside, kGridline);
      fb.Fill({left, bottom - 1, right, bottom}, inside, kGridline);
      if (const std::string* text = Text({r, c})) {
        const int scale = zoom >= 150 ? 2 : 1;
        const int textTop = top + std::max(1, (bottom - top - kGlyphHeight * scale) / 2);
        DrawText(fb, left + 3, textTop, *text, kTextInk, Intersect(inside, {left, top, right - 1, bottom - 1}),
                 scale);
      }
      if (!objectSelected && active == CellRef{r, c}) {
        // The active cell's border stays inside the cell, clear of the band beside it.
        fb.Outline({left, top, right - 1, bottom - 1}, inside, kActiveBorder, 2);
      }
    }
  }
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
