// The drawing of the grid, its frozen part and the active cell's border, as
// both hosts show it.
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/sim/glyphs.h"
#include "platform/sim/sheet_model.h"

namespace rowtint::sim {
namespace {
constexpr Pixel kCellWhite = 0xFFFFFF;
constexpr Pixel kGridline = 0xD4D4D4;
constexpr Pixel kTextInk = 0x000000;
constexpr Pixel kActiveBorder = 0x467321;  // host green
constexpr Pixel kFreezeLine = 0x7F7F7F;
}  // namespace

void SheetModel::Render(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip) const {
  fb.Fill(clip, clip, kCellWhite);
  bool drawn = false;
  if (frozen.row == 0 && frozen.column == 0) {
    drawn = RenderCells(fb, origin, clip, scroll);
  } else {
    // Each part of the freeze shows the sheet from its own first cell, and only within its own part of the grid.
    const std::int32_t splitY = origin.y + FrozenHeight(), splitX = origin.x + FrozenWidth();
    for (const bool upper : {true, false}) {
      if (upper && frozen.row == 0) continue;
      for (const bool left : {true, false}) {
        if (left && frozen.column == 0) continue;
        platform::Rect part = clip;
        if (frozen.row > 0) {
          if (upper)
            part.bottom = std::min(part.bottom, splitY);
          else
            part.top = std::max(part.top, splitY);
        }
        if (frozen.column > 0) {
          if (left)
            part.right = std::min(part.right, splitX);
          else
            part.left = std::max(part.left, splitX);
        }
        if (part.Empty()) continue;
        const CellRef from{upper ? 1 : scroll.row, left ? 1 : scroll.column};
        const platform::Point at{frozen.column > 0 && !left ? splitX : origin.x,
                                 frozen.row > 0 && !upper ? splitY : origin.y};
        drawn = RenderCells(fb, at, part, from) || drawn;
      }
    }
    // The freeze's edges darken the last frozen row's and column's gridlines.
    if (frozen.row > 0) fb.Fill({clip.left, splitY - 1, clip.right, splitY}, clip, kFreezeLine);
    if (frozen.column > 0) fb.Fill({splitX - 1, clip.top, splitX, clip.bottom}, clip, kFreezeLine);
  }
  if (!drawn || objectSelected) return;
  // The active cell's border stays inside the cell, clear of the band beside it.
  const platform::Rect cell{origin.x + ColumnEdge(active.column), origin.y + RowEdge(active.row),
                            origin.x + ColumnEdge(active.column + 1), origin.y + RowEdge(active.row + 1)};
  if (!cell.Empty())
    fb.Outline({cell.left, cell.top, cell.right - 1, cell.bottom - 1}, Intersect(cell, clip), kActiveBorder, 2);
}

bool SheetModel::RenderCells(FrameBuffer& fb, platform::Point origin, const platform::Rect& clip, CellRef from) const {
  // The columns that reach into the clip, with their screen edges.
  struct Span {
    std::int32_t index, start, end;
  };
  std::vector<Span> columns;
  for (std::int32_t c = from.column, x = origin.x; c <= kMaxColumns && x < clip.right; ++c) {
    const std::int32_t right = x + ColumnPixels(c);
    if (right > clip.left && right > x) columns.push_back({c, x, right});
    x = right;
  }
  if (columns.empty()) return false;
  const int scale = zoom >= 150 ? 2 : 1;
  // A window that repaints part of itself renders from an origin above and
  // left of its buffer: the first row's top may lie below zero.
  std::optional<std::int32_t> firstTop;
  std::int32_t lastBottom = 0;
  for (std::int32_t r = from.row, y = origin.y; r <= kMaxRows && y < clip.bottom; ++r) {
    const std::int32_t top = y, bottom = y + RowPixels(r);
    y = bottom;
    if (bottom <= clip.top || bottom == top) continue;
    if (!firstTop) firstTop = top;
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
  if (!firstTop) return false;
  for (const Span& c : columns) fb.Fill({c.end - 1, *firstTop, c.end, lastBottom}, clip, kGridline);
  return true;
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

}  // namespace rowtint::sim
