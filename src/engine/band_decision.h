// Whether the active cell's position allows a band, as arithmetic on the
// row and column numbers the painter read from the host.
#pragma once

#include <cstdint>

namespace rowtint::engine {

// The active cell and the first and last cell of the visible range of the
// pane that shows it. In a frozen pane every row is whole: its last one is
// not cut off by the grid's edge.
struct ViewPosition {
  std::int32_t activeRow = 0, topRow = 0, bottomRow = 0;
  std::int32_t activeColumn = 0, leftColumn = 0, rightColumn = 0;
  bool rowsWhole = false;
  bool columnsWhole = false;  // the frozen columns' pane: none of its columns is cut off by the grid's edge
};

enum class PositionVerdict {
  GoOn,
  EndRun,           // the row lies outside the visible rows (the last one, usually cut off, counts as outside)
  EndRunAndDisarm,  // the column lies outside the visible columns while the check is armed
};

PositionVerdict JudgePosition(const ViewPosition& position, bool columnCheckArmed);

// No band in the first visible row, in the last two rows of the visible
// range (unless its rows are all whole), or for a selection taller than one
// row or wider than two columns. The row limits are the numbers the visible
// range's address texts hold.
bool BandAllowed(std::int32_t activeRow, double topRowText, double bottomRowText, std::int32_t selectionRows,
                 std::int32_t selectionColumns, bool rowsWhole = false);

// The column band's rules, the row band's turned on their side: none in the
// first column the view shows, in its last two (unless they are all whole),
// or for a column outside the view; the selection's size, as for the row band.
bool ColumnBandAllowed(const ViewPosition& position, std::int32_t selectionRows, std::int32_t selectionColumns);

}  // namespace rowtint::engine
