// The repaint timer: owned by the host's main window, identifier 0. Its
// ticks notice scrolling (which raises no selection event) and a selection
// that is not cells, and repaint or erase the band.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace rowtint::engine {

inline constexpr std::uintptr_t kRepaintTimerId = 0;
inline constexpr std::uint32_t kStartupIntervalMs = 200;
inline constexpr std::uint32_t kSelectionIntervalMs = 300;

// Starts the timer, replacing a running one.
void StartRepaintTimer(std::uint32_t intervalMs);
void StopRepaintTimer();

// One tick's work.
void RepaintTimerProc();

// The entry the windowing system calls; nothing escapes into its message loop.
void RepaintTimerCallback(platform::WindowHandle hwnd, std::uint32_t msg, std::uintptr_t id, std::uint32_t time);

}  // namespace rowtint::engine
