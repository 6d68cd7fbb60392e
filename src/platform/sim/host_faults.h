// Host calls that fail at random, as those of a busy or closing host do:
// seeded, so that a run can be played again call for call.
#pragma once

#include <cstdint>

namespace rowtint::sim {

class HostFaults {
 public:
  // The error a host gives while it cannot take calls (0x800AC472).
  static constexpr std::int32_t kBusy = -2146777998;

  // From now on each host call fails with this probability; 0 switches failures off.
  void Set(double probability, std::uint64_t seed);
  // Raises the host's busy error, or its general failure (1004), with the set probability.
  void MaybeFail();
  double Probability() const { return probability_; }
  // How many calls have been made to fail so far.
  std::uint64_t Injected() const { return injected_; }

 private:
  std::uint64_t Next();

  double probability_ = 0;
  std::uint64_t state_ = 0;
  std::uint64_t injected_ = 0;
};

}  // namespace rowtint::sim
