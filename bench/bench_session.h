// A simulator session made ready for a benchmark: the host started, a little
// text on the sheet, C5 selected and the timer's first tick taken, so that
// nothing is left over from start-up (the first paint repaints the whole grid).
#pragma once

#include <benchmark/benchmark.h>

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
// by the simulator from the moment this is made.
class CallsPerIteration {
 public:
  explicit CallsPerIteration(simcli::SimSession& session) : calls_(session.Desktop().CallCounter()) { calls_ = 0; }
  void Report(benchmark::State& state) const {
    state.counters["platform_calls"] =
        benchmark::Counter(static_cast<double>(calls_), benchmark::Counter::kAvgIterations);
  }

 private:
  std::uint64_t& calls_;
};

}  // namespace rowtint::bench
