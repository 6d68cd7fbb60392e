// What one run of the painter did, for the diagnostics log: where it placed
// the active cell (and how each way of placing it saw it), what it erased,
// what it drew, and the scroll it found.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/types.h"

namespace rowtint::engine {

inline std::string Shown(const platform::Rect& r) {
  std::ostringstream text;
  text << '[' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ']';
  return text.str();
}

// What one run did, for the diagnostics log.
struct PaintRecord {
  using Point = platform::Point;
  using Rect = platform::Rect;
  std::string version;
  std::optional<Rect> cell;  // the active cell as placed on the screen
  std::optional<Point> byCaret, byPane, byScale;
  bool confirmed = false;                                       // Excel's RangeFromPoint agreed with byPane
  std::optional<std::pair<std::int32_t, std::int32_t>> scroll;  // the view's, as the run found it
  std::vector<Rect> erased;
  std::vector<Rect> drawn;

  std::string Line(const std::string& outcome) const {
    std::ostringstream line;
    auto corner = [](const std::optional<Point>& p) {
      return p ? std::to_string(p->x) + "," + std::to_string(p->y) : std::string("-");
    };
    line << "paint; Excel " << (version.empty() ? "?" : version) << "; cell " << (cell ? Shown(*cell) : "-")
         << " (by caret " << corner(byCaret) << ", by pane " << corner(byPane)
         << (byPane ? (confirmed ? " confirmed by Excel" : " not confirmed by Excel") : "") << ", by scale "
         << corner(byScale) << "); erased";
    for (const Rect& r : erased) line << " " << Shown(r);
    line << "; drawn";
    for (const Rect& r : drawn) line << " " << Shown(r);
    line << "; " << outcome;
    return line.str();
  }
};

}  // namespace rowtint::engine
