// The values kept between host runs, under the application name "Tintrow":
// the band colour and the three history entries as decimal text, and which
// way the band runs as a word beside the colour.
#pragma once

#include <string>

#include "engine/band_choices.h"
#include "platform/settings_store.h"
#include "platform/types.h"

namespace rowtint::engine {

inline constexpr const char* kSettingsApp = "Tintrow";
inline constexpr const char* kColorSection = "RGB";
inline constexpr const char* kColorKey = "RGB-bc";
inline constexpr const char* kHistorySection = "HIS";
inline constexpr const char* kHistoryKeys[3] = {"his_color1", "his_color2", "his_color3"};
inline constexpr const char* kDefaultColorText = "14600886";
inline constexpr const char* kDefaultHistoryText = "-2147483633";
// In the colour's section: a value versions before it know nothing of, and leave alone.
inline constexpr const char* kAcrossKey = "Across";

// 14600886 is written "14600886", 0x8000000F "-2147483633".
std::string ColorToSettingText(platform::Color color);

// Plain decimal text converts exactly; surrounding blanks are ignored and a
// fraction rounds half to even. Anything else (the empty text included) is a
// type mismatch, and a number outside the 32-bit range an overflow.
platform::Color SettingTextToColor(const std::string& text);

// "row", "column" or "both"; a missing or unreadable value is the row.
const char* AcrossToSettingText(Across across);
Across SettingTextToAcross(const std::string& text);

// Reads one value, the default text standing in for a missing or unreadable one.
platform::Color LoadColorSetting(platform::SettingsStore& store, const char* section, const char* key,
                                 const char* defaultText);

}  // namespace rowtint::engine
