// A simulator session made ready for a benchmark: the host started, a little
// text on the sheet, C5 selected and the timer's first tick taken, so that
// nothing is left over from start-up (the first paint repaints the whole grid).
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>

#include "sim_session.h"

namespace rowtint::bench {

// Where a benchmark's session keeps its settings file: not the current folder.
inline std::string SessionFolder() { return (std::filesystem::temp_directory_path() / "rowtint-bench").string(); }

inline void Prepare(simcli::SimSession& session, std::initializer_list<const char*> more = {}) {
  std::ostringstream out;
  for (const char* line : {"set B5 Apples", "set C5 120", "select C5", "tick"}) session.RunLine(line, out);
  for (const char* line : more) session.RunLine(line, out);
  session.Desktop().TakeRecords();
}

// Platform calls (host and operating system alike) per iteration, counted
// by the simulator from the moment this is made; and the add-in's own time
// per iteration, the loop's time less the simulator's pixel work (windows
// repainted, rectangles drawn), which on Windows GDI and the graphics card do.
class CallsPerIteration {
 public:
  explicit CallsPerIteration(simcli::SimSession& session)
      : calls_(session.Desktop().CallCounter()),
        pixels_(session.Desktop().PixelTime()),
        pixelsBefore_(pixels_),
        start_(std::chrono::steady_clock::now()) {
    calls_ = 0;
  }
  void Report(benchmark::State& state) const {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    const std::chrono::duration<double, std::micro> pixels = pixels_ - pixelsBefore_,
                                                    own = elapsed - (pixels_ - pixelsBefore_);
    state.counters["platform_calls"] =
        benchmark::Counter(static_cast<double>(calls_), benchmark::Counter::kAvgIterations);
    state.counters["own_us"] = benchmark::Counter(own.count(), benchmark::Counter::kAvgIterations);
    state.counters["pixels_us"] = benchmark::Counter(pixels.count(), benchmark::Counter::kAvgIterations);
  }

 private:
  std::uint64_t& calls_;
  const std::chrono::nanoseconds& pixels_;
  std::chrono::nanoseconds pixelsBefore_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace rowtint::bench
