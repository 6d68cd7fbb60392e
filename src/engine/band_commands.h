// The band's switch and colour presets, and the eraser used after a resize.
#pragma once

namespace rowtint::engine {

void ToggleHighlight();
void ApplyWoberColor();
void ApplyWarmColor();

// Invalidates the active row's strip across the grid window; failures are skipped step by step.
void EraseResizedBand();

}  // namespace rowtint::engine
