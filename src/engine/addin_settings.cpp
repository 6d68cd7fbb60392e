#include "engine/addin_settings.h"

#include <cctype>

#include "engine/highlight_state.h"
#include "engine/numeric.h"
#include "engine/platform_services.h"
#include "platform/error.h"

namespace rowtint::engine {

std::string ColorToSettingText(platform::Color color) { return std::to_string(color); }

platform::Color SettingTextToColor(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  const std::string t = text.substr(b, e - b);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
  const std::size_t digitsStart = i;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
  bool digits = i > digitsStart;
  if (i < t.size() && t[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
    digits = digits || i > fractionStart;
  }
  if (!digits || i != t.size()) platform::Raise(platform::err::kTypeMismatch, "Type mismatch");
  return ToInt32(TextToNumber(t));
}

platform::Color LoadColorSetting(const char* section, const char* key, const char* defaultText) {
  return SettingTextToColor(Settings().GetSetting(kSettingsApp, section, key, defaultText));
}

void MoveCurrentColorToHistoryFront() {
  auto& s = Shared();
  const Color c = s.HighlightColor;
  Color &h1 = s.HistoryColor1, &h2 = s.HistoryColor2, &h3 = s.HistoryColor3;
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

void SaveColorSettings() {
  auto& s = Shared();
  auto& store = Settings();
  store.SaveSetting(kSettingsApp, kColorSection, kColorKey, ColorToSettingText(s.HighlightColor));
  store.SaveSetting(kSettingsApp, kHistorySection, kHistoryKeys[0], ColorToSettingText(s.HistoryColor1));
  store.SaveSetting(kSettingsApp, kHistorySection, kHistoryKeys[1], ColorToSettingText(s.HistoryColor2));
  store.SaveSetting(kSettingsApp, kHistorySection, kHistoryKeys[2], ColorToSettingText(s.HistoryColor3));
}

}  // namespace rowtint::engine
