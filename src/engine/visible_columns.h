// The active cell's column and the visible range's first and last columns,
// read the way the timer tick and the selection handler read them: each
// value on its own, a value that cannot be read staying 0.
#pragma once

#include <cstdint>

#include "platform/host.h"

namespace rowtint::engine {

struct ActiveAndVisibleColumns {
  std::int32_t active = 0;
  std::int32_t left = 0;
  std::int32_t right = 0;
};

ActiveAndVisibleColumns ReadColumnsSkippingFailures(platform::host::Application* app);

}  // namespace rowtint::engine
