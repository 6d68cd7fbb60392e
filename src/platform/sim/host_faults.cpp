#include "platform/sim/host_faults.h"

#include "platform/error.h"

namespace rowtint::sim {

void HostFaults::Set(double probability, std::uint64_t seed) {
  probability_ = probability;
  state_ = seed;
}

// SplitMix64: the same numbers from the same seed on every platform and library.
std::uint64_t HostFaults::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

void HostFaults::MaybeFail() {
  if (probability_ <= 0) return;
  const std::uint64_t draw = Next();
  if (static_cast<double>(draw >> 11) * 0x1.0p-53 >= probability_) return;
  ++injected_;
  if (draw & 1) platform::Raise(kBusy, "Application busy");
  platform::Raise(platform::err::kHostFailed, "Application-defined or object-defined error");
}

}  // namespace rowtint::sim
