// A storm played against a fresh simulator session, checked after every line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shrink_script.h"
#include "storm_checker.h"

namespace rowtint::testing {

struct StormResult {
  Script script;                     // the lines played, the failing one last
  std::optional<Violation> failure;  // the first invariant broken
  std::size_t refused = 0;           // lines the simulator refused, as it should
  std::size_t underFaults = 0;       // lines played while host calls were failing
  std::uint64_t faultsInjected = 0;  // host calls made to fail
};

// Plays `lines` lines drawn from the seed; stops at the first failure.
StormResult RunStorm(std::uint64_t seed, std::size_t lines);
// Plays a given script the same way.
StormResult Replay(const Script& script);
// The shortest script, found by dropping lines, that fails as `failed` did.
Script ShortestFailing(const StormResult& failed);

}  // namespace rowtint::testing
