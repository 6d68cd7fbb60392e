#include "engine/highlight_state.h"

#include "platform/error.h"

namespace rowtint::engine {
namespace {
HighlightState g_state;
}  // namespace

HighlightState& Shared() { return g_state; }

platform::host::Application& HostApplication() {
  if (!g_state.HostApp) platform::Raise(platform::err::kObjectNotSet, "Object variable or With block variable not set");
  return *g_state.HostApp;
}

void ResetSharedState() { g_state = HighlightState{}; }

}  // namespace rowtint::engine
