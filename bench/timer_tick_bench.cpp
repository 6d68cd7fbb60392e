// One tick of the repaint timer while nothing scrolls, as every tick is for
// most of a session: the focus window, the gate through its kept control,
// the scroll position of the kept active window and the selection's kind
// are read, and nothing is painted. Goals: at most 6 platform calls, under
// 50 microseconds on the simulator. With the surface left to the check (0),
// every fourth tick also reads the band's pixels back from the screen, and
// the figure is the average; with the surface fixed to the grid (1) no tick
// checks, and each is the idle tick alone.
#include "bench_session.h"
#include "addin/connect.h"

namespace {
using rowtint::bench::CallsPerIteration;
using rowtint::bench::Prepare;
using rowtint::simcli::SimSession;

void BM_IdleTimerTick(benchmark::State& state) {
  SimSession session(rowtint::bench::SessionFolder());
  if (state.range(0) == 1) session.OwnKey().texts["Surface"] = "grid";
  Prepare(session);
  state.SetLabel(state.range(0) == 1 ? "surface grid" : "surface auto");
  const CallsPerIteration calls(session);
  auto& band = session.AddIn()->Band();
  for (auto _ : state) band.RepaintTimerProc();
  calls.Report(state);
  // A tick that painted would not be the idle one this measures.
  if (!session.Desktop().TakeRecords().drawn.empty()) state.SkipWithError("an idle tick painted");
}
BENCHMARK(BM_IdleTimerTick)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

}  // namespace
