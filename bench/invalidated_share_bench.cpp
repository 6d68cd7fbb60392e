// How much of the grid window one selection move inside the view makes the
// host repaint: the union of the rectangles the add-in invalidates, within
// the grid window, as a share of it. Goal: under 10 % for the row band, under
// 15 % for both bands.
#include <algorithm>
#include <vector>

#include "bench_session.h"

namespace {
using rowtint::bench::Prepare;
using rowtint::platform::Rect;
using rowtint::simcli::SimSession;

// Pixels of the grid window covered by at least one of the rectangles.
double CoveredShare(const Rect& grid, const std::vector<Rect>& rects) {
  const int width = grid.right - grid.left, height = grid.bottom - grid.top;
  std::vector<bool> covered(static_cast<std::size_t>(width) * height);
  for (const Rect& r : rects)
    for (int y = std::max(r.top, grid.top); y < std::min(r.bottom, grid.bottom); ++y)
      for (int x = std::max(r.left, grid.left); x < std::min(r.right, grid.right); ++x)
        covered[static_cast<std::size_t>(y - grid.top) * width + (x - grid.left)] = true;
  return static_cast<double>(std::count(covered.begin(), covered.end(), true)) / covered.size();
}

// The argument: the band across the row (0), down the column (1) or both (2).
void BM_InViewMoveInvalidatedShare(benchmark::State& state) {
  const char* buttons[] = {"form click Opt_row", "form click Opt_column", "form click Opt_both"};
  const char* labels[] = {"row", "column", "both"};
  SimSession session(rowtint::bench::SessionFolder());
  Prepare(session, {"click Option", buttons[state.range(0)], "form click cb_ok", "select C5", "tick"});
  state.SetLabel(labels[state.range(0)]);
  auto& host = session.Host();
  const Rect grid = host.GridRect();
  // Along a row, down, up, and back: every cell in view, none in the first
  // or the last two visible rows or columns, so that each move erases a drawn band.
  const rowtint::sim::Area cells[] = {
      {{9, 3}, {9, 3}}, {{9, 7}, {9, 7}}, {{14, 2}, {14, 2}}, {{21, 9}, {21, 9}}, {{5, 3}, {5, 3}}};
  double sum = 0, worst = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    host.Select(cells[i++ % std::size(cells)]);
    state.PauseTiming();
    const double share = CoveredShare(grid, session.Desktop().TakeRecords().invalidated);
    sum += share;
    worst = std::max(worst, share);
    state.ResumeTiming();
  }
  state.counters["invalidated_pct"] = 100 * sum / static_cast<double>(state.iterations());
  state.counters["invalidated_pct_max"] = 100 * worst;
}
BENCHMARK(BM_InViewMoveInvalidatedShare)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)->Iterations(500);

}  // namespace
