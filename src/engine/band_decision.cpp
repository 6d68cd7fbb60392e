#include "engine/band_decision.h"

namespace rowtint::engine {

PositionVerdict JudgePosition(const ViewPosition& p, bool columnCheckArmed) {
  if (p.activeRow > p.bottomRow - 1 || p.topRow > p.activeRow) return PositionVerdict::EndRun;
  if (columnCheckArmed && (p.activeColumn > p.rightColumn || p.leftColumn > p.activeColumn))
    return PositionVerdict::EndRunAndDisarm;
  return PositionVerdict::GoOn;
}

bool BandAllowed(std::int32_t activeRow, double topRowText, double bottomRowText, std::int32_t selectionRows,
                 std::int32_t selectionColumns) {
  return activeRow < bottomRowText - 1 && topRowText < activeRow && selectionRows == 1 && selectionColumns <= 2;
}

}  // namespace rowtint::engine
