// The lines of a random storm: every rowtint-sim command but snapshot, each
// chosen for what the user could do at that moment (the host running or not,
// a form or the colour dialog shown), and now and then a line the simulator
// must refuse. The same seed gives the same lines against the same session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim_session.h"

namespace rowtint::testing {

class StormGenerator {
 public:
  explicit StormGenerator(std::uint64_t seed) : state_(seed) {}
  std::string Next(simcli::SimSession& session);

 private:
  std::uint64_t Draw();
  int Below(int n) { return static_cast<int>(Draw() % static_cast<std::uint64_t>(n)); }
  bool Chance(double p) { return static_cast<double>(Draw() >> 11) * 0x1.0p-53 < p; }
  template <class T>
  const T& OneOf(const std::vector<T>& choices) {
    return choices[static_cast<std::size_t>(Below(static_cast<int>(choices.size())))];
  }

  std::string HostLine(simcli::SimSession& session);
  std::string FormLine(const platform::FormWindow& form);
  std::string DialogLine();
  std::string StoppedLine();
  std::string RefusedLine();
  std::string PrepareLine();
  std::string LoopLine();
  std::string NearCell(simcli::SimSession& session);
  std::string FarCell();
  std::string GridRect(simcli::SimSession& session, bool keepOrigin);

  std::uint64_t state_;
  bool started_ = false;
};

}  // namespace rowtint::testing
