// The stand-in's clock for the add-in's own time: the performance counter
// in milliseconds, and the time the stand-in's own window procedures take,
// which a call into the add-in may cause (the repaints and input it asks
// for) but which is the host's work, not the add-in's.
#pragma once

namespace rowtint::host {

double NowMs();

// Marks the time spent in one of the stand-in's window procedures; one
// called from within another counts once.
class InOwnProcedure {
 public:
  InOwnProcedure();
  ~InOwnProcedure();
  InOwnProcedure(const InOwnProcedure&) = delete;
  InOwnProcedure& operator=(const InOwnProcedure&) = delete;
};

// The time spent in the stand-in's window procedures so far.
double OwnProcedureMs();

// One kind of the add-in's calls the stand-in watches, since it was last
// taken: how many, when (NowMs) the last returned, and the time within them.
struct WatchedCalls {
  int calls = 0;
  double lastAtMs = 0;
  double withinMs = 0;
  // One call that began at `startMs` has just returned.
  void Returned(double startMs) {
    ++calls;
    lastAtMs = NowMs();
    withinMs += lastAtMs - startMs;
  }
};

}  // namespace rowtint::host
