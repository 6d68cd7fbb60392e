// The options dialog: the band colour (colour dialog, three history
// swatches), the font mode, which way the band runs, OK and Cancel.
#pragma once

#include "engine/band_choices.h"
#include "engine/history_swatches.h"
#include "engine/services.h"
#include "forms/form_model.h"

namespace rowtint::forms {

class OptionsForm : public FormModel, public engine::HistorySwatches {
 public:
  // Created hidden; its load step shows the band colour it is given.
  OptionsForm(const engine::Services& services, Color highlightColor);

  // The window under the pointer at the first movement over the Select group: the colour dialog's owner.
  platform::WindowHandle DialogOwnerWnd = 0;

  // engine::HistorySwatches
  void SetSwatch(int slot, Color color) override { SetBackColor(option::kSwatches[slot - 1], color); }
  Color Swatch(int slot) override { return BackColor(option::kSwatches[slot - 1]); }

 private:
  void Unload() override;
  void HideHoverPictures();
  void PickColor();
  void Confirm();
  void Cancel();
  void TakeSwatch(ControlName swatch);
  void CaptureDialogOwner();

  const engine::Services& os_;
};

// The form's controls as it is designed, earlier ones above later ones.
std::vector<ControlState> OptionsFormLayout();

// Puts the band colour into the current and new colour strips, and into the
// first swatch while that one is empty.
void ShowColorOnOptions(OptionsForm& form, Color highlightColor);
// Selects the option button of the way the band runs now: a choice the user
// cancelled is not shown again at the next opening.
void ShowAcrossOnOptions(OptionsForm& form, engine::Across across);

}  // namespace rowtint::forms
