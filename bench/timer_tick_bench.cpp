// One tick of the repaint timer while nothing scrolls, as every tick is for
// most of a session: the focus window, the gate through its kept control,
// the scroll position of the kept active window and the selection's kind
// are read, and nothing is painted. Goals: at most 6 platform calls, under
// 50 microseconds on the simulator.
#include "bench_session.h"
#include "addin/connect.h"

namespace {
using rowtint::bench::CallsPerIteration;
using rowtint::bench::Prepare;
using rowtint::simcli::SimSession;

void BM_IdleTimerTick(benchmark::State& state) {
  SimSession session(rowtint::bench::SessionFolder());
  Prepare(session);
  const CallsPerIteration calls(session);
  auto& band = session.AddIn()->Band();
  for (auto _ : state) band.RepaintTimerProc();
  calls.Report(state);
  // A tick that painted would not be the idle one this measures.
  if (!session.Desktop().TakeRecords().drawn.empty()) state.SkipWithError("an idle tick painted");
}
BENCHMARK(BM_IdleTimerTick)->Unit(benchmark::kMicrosecond);

}  // namespace
