#include "engine/highlighter.h"

#include "platform/command_bars.h"
#include "platform/error.h"

namespace rowtint::engine {

Highlighter::~Highlighter() {
  if (timer_) StopRepaintTimer();
}

platform::host::Application& Highlighter::App() { return platform::Required(state_.HostApp); }

bool Highlighter::CommandGateOpen() {
  constexpr std::int16_t kGateControlIndex = 2;
  return App().GetCommandBars()->Item("File")->Controls()->Item(kGateControlIndex)->Enabled() == platform::kTrue;
}

}  // namespace rowtint::engine
