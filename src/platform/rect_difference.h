// What of one rectangle lies outside another, as up to four rectangles that
// do not overlap: the parts above and below the common part, then left and right of it.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/types.h"

namespace rowtint::platform {

inline void SubtractRect(const Rect& piece, const Rect& hole, std::vector<Rect>& out) {
  const Rect common{std::max(piece.left, hole.left), std::max(piece.top, hole.top), std::min(piece.right, hole.right),
                    std::min(piece.bottom, hole.bottom)};
  if (piece.Empty()) return;
  if (common.Empty()) {
    out.push_back(piece);
    return;
  }
  if (piece.top < common.top) out.push_back({piece.left, piece.top, piece.right, common.top});
  if (common.bottom < piece.bottom) out.push_back({piece.left, common.bottom, piece.right, piece.bottom});
  if (piece.left < common.left) out.push_back({piece.left, common.top, common.left, common.bottom});
  if (common.right < piece.right) out.push_back({common.right, common.top, piece.right, common.bottom});
}

}  // namespace rowtint::platform
