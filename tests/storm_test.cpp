// Random storms on the simulator: long seeded runs over every command,
// checked after each line. A failing seed prints the shortest script that
// still fails, ready for rowtint-sim.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <vector>

#include "support/storm_run.h"

namespace rowtint::testing {
namespace {

// ROWTINT_STORM_LINES plays longer (or shorter) storms than the default.
std::size_t StormLines() {
  const char* lines = std::getenv("ROWTINT_STORM_LINES");
  return lines ? std::strtoull(lines, nullptr, 10) : 10000;
}

// ROWTINT_STORM_SEEDS="4 5 6" plays other seeds than 1, 2 and 3.
std::vector<std::uint64_t> Seeds() {
  const char* seeds = std::getenv("ROWTINT_STORM_SEEDS");
  if (!seeds) return {1, 2, 3};
  std::vector<std::uint64_t> chosen;
  std::istringstream in(seeds);
  for (std::uint64_t seed; in >> seed;) chosen.push_back(seed);
  return chosen;
}

class StormTest : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(StormTest, EveryInvariantHoldsAfterEveryLine) {
  const auto result = RunStorm(GetParam(), StormLines());
  std::cout << result.script.size() << " lines, " << result.refused << " refused, " << result.underFaults
            << " while the host was busy (" << result.faultsInjected << " host calls failed)\n";
  if (!result.failure) {
    EXPECT_EQ(result.script.size(), StormLines());
    EXPECT_LT(result.refused, result.script.size() / 4) << "most lines must be ones the host takes";
    return;
  }
  std::ostringstream shortest;
  for (const auto& line : ShortestFailing(result)) shortest << line << "\n";
  ADD_FAILURE() << "seed " << GetParam() << ", line " << result.script.size() << " (" << result.script.back()
                << "): " << result.failure->invariant << ": " << result.failure->detail
                << "\nshortest script that still fails:\n"
                << shortest.str();
}

INSTANTIATE_TEST_SUITE_P(Seeds, StormTest, ::testing::ValuesIn(Seeds()),
                         [](const auto& info) { return "Seed" + std::to_string(info.param); });

}  // namespace
}  // namespace rowtint::testing
