#include "platform/sim/system_colors.h"

namespace rowtint::sim {

Pixel ResolveColor(platform::Color color) {
  const auto value = static_cast<std::uint32_t>(color);
  if (!(value & 0x80000000u)) return value & 0xFFFFFF;
  switch (value & 0xFF) {
    case 1:
      return 0x000000;  // COLOR_BACKGROUND
    case 2:
      return 0xD1B499;  // COLOR_ACTIVECAPTION
    case 6:
      return 0x646464;  // COLOR_WINDOWFRAME
    case 13:
      return 0xD77800;  // COLOR_HIGHLIGHT
    case 14:
      return 0xFFFFFF;  // COLOR_HIGHLIGHTTEXT
    case 15:
      return 0xF0F0F0;  // COLOR_BTNFACE
    case 18:
      return 0x000000;  // COLOR_BTNTEXT
    case 20:
      return 0xFFFFFF;  // COLOR_BTNHIGHLIGHT
    case 22:
      return 0xE3E3E3;  // COLOR_3DLIGHT
    default:
      return 0xC0C0C0;
  }
}

}  // namespace rowtint::sim
