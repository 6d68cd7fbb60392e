// The four ways a procedure treats a failure, each written once. A procedure
// names its style by the helper it runs its steps through; "no handling" is
// the plain call, whose failure goes back to the caller.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/error.h"
#include "platform/dialogs.h"

namespace rowtint::engine {

// Skip and go on: a failing step is skipped and the next one runs.
template <class Step>
void SkipOnFailure(Step&& step) {
  try {
    std::forward<Step>(step)();
  } catch (const platform::PlatformError&) {
  }
}

// Skip and go on, for a test: when the test cannot be evaluated, the steps
// it guards run as if it held.
template <class Test>
bool HoldsUnlessFailed(Test&& test) {
  try {
    return std::forward<Test>(test)();
  } catch (const platform::PlatformError&) {
    return true;
  }
}

// Fall back: a value that cannot be read takes its default, and the
// procedure goes on with the next one.
template <class Read, class Value>
Value OrFallback(Read&& read, Value fallback) {
  try {
    return std::forward<Read>(read)();
  } catch (const platform::PlatformError&) {
    return fallback;
  }
}

// Abandon quietly: the first failure ends the procedure; what was done
// stays done. The failure is told to no one but a diagnostics log.
template <class Body>
std::optional<platform::PlatformError> AbandonQuietly(Body&& body) {
  try {
    std::forward<Body>(body)();
    return std::nullopt;
  } catch (const platform::PlatformError& e) {
    return e;
  }
}

// Stop and tell: the first failure ends the operation with a message box
// holding the error number, a line break and the description.
template <class Body>
void StopAndTell(platform::Dialogs& dialogs, Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (const platform::PlatformError& e) {
    dialogs.ShowMessageBox(0, std::to_string(e.Number()) + "\r\n" + e.Description(), "", platform::kMbOk);
  }
}

}  // namespace rowtint::engine
