#include "engine/highlight_state.h"

#include "platform/error.h"

namespace rowtint::engine {
namespace {
HighlightState g_state;
}  // namespace

HighlightState& Shared() { return g_state; }

platform::host::Application& HostApplication() { return platform::Required(g_state.HostApp); }

void ResetSharedState() { g_state = HighlightState{}; }

}  // namespace rowtint::engine
