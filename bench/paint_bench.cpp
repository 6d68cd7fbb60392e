// The cost of one PaintRowBand and of one selection change on the
// simulated host, and how many platform calls (host and operating system)
// each makes. The simulator's own pixel work (repainting the erased strip,
// filling the band) is part of the time, as the screen's would be.
#include <benchmark/benchmark.h>

#include <sstream>

#include "engine/paint_row_band.h"
#include "sim_session.h"

namespace {
using rowtint::simcli::SimSession;

void Prepare(SimSession& session) {
  std::ostringstream out;
  for (const char* line : {"set B5 Apples", "set C5 120", "select C5", "tick"}) session.RunLine(line, out);
}

void BM_PaintRowBand(benchmark::State& state) {
  SimSession session;
  Prepare(session);
  auto& calls = session.Desktop().CallCounter();
  calls = 0;
  for (auto _ : state) rowtint::engine::PaintRowBand();
  state.counters["platform_calls"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PaintRowBand);

void BM_SelectionChange(benchmark::State& state) {
  SimSession session;
  Prepare(session);
  const rowtint::sim::Area cells[] = {{{6, 3}, {6, 3}}, {{7, 4}, {7, 4}}};
  auto& calls = session.Desktop().CallCounter();
  calls = 0;
  std::size_t i = 0;
  for (auto _ : state) session.Host().Select(cells[i++ % 2]);
  state.counters["platform_calls"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SelectionChange);

}  // namespace

BENCHMARK_MAIN();
