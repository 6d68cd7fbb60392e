#include "engine/band_decision.h"

namespace rowtint::engine {

PositionVerdict JudgePosition(const ViewPosition& p, bool columnCheckArmed) {
  const std::int32_t lastInside = p.rowsWhole ? p.bottomRow : p.bottomRow - 1;
  if (p.activeRow > lastInside || p.topRow > p.activeRow) return PositionVerdict::EndRun;
  if (columnCheckArmed && (p.activeColumn > p.rightColumn || p.leftColumn > p.activeColumn))
    return PositionVerdict::EndRunAndDisarm;
  return PositionVerdict::GoOn;
}

bool BandAllowed(std::int32_t activeRow, double topRowText, double bottomRowText, std::int32_t selectionRows,
                 std::int32_t selectionColumns, bool rowsWhole) {
  const bool aboveTheEnd = rowsWhole ? activeRow <= bottomRowText : activeRow < bottomRowText - 1;
  return aboveTheEnd && topRowText < activeRow && selectionRows == 1 && selectionColumns <= 2;
}

bool ColumnBandAllowed(const ViewPosition& p, std::int32_t selectionRows, std::int32_t selectionColumns) {
  const bool beforeTheEnd = p.columnsWhole ? p.activeColumn <= p.rightColumn : p.activeColumn < p.rightColumn - 1;
  return beforeTheEnd && p.leftColumn < p.activeColumn && selectionRows == 1 && selectionColumns <= 2;
}

}  // namespace rowtint::engine
