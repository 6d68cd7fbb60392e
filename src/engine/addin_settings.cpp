#include "engine/addin_settings.h"

#include "engine/failure_styles.h"
#include "engine/highlighter.h"
#include "engine/numeric.h"
#include "platform/error.h"

namespace rowtint::engine {

std::string ColorToSettingText(platform::Color color) { return std::to_string(color); }

platform::Color SettingTextToColor(const std::string& text) { return ToInt32(DecimalTextToNumber(text)); }

const char* AcrossToSettingText(Across across) {
  return across == Across::Column ? "column" : across == Across::Both ? "both" : "row";
}

Across SettingTextToAcross(const std::string& text) {
  if (text == "column") return Across::Column;
  if (text == "both") return Across::Both;
  return Across::Row;
}

platform::Color LoadColorSetting(platform::SettingsStore& store, const char* section, const char* key,
                                 const char* defaultText) {
  // One unreadable value must not cost the others: stopping here would leave
  // the later ones at 0, and the next shut-down would write 0 over all four.
  return OrFallback([&] { return SettingTextToColor(store.GetSetting(kSettingsApp, section, key, defaultText)); },
                    SettingTextToColor(defaultText));
}

void Highlighter::MoveCurrentColorToHistoryFront() {
  const Color c = choices_.color;
  Color &h1 = choices_.history[0], &h2 = choices_.history[1], &h3 = choices_.history[2];
  if (c != h1 && c != h2 && c != h3) {
    h3 = h2;
    h2 = h1;
    h1 = c;
    return;
  }
  // Two tests, each on the values as they stand by then.
  if (h2 == c) {
    h2 = h1;
    h1 = c;
  }
  if (h3 == c) {
    h3 = h2;
    h2 = h1;
    h1 = c;
  }
}

void Highlighter::SaveColorSettings() {
  auto& store = os_.settings;
  store.SaveSetting(kSettingsApp, kColorSection, kColorKey, ColorToSettingText(choices_.color));
  for (int slot = 0; slot < 3; ++slot)
    store.SaveSetting(kSettingsApp, kHistorySection, kHistoryKeys[slot], ColorToSettingText(choices_.history[slot]));
  store.SaveSetting(kSettingsApp, kColorSection, kAcrossKey, AcrossToSettingText(choices_.across));
}

}  // namespace rowtint::engine
