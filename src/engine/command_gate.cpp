#include "engine/command_gate.h"

#include "platform/command_bars.h"

namespace rowtint::engine {

bool CommandGateOpen(platform::host::Application& app) {
  constexpr std::int16_t kGateControlIndex = 2;
  return app.GetCommandBars()->Item("File")->Controls()->Item(kGateControlIndex)->Enabled() == platform::kTrue;
}

}  // namespace rowtint::engine
