#include "storm_checker.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <sstream>

#include "engine/addin_settings.h"

namespace rowtint::testing {
namespace {
using platform::Rect;

// Decimal text of a 32-bit integer as the add-in writes it: no sign but a
// leading minus, no leading zeros, no blanks.
bool DecimalText(const std::string& text) {
  const std::size_t digits = text.rfind('-', 0) == 0 ? 1 : 0;
  if (text.size() == digits || (text[digits] == '0' && text.size() > digits + 1) || text == "-0") return false;
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

std::string Show(const Rect& r) {
  std::ostringstream out;
  out << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "]";
  return out.str();
}

}  // namespace

// How far the scrollable part's pixels have moved since the view scrolled from `from`.
platform::Point StormChecker::Scrolled(sim::CellRef from) const {
  auto& sheet = session_.Host().Sheet();
  return {sheet.ScrolledColumnEdge(from.column) - sheet.FrozenWidth(),
          sheet.ScrolledRowEdge(from.row) - sheet.FrozenHeight()};
}

Rect StormChecker::Moved(const Rect& r, sim::CellRef from) const {
  const platform::Point d = Scrolled(from);
  return {r.left + d.x, r.top + d.y, r.right + d.x, r.bottom + d.y};
}

// Where a scroll has carried the band: with a freeze, the panes beside the
// frozen rows or columns carry their part of it one way only.
// LastBandRect is never cleared while the library lives: a new library's
// empty one means it has drawn nothing yet.
void StormChecker::NoteBand() {
  const auto snapshot = session_.Library().Band().Snapshot();
  if (snapshot.LastBandRect.Empty()) return;
  band_ = snapshot.LastBandRect;
  columnBand_ = snapshot.ColumnBandRect;
}

std::vector<Rect> StormChecker::Carried() const {
  const Rect grid = session_.Host().GridRect();
  const bool frozen = session_.Host().Sheet().frozen != sim::CellRef{0, 0};
  const platform::Point d = Scrolled(bandScroll_);
  std::vector<Rect> carried;
  // The row's band and the column's strip alike.
  for (const Rect& last : {band_, columnBand_}) {
    carried.push_back(sim::Intersect(Moved(last, bandScroll_), grid));
    if (!frozen) continue;
    carried.push_back(sim::Intersect({last.left + d.x, last.top, last.right + d.x, last.bottom}, grid));
    carried.push_back(sim::Intersect({last.left, last.top + d.y, last.right, last.bottom + d.y}, grid));
  }
  return carried;
}

std::vector<Rect> StormChecker::BandRegion() const {
  std::vector<Rect> region = Carried();
  region.push_back(sim::Intersect(band_, session_.Host().GridRect()));
  return region;
}

void StormChecker::Before() {
  hostWasRunning_ = session_.HostRunning();
  drawnBefore_ = session_.Desktop().RectanglesDrawn();
}

std::optional<Violation> StormChecker::After(const std::string& escaped) {
  if (!escaped.empty()) return Violation{"nothing escapes", escaped};
  auto& desktop = session_.Desktop();
  if (desktop.OpenDcCount() != 0 || desktop.OpenBrushCount() != 0)
    return Violation{"no open DC or brush", std::to_string(desktop.OpenDcCount()) + " DCs and " +
                                                std::to_string(desktop.OpenBrushCount()) + " brushes open"};
  if (desktop.Timers().size() > 1)
    return Violation{"at most one timer", std::to_string(desktop.Timers().size()) + " timers run"};
  for (const auto& [key, text] : session_.Settings().Values()) {
    if (!session_.Settings().WrittenByAddIn(key)) continue;
    // The way across is a word; every other value the add-in writes is a colour.
    const bool across = std::get<2>(key) == engine::kAcrossKey;
    if (across ? text != "row" && text != "column" && text != "both" : !DecimalText(text))
      return Violation{"decimal text in the store",
                       std::get<1>(key) + "/" + std::get<2>(key) + " holds '" + text + "'"};
  }

  if (!session_.HostRunning()) return std::nullopt;
  NoteBand();
  const sim::FrameBuffer content = desktop.ContentSnapshot();
  if (!hostWasRunning_ || desktop.RectanglesDrawn() != drawnBefore_ || CarriedBandGone(content))
    bandScroll_ = session_.Host().Sheet().scroll;
  return CheckScreen(content);
}

bool StormChecker::CarriedBandGone(const sim::FrameBuffer& content) const {
  const sim::FrameBuffer& screen = session_.Desktop().Screen();
  for (const Rect& carried : Carried())
    for (int y = carried.top; y < carried.bottom; ++y)
      for (int x = carried.left; x < carried.right; ++x)
        if (screen.Get(x, y) != content.Get(x, y)) return false;
  return true;
}

std::optional<Violation> StormChecker::CheckScreen(const sim::FrameBuffer& content) {
  const sim::FrameBuffer& screen = session_.Desktop().Screen();
  const auto allowed = BandRegion();
  std::vector<platform::Point> stray;
  for (int y = 0; y < screen.Height(); ++y) {
    if (std::memcmp(screen.Row(y), content.Row(y), sizeof(sim::Pixel) * static_cast<std::size_t>(screen.Width())) == 0)
      continue;
    for (int x = 0; x < screen.Width(); ++x)
      if (screen.Get(x, y) != content.Get(x, y) &&
          std::none_of(allowed.begin(), allowed.end(), [&](const Rect& r) { return Inside(r, x, y); }))
        stray.push_back({x, y});
  }
  if (stray.empty()) return std::nullopt;
  Rect box{stray[0].x, stray[0].y, stray[0].x + 1, stray[0].y + 1};
  for (const auto& p : stray)
    box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x + 1),
           std::max(box.bottom, p.y + 1)};
  return Violation{"the screen shows the host's drawing outside the band",
                   std::to_string(stray.size()) + " pixels differ within " + Show(box) + "; LastBandRect " +
                       Show(band_) + ", grid " + Show(session_.Host().GridRect())};
}

}  // namespace rowtint::testing
