#include "engine/addin_settings.h"
#include "engine/failure_styles.h"
#include "engine/highlighter.h"

namespace rowtint::engine {

void Highlighter::InitAddinState(const std::function<HistorySwatches&()>& swatches) {
  kept_.redrawWholeGrid = false;
  kept_.columnCheckArmed = true;
  choices_.off = false;
  choices_.ropMode = 0;
  choices_.color = LoadColorSetting(os_.settings, kColorSection, kColorKey, kDefaultColorText);
  // Kept as the colour is, unlike the text mode; a store that cannot answer leaves the row.
  choices_.across = OrFallback(
      [&] { return SettingTextToAcross(os_.settings.GetSetting(kSettingsApp, kColorSection, kAcrossKey, "row")); },
      Across::Row);

  // The history goes through the options form's swatches, which loads the
  // form (hidden) on first touch; its load sees the colour just read.
  for (int slot = 1; slot <= 3; ++slot)
    swatches().SetSwatch(slot,
                         LoadColorSetting(os_.settings, kHistorySection, kHistoryKeys[slot - 1], kDefaultHistoryText));
  for (int slot = 1; slot <= 3; ++slot) choices_.history[slot - 1] = swatches().Swatch(slot);

  kept_.mainWnd = os_.windows.FindProcessWindow("XLMAIN");
  StartRepaintTimer(kStartupIntervalMs);
}

}  // namespace rowtint::engine
