// The cost of one PaintRowBand and of one selection change (the host's
// event, the handler and the paint) on the simulated host, and how many
// platform calls each makes. The simulator's own pixel work (repainting the
// erased strip and the cells, filling the band) is part of the time, as the
// screen's would be.
#include "bench_session.h"
#include "addin/connect.h"

namespace {
using rowtint::bench::CallsPerIteration;
using rowtint::bench::Prepare;
using rowtint::simcli::SimSession;

void BM_PaintRowBand(benchmark::State& state) {
  SimSession session(rowtint::bench::SessionFolder());
  Prepare(session);
  const CallsPerIteration calls(session);
  auto& band = session.AddIn()->Band();
  for (auto _ : state) band.PaintRowBand();
  calls.Report(state);
}
BENCHMARK(BM_PaintRowBand)->Unit(benchmark::kMicrosecond);

// A selection between two cells the view shows, `row` rows below its top,
// with the caret at the cell (Excel 2010 and before) or without one (today's
// Excel, where the add-in adds up the pane's rows and columns and asks Excel
// to confirm the corner).
void SelectionChange(benchmark::State& state, bool caret) {
  SimSession session(rowtint::bench::SessionFolder());
  Prepare(session, {caret ? "caret on" : "caret off"});
  const auto row = static_cast<std::int32_t>(state.range(0));
  const rowtint::sim::Area cells[] = {{{row, 3}, {row, 3}}, {{row + 1, 4}, {row + 1, 4}}};
  const CallsPerIteration calls(session);
  std::size_t i = 0;
  for (auto _ : state) session.Host().Select(cells[i++ % 2]);
  calls.Report(state);
  if (session.Desktop().TakeRecords().drawn.empty()) state.SkipWithError("no band was drawn");
}
void BM_SelectionChange(benchmark::State& state) { SelectionChange(state, true); }
void BM_SelectionChangeWithoutCaret(benchmark::State& state) { SelectionChange(state, false); }
BENCHMARK(BM_SelectionChange)->Arg(6)->Arg(29)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectionChangeWithoutCaret)->Arg(6)->Arg(29)->Unit(benchmark::kMicrosecond);

// One selection change with the band across the row (0), down the column (1)
// or both (2), chosen on the options form: a diagonal move, which erases and
// draws every band whole, and a move down the column, which keeps the column band.
void SelectionChangeAcross(benchmark::State& state, bool downTheColumn) {
  const char* buttons[] = {"form click Opt_row", "form click Opt_column", "form click Opt_both"};
  const char* labels[] = {"row", "column", "both"};
  SimSession session(rowtint::bench::SessionFolder());
  Prepare(session, {"click Option", buttons[state.range(0)], "form click cb_ok", "select C5", "tick"});
  const rowtint::sim::CellRef to{downTheColumn ? 9 : 7, downTheColumn ? 3 : 4};
  const rowtint::sim::Area moves[] = {{{6, 3}, {6, 3}}, {to, to}};
  const CallsPerIteration calls(session);
  std::size_t i = 0;
  for (auto _ : state) session.Host().Select(moves[i++ % 2]);
  calls.Report(state);
  state.SetLabel(labels[state.range(0)]);
  if (session.Desktop().TakeRecords().drawn.empty()) state.SkipWithError("no band was drawn");
}
void BM_SelectionChangeAcross(benchmark::State& state) { SelectionChangeAcross(state, false); }
void BM_SelectionChangeDownTheColumn(benchmark::State& state) { SelectionChangeAcross(state, true); }
BENCHMARK(BM_SelectionChangeAcross)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectionChangeDownTheColumn)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
