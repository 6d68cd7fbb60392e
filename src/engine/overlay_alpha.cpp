#include "engine/overlay_alpha.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace rowtint::engine {
namespace {
constexpr platform::Color kBlack = 0x000000, kWhite = 0xFFFFFF;
constexpr double kReadable = 4.5;

int Channel(platform::Color color, int shift) {
  return static_cast<int>((static_cast<std::uint32_t>(color) >> shift) & 0xFFU);
}

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
}  // namespace

platform::Color BlendedOver(platform::Color band, std::uint8_t alpha, platform::Color under) {
  const double a = alpha / 255.0;
  platform::Color out = 0;
  for (const int shift : {0, 8, 16}) {
    const double mixed = a * Channel(band, shift) + (1 - a) * Channel(under, shift);
    out |= static_cast<platform::Color>(std::lround(mixed)) << shift;
  }
  return out;
}

double RelativeLuminance(platform::Color color) {
  return 0.2126 * Linear(Channel(color, 0)) + 0.7152 * Linear(Channel(color, 8)) + 0.0722 * Linear(Channel(color, 16));
}

double ContrastRatio(platform::Color a, platform::Color b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint8_t OverlayAlpha(platform::Color band) {
  for (int alpha = kMostOverlayAlpha; alpha > 0; --alpha)
    if (ContrastRatio(kBlack, BlendedOver(band, static_cast<std::uint8_t>(alpha), kWhite)) >= kReadable)
      return static_cast<std::uint8_t>(alpha);
  return 0;
}

}  // namespace rowtint::engine
