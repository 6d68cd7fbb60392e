// The band between the painter's runs: Excel scrolls and repaints its grid
// on its own, raising no event. The grid's own messages tell of both; what
// needs the object model waits for a message posted to the add-in's window.
#include <algorithm>
#include <utility>

#include "engine/band_geometry.h"
#include "engine/excel_windows.h"
#include "engine/failure_styles.h"
#include "engine/highlighter.h"
#include "engine/scoped_gdi.h"
#include "platform/rect_difference.h"

namespace rowtint::engine {
namespace {
std::int64_t AreaOf(const Rect& r) { return r.Empty() ? 0 : std::int64_t{r.right - r.left} * (r.bottom - r.top); }

// Whether Excel repainted the whole band, or the active cell between its two
// parts: what does that most often comes with a new zoom, row height or
// column width, which move the band, so the painter places it anew. Any
// smaller repaint leaves the band where it was.
bool MayHaveMoved(const DrawnBand& band, const std::vector<Rect>& repainted) {
  const Rect left = band.ClientOf(band.left), right = band.ClientOf(band.right);
  const Rect cell{left.right, left.top, right.left, left.bottom};
  std::int64_t covered = 0, whole = 0;
  std::vector<Rect> shown;
  for (const auto& part : band.Parts()) {
    shown.push_back(band.ClientOf(Intersection(part.rect, part.clip)));
    whole += AreaOf(shown.back());
  }
  for (const Rect& r : repainted) {
    if (!Intersection(r, cell).Empty()) return true;
    for (const Rect& part : shown) covered += AreaOf(Intersection(r, part));
  }
  return covered >= whole;
}

// Adds `area` less what `list` holds already: repaints that overlap must not
// have the band drawn twice over their common part.
void AddUncovered(std::vector<Rect>& list, const std::vector<Rect>& area) {
  for (const Rect& r : area) {
    std::vector<Rect> parts{r};
    for (const Rect& have : list) {
      std::vector<Rect> rest;
      for (const Rect& p : parts) platform::SubtractRect(p, have, rest);
      parts = std::move(rest);
    }
    list.insert(list.end(), parts.begin(), parts.end());
  }
}
}  // namespace

void Highlighter::WatchGrid(WindowHandle grid) {
  if (!grid || Watching(grid)) return;
  if (os_.messages.SubclassWindow(grid, *this)) watched_.push_back(grid);
}

bool Highlighter::Watching(WindowHandle grid) const {
  return std::find(watched_.begin(), watched_.end(), grid) != watched_.end();
}

void Highlighter::OnGridMessage(WindowHandle, platform::GridMessage message) {
  // The painter's own erase and update repaint the grid: nothing to follow.
  if (painting_) return;
  if (message == platform::GridMessage::Sized) sizedPending_ = true;
  if (message == platform::GridMessage::Moved) movedPending_ = true;
  // One message for a burst of them: the wheel turned fast, or a long paint.
  if (!wakePosted_ && timerWindow_) wakePosted_ = os_.messages.PostToWindow(timerWindow_, *this);
}

// Not drawn here: Excel may have scrolled in this very paint, with nothing
// else to tell of it, and the band's place then shows other rows. The posted
// message, dispatched before anything else reaches the screen, asks first.
void Highlighter::OnGridPainted(WindowHandle grid, const std::vector<Rect>& area) {
  if (painting_ || !kept_.band.standing || kept_.band.window != grid) return;
  AddUncovered(repainted_, area);
}

// A main window takes the overlays it owns along; a grid, the band drawn on it.
void Highlighter::OnGridDestroyed(WindowHandle window) {
  std::erase(watched_, window);
  surfaces_.OwnerGone(window);
  if (kept_.band.window == window || kept_.band.main == window) {
    kept_.band.standing = false;
    kept_.band.onOverlay = false;
  }
}

void Highlighter::OnPosted() {
  wakePosted_ = false;
  const std::vector<Rect> repainted = std::exchange(repainted_, {});
  if (std::exchange(movedPending_, false)) FollowMove();
  // A new size changes the band's length and may move its row: only a run
  // of the painter knows the new place.
  if (std::exchange(sizedPending_, false)) kept_.band.standing = false;
  // During an edit Excel refuses every call; the first tick after it paints.
  if (EditingCell(os_.windows)) {
    editingSeen_ = true;
    return;
  }
  bool known = false, scrolled = false;
  AbandonQuietly([&] {
    const auto window = App().ActiveWindow();
    const std::pair<std::int32_t, std::int32_t> now{window->ScrollRow(), window->ScrollColumn()};
    scrolled = now != wakeScroll_;
    wakeScroll_ = now;
    known = true;
  });
  if (!known) return;
  if (!scrolled) {
    if (repainted.empty() || !kept_.band.standing) return;
    // Excel's repaints do not reach an overlay; one that moved the band's row does matter.
    if (MayHaveMoved(kept_.band, repainted))
      PaintRowBand();
    else if (!kept_.band.onOverlay)
      RedrawBand(repainted);
    return;
  }
  // The band follows a scroll while the timer would. Otherwise it went
  // wherever Excel moved its pixels, and no repaint may draw it at its old place.
  if (timer_)
    PaintRowBand();
  else
    kept_.band.standing = false;
}

// Windows moves the grid's pixels, and the band drawn through its DC, with
// the main window; an overlay stays where it was shown until it is moved.
void Highlighter::FollowMove() {
  DrawnBand& band = kept_.band;
  if (!band.standing || !band.onOverlay) return;
  Point now;
  {
    const ScopedPerMonitorDpi own(os_.windows);
    now = ClientOrigin(os_.windows, band.window);
  }
  const int dx = now.x - band.origin.x, dy = now.y - band.origin.y;
  if (dx == 0 && dy == 0) return;
  band.Shift(dx, dy);
  band.origin = now;
  surfaces_.ShowOverlays(band.main, band.Clipped(), band.color);
}

void Highlighter::RedrawBand(const std::vector<Rect>& area) {
  const DrawnBand& band = kept_.band;
  if (!band.standing) return;
  auto& dc = os_.drawing;
  const ScopedPerMonitorDpi own(os_.windows);
  const ScopedWindowDC screen(dc, band.window);
  if (!screen.Get()) return;
  const ScopedSolidBrush brush(dc, band.color);
  const ScopedSavedDC saved(dc, screen.Get());
  dc.SelectObject(screen.Get(), brush.Get());
  dc.SetROP2(screen.Get(), band.rop);
  // Each pixel once: a raster operation that reads the screen gives another
  // colour when it is applied twice.
  const auto parts = band.Parts();
  for (const Rect& piece : area) {
    for (const auto& part : parts) {
      const Rect inside = Intersection(band.ClientOf(part.clip), piece);
      const Rect r = band.ClientOf(part.rect);
      if (inside.Empty() || Intersection(r, inside).Empty()) continue;
      const ScopedSavedDC clipped(dc, screen.Get());
      dc.IntersectClipRect(screen.Get(), inside.left, inside.top, inside.right, inside.bottom);
      dc.Rectangle(screen.Get(), r.left, r.top, r.right, r.bottom);
    }
  }
}

}  // namespace rowtint::engine
