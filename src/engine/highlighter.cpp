#include "engine/highlighter.h"

#include "engine/excel_windows.h"
#include "engine/failure_styles.h"
#include "platform/command_bars.h"
#include "platform/error.h"

namespace rowtint::engine {

Highlighter::~Highlighter() {
  // The grids' procedures must not call into a band owner that is gone.
  for (const WindowHandle grid : watched_) os_.messages.RemoveSubclass(grid);
  if (timer_) StopRepaintTimer();
  if (timerWindow_) os_.timers.DestroyMessageWindow(timerWindow_);
}

platform::host::Application& Highlighter::App() { return platform::Required(state_.HostApp); }

platform::WindowHandle Highlighter::MainWindow() {
  return OrFallback([&] { return FindMainWindow(os_.windows, App()); },
                    os_.windows.FindProcessWindow(kMainWindowClass));
}

bool Highlighter::CommandGateOpen() {
  constexpr std::int16_t kGateControlIndex = 2;
  // A kept control that no longer answers (its bar was reset) is looked up again.
  if (auto& kept = tickCache_.gate) {
    std::optional<bool> open;
    SkipOnFailure([&] { open = kept->Enabled() == platform::kTrue; });
    if (open) return *open;
    kept.reset();
  }
  auto control = App().GetCommandBars()->Item("File")->Controls()->Item(kGateControlIndex);
  const bool open = platform::Required(control).Enabled() == platform::kTrue;
  tickCache_.gate = std::move(control);
  return open;
}

}  // namespace rowtint::engine
