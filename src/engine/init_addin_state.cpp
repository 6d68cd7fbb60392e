#include "engine/addin_settings.h"
#include "engine/highlighter.h"

namespace rowtint::engine {

void Highlighter::InitAddinState(const std::function<HistorySwatches&()>& swatches) {
  auto& s = state_;
  s.RedrawWholeGrid = platform::kFalse;
  s.ColumnCheckArmed = platform::kTrue;
  s.HighlightOff = platform::kFalse;
  s.RopMode = 0;
  s.HighlightColor = LoadColorSetting(os_.settings, kColorSection, kColorKey, kDefaultColorText);

  // The history goes through the options form's swatches, which loads the
  // form (hidden) on first touch; its load sees the colour just read.
  for (int slot = 1; slot <= 3; ++slot)
    swatches().SetSwatch(slot,
                         LoadColorSetting(os_.settings, kHistorySection, kHistoryKeys[slot - 1], kDefaultHistoryText));
  s.HistoryColor1 = swatches().Swatch(1);
  s.HistoryColor2 = swatches().Swatch(2);
  s.HistoryColor3 = swatches().Swatch(3);

  s.ExcelMainWnd = os_.windows.FindProcessWindow("XLMAIN");
  StartRepaintTimer(kStartupIntervalMs);
}

}  // namespace rowtint::engine
