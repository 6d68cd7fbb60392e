// The options dialog: the band colour (colour dialog, three history
// swatches), the font mode, OK and Cancel.
#pragma once

#include <memory>

#include "forms/form_model.h"

namespace rowtint::forms {

class FmOption : public FormModel {
 public:
  FmOption();

  // The window under the pointer at the first movement over the Select group: the colour dialog's owner.
  platform::WindowHandle DialogOwnerWnd = 0;

  void Form_Load();

 private:
  void Unload() override;
  void Form_Unload();
  void Form_MouseMove();
  void cb_Select_Click();
  void cb_ok_Click();
  void cb_cancel_Click();
  void SwatchClick(const char* swatch);
  void CaptureDialogOwner();
};

// The form's one instance, created hidden (and loaded) on first use.
std::shared_ptr<FmOption> fm_Option();
// The instance if there is one, without creating it.
std::shared_ptr<FmOption> fm_OptionIfLoaded();

// Lets go of the instance without unloading it, as when the library itself is unloaded.
void ReleaseFmOption();

// Puts HighlightColor into the current and new colour strips, and into the
// first swatch while that one is empty.
void ShowColorOnOptions();

}  // namespace rowtint::forms
