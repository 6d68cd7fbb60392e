#include "engine/init_addin_state.h"

#include "engine/addin_settings.h"
#include "engine/highlight_state.h"
#include "engine/platform_services.h"
#include "engine/repaint_timer.h"
#include "forms/fm_option.h"

namespace rowtint::engine {

void InitAddinState() {
  auto& s = Shared();
  s.RedrawWholeGrid = platform::kFalse;
  s.ColumnCheckArmed = platform::kTrue;
  s.HighlightOff = platform::kFalse;
  s.RopMode = 0;
  s.HighlightColor = LoadColorSetting(kColorSection, kColorKey, kDefaultColorText);

  // The history goes through the options form's swatches, which loads the
  // form (hidden) on first touch; its load sees the colour just read.
  const char* swatches[3] = {"Lab_his1", "Lab_his2", "Lab_his3"};
  for (int i = 0; i < 3; ++i) {
    auto form = forms::fm_Option();
    form->SetBackColor(swatches[i], LoadColorSetting(kHistorySection, kHistoryKeys[i], kDefaultHistoryText));
  }
  s.HistoryColor1 = forms::fm_Option()->BackColor(swatches[0]);
  s.HistoryColor2 = forms::fm_Option()->BackColor(swatches[1]);
  s.HistoryColor3 = forms::fm_Option()->BackColor(swatches[2]);

  s.ExcelMainWnd = Os().FindProcessWindow("XLMAIN");
  StartRepaintTimer(kStartupIntervalMs);
}

}  // namespace rowtint::engine
