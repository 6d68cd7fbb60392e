// The row band painter: erases the previous band and draws the new one
// across the active cell's row, straight onto the screen.
#pragma once

namespace rowtint::engine {

// Never reports a failure: the first one ends the run quietly.
void PaintRowBand();

}  // namespace rowtint::engine
