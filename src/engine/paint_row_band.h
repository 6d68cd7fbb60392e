// The row band painter: erases the previous band and draws the new one
// across the active cell's row, straight onto the screen.
#pragma once

namespace rowtint::engine {

// Never reports a failure: the first one ends the run quietly.
void PaintRowBand();

// The painter in erase-only mode: switched off for the one run, then back
// as it was. Removes the band wherever it stands, even after a scroll.
void EraseRowBand();

}  // namespace rowtint::engine
