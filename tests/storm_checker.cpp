#include "storm_checker.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <sstream>

#include "engine/highlight_state.h"
#include "script_line.h"

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

// The add-in's faults that the storm meets and names rather than fails on.
constexpr const char* kSidewaysStub =
    "sideways-scroll stub: after a sideways scroll the host's blit carries band pixels into the grid's first 7 or "
    "last 20 pixel columns, which no erase of the painter reaches";
constexpr const char* kBandLeftBehind =
    "band left behind by a scroll: the host scrolled the band away from where it was drawn, the painter erased the "
    "strip at the active cell's row (or the rectangle where the band was drawn), and the band stayed where the host "
    "had moved it";
constexpr const char* kCutShort =
    "paint cut short by a busy host: a paint abandoned midway left the bookkeeping behind the screen, so a later "
    "erase missed a band it had drawn";
}  // namespace

Rect StormChecker::Moved(const Rect& r, sim::CellRef from) const {
  auto& sheet = session_.Host().Sheet();
  const int dx = sheet.ColumnEdge(from.column), dy = sheet.RowEdge(from.row);
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

std::vector<Rect> StormChecker::BandRegion() const {
  const Rect grid = session_.Host().GridRect();
  const Rect last = engine::Shared().LastBandRect;
  return {sim::Intersect(last, grid), sim::Intersect(Moved(last, bandScroll_), grid)};
}

void StormChecker::Before(const std::string& line) {
  line_ = line;
  hostWasRunning_ = session_.HostRunning();
  drawnBefore_ = session_.Desktop().RectanglesDrawn();
  redrawsBefore_ = session_.Desktop().RedrawsAsked();
  faultsBefore_ = session_.Faults().Injected();
  regionBefore_.clear();
  if (!hostWasRunning_) return;
  scrollBefore_ = session_.Host().Sheet().scroll;
  bandScrollBefore_ = bandScroll_;
  regionBefore_ = BandRegion();
}

std::optional<Violation> StormChecker::After(const std::string& escaped, bool refused) {
  if (!escaped.empty()) return Violation{"nothing escapes", escaped};
  auto& desktop = session_.Desktop();
  if (desktop.OpenDcCount() != 0 || desktop.OpenBrushCount() != 0)
    return Violation{"no open DC or brush", std::to_string(desktop.OpenDcCount()) + " DCs and " +
                                                std::to_string(desktop.OpenBrushCount()) + " brushes open"};
  if (desktop.Timers().size() > 1)
    return Violation{"at most one timer", std::to_string(desktop.Timers().size()) + " timers run"};
  for (const auto& [key, text] : session_.Settings().Values())
    if (session_.Settings().WrittenByAddIn(key) && !DecimalText(text))
      return Violation{"decimal text in the store",
                       std::get<1>(key) + "/" + std::get<2>(key) + " holds '" + text + "'"};

  if (!session_.HostRunning()) return std::nullopt;
  const simcli::ScriptLine line(line_);
  const bool started = !hostWasRunning_ || (!refused && !line.Empty() && line.Command() == "start");
  if (started) {
    faultsAtStart_ = faultsBefore_;
    regionBefore_.clear();
    bandsUnderFaults_.clear();
  }
  const bool drew = desktop.RectanglesDrawn() != drawnBefore_;
  if (started || drew || desktop.RedrawsAsked() != redrawsBefore_) bandScroll_ = session_.Host().Sheet().scroll;
  if (drew && session_.Faults().Injected() != faultsAtStart_)
    bandsUnderFaults_.emplace_back(engine::Shared().LastBandRect, bandScroll_);
  return CheckScreen();
}

std::optional<Violation> StormChecker::CheckScreen() {
  auto& desktop = session_.Desktop();
  const sim::FrameBuffer content = desktop.ContentSnapshot();
  sim::FrameBuffer& screen = desktop.Screen();
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

  const Rect grid = session_.Host().GridRect();
  auto inMargins = [&](const platform::Point& p) {
    return Inside(grid, p.x, p.y) && (p.x < grid.left + 7 || p.x >= grid.right - 20);
  };
  // Where the band stood before this line, carried along by this line's scroll.
  std::vector<Rect> carried;
  for (const Rect& r : regionBefore_) carried.push_back(sim::Intersect(Moved(r, scrollBefore_), grid));
  auto inCarried = [&](const platform::Point& p) {
    return inMargins(p) ||
           std::any_of(carried.begin(), carried.end(), [&](const Rect& r) { return Inside(r, p.x, p.y); });
  };

  // Every band drawn while the host was busy, wherever the host's scrolls have carried it.
  std::vector<Rect> drawnUnderFaults;
  for (const auto& [band, scroll] : bandsUnderFaults_)
    drawnUnderFaults.push_back(sim::Intersect(Moved(band, scroll), grid));
  auto inDrawnUnderFaults = [&](const platform::Point& p) {
    return inCarried(p) || std::any_of(drawnUnderFaults.begin(), drawnUnderFaults.end(),
                                       [&](const Rect& r) { return Inside(r, p.x, p.y); });
  };

  // Whether the host has scrolled the band that stood before this line since it was drawn.
  const sim::CellRef now = session_.Host().Sheet().scroll;
  const bool scrolledSideways = bandScrollBefore_.column != now.column;
  const bool scrolled = scrolledSideways || bandScrollBefore_.row != now.row;

  const char* known = nullptr;
  if (scrolledSideways &&
      std::all_of(stray.begin(), stray.end(), [&](const auto& p) { return inMargins(p) && inCarried(p); }))
    known = kSidewaysStub;
  else if (scrolled && std::all_of(stray.begin(), stray.end(), inCarried))
    known = kBandLeftBehind;
  else if (session_.Faults().Injected() != faultsAtStart_ &&
           std::all_of(stray.begin(), stray.end(), inDrawnUnderFaults))
    known = kCutShort;

  if (!known || (!strict_.empty() && std::string(known).find(strict_) != std::string::npos)) {
    Rect box{stray[0].x, stray[0].y, stray[0].x + 1, stray[0].y + 1};
    for (const auto& p : stray)
      box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x + 1),
             std::max(box.bottom, p.y + 1)};
    return Violation{
        known ? std::string("known fault: ") + known : "the screen shows the host's drawing outside the band",
        std::to_string(stray.size()) + " pixels differ within " + Show(box) + "; LastBandRect " +
            Show(engine::Shared().LastBandRect) + ", grid " + Show(grid)};
  }
  ++tolerated_[known];
  for (const auto& p : stray) screen.Set(p.x, p.y, content.Get(p.x, p.y));
  return std::nullopt;
}

}  // namespace rowtint::testing
