// What the user chose for the band and what is kept between Excel's runs:
// the colour, the text mode, the switch, the three history entries and which
// way the band runs through the active cell. The
// band's owner holds the one copy for as long as the library is loaded.
#pragma once

#include <array>
#include <cstdint>

#include "platform/types.h"

namespace rowtint::engine {

using platform::Color;

inline constexpr Color kWoberColor = 14600886;           // 0x00DECAB6, also the default band colour
inline constexpr Color kWarmColor = 16366575;            // 0x00F9BBEF
inline constexpr Color kEmptySwatchColor = -2147483633;  // 0x8000000F, COLOR_BTNFACE: an empty history slot

// Which way the band runs through the active cell: across its row (the
// add-in's band from the start), down its column, or both.
enum class Across { Row, Column, Both };

struct BandChoices {
  Color color = 0;                 // 0: not chosen yet; the first band drawn chooses the default
  std::int32_t ropMode = 0;        // the text mode's raster operation; 0: not chosen yet
  bool off = false;                // the switch: the band is removed and no new one drawn
  std::array<Color, 3> history{};  // newest first; kEmptySwatchColor marks an empty slot
  Across across = Across::Row;     // kept between Excel's runs, as the colour is
  friend bool operator==(const BandChoices&, const BandChoices&) = default;
};

inline bool RowBandChosen(Across across) { return across != Across::Column; }
inline bool ColumnBandChosen(Across across) { return across != Across::Row; }

}  // namespace rowtint::engine
