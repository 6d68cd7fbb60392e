// What must hold after every line of a storm: no open DC or brush, at most
// one timer, nothing but a script error out of the session, the store
// holding decimal text wherever the add-in wrote, and the screen showing the
// host's own drawing everywhere but where the band may be.
//
// The band may be inside LastBandRect, and where the host's scroll has
// carried that rectangle since it was drawn, until it is seen gone from there
// (the next paint that gets through erases it). Tint anywhere else is a fault.
// A library freed after an unload whose erase failed leaves its band on the
// screen: its rectangles stand until the next library draws one.
#pragma once

#include <cstdint>
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
  explicit StormChecker(simcli::SimSession& session) : session_(session) {}

  // Call before each line, then after it with what escaped the session ("" when nothing did).
  void Before();
  std::optional<Violation> After(const std::string& escaped);

 private:
  std::optional<Violation> CheckScreen(const sim::FrameBuffer& content);
  // Whether the screen shows only the host's drawing where the scroll has carried the band.
  bool CarriedBandGone(const sim::FrameBuffer& content) const;
  std::vector<platform::Rect> Carried() const;
  std::vector<platform::Rect> BandRegion() const;
  platform::Point Scrolled(sim::CellRef from) const;
  // The band last drawn: the library's own, or the one a freed library left.
  void NoteBand();
  platform::Rect Moved(const platform::Rect& r, sim::CellRef from) const;

  simcli::SimSession& session_;
  std::uint64_t drawnBefore_ = 0;
  bool hostWasRunning_ = false;
  // Where the scroll stood when the band in LastBandRect was drawn (or, once
  // the band the scroll carried is seen gone, where it stood then: the band
  // is no longer expected there).
  sim::CellRef bandScroll_;
  platform::Rect band_, columnBand_;
};

}  // namespace rowtint::testing
