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

}  // namespace
