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

void BM_SelectionChange(benchmark::State& state) {
  SimSession session(rowtint::bench::SessionFolder());
  Prepare(session);
  const rowtint::sim::Area cells[] = {{{6, 3}, {6, 3}}, {{7, 4}, {7, 4}}};
  const CallsPerIteration calls(session);
  std::size_t i = 0;
  for (auto _ : state) session.Host().Select(cells[i++ % 2]);
  calls.Report(state);
}
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMicrosecond);

}  // namespace
