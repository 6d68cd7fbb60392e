// What must hold after every line of a storm: no open DC or brush, at most
// one timer, nothing but a script error out of the session, the store
// holding decimal text wherever the add-in wrote, and the screen showing the
// host's own drawing everywhere but where the band may be.
//
// The band may be inside LastBandRect, and where the host's scroll has
// carried that rectangle since it was drawn (the next paint erases it
// there). Tint found anywhere else is a fault, unless it is one of the add-in's
// known faults named in Tolerated(): such tint is counted, and repainted as
// the host draws it so that later lines are checked afresh.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sheet_model.h"
#include "sim_session.h"

namespace rowtint::testing {

struct Violation {
  std::string invariant;
  std::string detail;
};

class StormChecker {
 public:
  // A strict checker fails on the known faults whose name holds `strict`
  // ("" for none), naming the fault.
  StormChecker(simcli::SimSession& session, std::string strict) : session_(session), strict_(std::move(strict)) {}

  // Call before each line, then after it with what escaped the session
  // ("" when nothing did) and whether the session refused the line.
  void Before(const std::string& line);
  std::optional<Violation> After(const std::string& escaped, bool refused);

  // Known faults of the add-in met so far, and how often.
  const std::map<std::string, std::uint64_t>& Tolerated() const { return tolerated_; }

 private:
  std::optional<Violation> CheckScreen();
  std::vector<platform::Rect> BandRegion() const;
  platform::Rect Moved(const platform::Rect& r, sim::CellRef from) const;

  simcli::SimSession& session_;
  std::string strict_;
  std::string line_;
  std::uint64_t drawnBefore_ = 0;
  std::uint64_t redrawsBefore_ = 0;
  std::uint64_t faultsBefore_ = 0;
  sim::CellRef scrollBefore_;
  sim::CellRef bandScrollBefore_;
  std::vector<platform::Rect> regionBefore_;
  // Where the scroll stood when the band in LastBandRect was drawn (or, once
  // the add-in has erased since, where it stood then: the band is no longer
  // expected wherever the scroll carried it).
  sim::CellRef bandScroll_;
  // Faults injected when the host last started: more since then may have cut paints short.
  std::uint64_t faultsAtStart_ = 0;
  // Every band drawn since then while faults were being injected, with the scroll it was drawn at.
  std::vector<std::pair<platform::Rect, sim::CellRef>> bandsUnderFaults_;
  bool hostWasRunning_ = false;
  std::map<std::string, std::uint64_t> tolerated_;
};

}  // namespace rowtint::testing
