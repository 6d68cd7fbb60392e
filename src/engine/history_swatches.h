// Where the colour history is shown while it is loaded: the options form's
// three history swatches, through which the stored history reaches the
// band at start-up.
#pragma once

#include "platform/types.h"

namespace rowtint::engine {

class HistorySwatches {
 public:
  // Slot 1 is the newest colour, slot 3 the oldest.
  virtual void SetSwatch(int slot, platform::Color color) = 0;
  virtual platform::Color Swatch(int slot) = 0;

 protected:
  ~HistorySwatches() = default;
};

}  // namespace rowtint::engine
