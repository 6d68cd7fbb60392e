#include "forms/options_form.h"

#include <array>

#include "engine/highlighter.h"
#include "forms/control_layout.h"

namespace rowtint::forms {
namespace {
using namespace layout;
using namespace option;
using platform::kColor3DLight;
using platform::kColorActiveCaption;

constexpr Color kNavy = 0x800000;

}  // namespace

std::vector<ControlState> OptionsFormLayout() {
  // The buttons and the rule above them stand below the frame that chooses which way the band runs.
  constexpr std::int32_t kBelowAcross = 900;
  ControlState frame =
      At(Border(Named(kFrame, ControlKind::Frame), kColorActiveCaption), -210, 3345 + kBelowAcross, 7230, 60);
  frame.backColor = platform::kColorBtnHighlight;
  auto Swatch = [&](int slot, const char* caption, std::int32_t left) {
    ControlState c =
        Centred(Font(Border(Named(kSwatches[slot], ControlKind::Label, caption), platform::kColorBackground),
                     "\xE5\xAE\x8B\xE4\xBD\x93", 9, false, 134));
    c.backColor = engine::kEmptySwatchColor;
    return At(c, left, 1995, 420, 375);
  };
  ControlState frameLabel =
      At(Border(Named(kHistoryFrame, ControlKind::Label), kColorActiveCaption), 2445, 1725, 1755, 780);
  frameLabel.transparent = true;
  ControlState newColor =
      At(Centred(Font(Border(Named(kNewColor, ControlKind::Label, "New BackColor"), 0x400000), "Tahoma", 12)), 120,
         1110, 6285, 375);
  newColor.backColor = 0xFFC0C0;
  ControlState currColor =
      At(Centred(Font(Border(Named(kCurrentColor, ControlKind::Label, "Current BackColor"), kNavy), "Tahoma", 12)), 120,
         465, 6285, 375);
  currColor.backColor = kNavy;
  currColor.foreColor = platform::kColorHighlightText;
  ControlState optWhite =
      At(Font(Named(kInvertMode, ControlKind::OptionButton, "Invert Colors Font"), "Tahoma", 9), 4350, 2595, 1965, 285);
  ControlState optPrimi =
      At(Font(Named(kPrimitiveMode, ControlKind::OptionButton, "Primitive Colors Font"), "Tahoma", 9), 4335, 1620, 2145,
         420);
  optPrimi.value = true;
  ControlState acrossFrame =
      At(Font(Border(Named(kAcrossFrame, ControlKind::Frame, "Band across"), kColorActiveCaption), "Tahoma", 9), 120,
         3345, 6285, 780);
  acrossFrame.transparent = true;
  auto Across = [](ControlName name, const char* caption, std::int32_t left, std::int32_t width) {
    ControlState c = At(Font(Named(name, ControlKind::OptionButton, caption), "Tahoma", 9), left, 3735, width, 285);
    c.container = kAcrossFrame.text;
    return c;
  };

  return {
      frame,
      At(CaptionLayer(kCancelCaption, "Cancel", kNavy, 10.5), 5025, 3675 + kBelowAcross, 1365, 330),
      At(HoverLayer(kCancelHover, kColorActiveCaption), 5010, 3615 + kBelowAcross, 1395, 405),
      At(BoxLayer(kCancelBox, kColorActiveCaption), 5010, 3615 + kBelowAcross, 1395, 405),
      At(CaptionLayer(kOkCaption, "OK", kNavy, 10.5), 3300, 3675 + kBelowAcross, 1365, 330),
      At(HoverLayer(kOkHover, kColorActiveCaption), 3285, 3615 + kBelowAcross, 1395, 405),
      At(BoxLayer(kOkBox, kColorActiveCaption), 3285, 3615 + kBelowAcross, 1395, 405),
      At(Font(Named(kHistoryTitle, ControlKind::Label, "History"), "Tahoma", 10.5), 2595, 1605, 660, 255),
      At(Font(Named(kDeepBackNote, ControlKind::Label, "(DeepBack)"), "Tahoma", 9), 4590, 2880, 1890, 285),
      Across(kAcrossRow, "Row", 360, 1500),
      Across(kAcrossColumn, "Column", 2040, 1620),
      Across(kAcrossBoth, "Row and column", 3840, 2400),
      acrossFrame,
      At(Font(Named(kTingeBackNote, ControlKind::Label, "(TingeBack)"), "Tahoma", 9), 4590, 1980, 1695, 300),
      optWhite,
      optPrimi,
      At(CaptionLayer(kSelectCaption, "Select", kNavy, 10.5), 2460, 2745, 1725, 360),
      At(HoverLayer(kSelectHover, kColorActiveCaption), 2445, 2685, 1755, 435),
      At(BoxLayer(kSelectBox, kColorActiveCaption), 2445, 2685, 1755, 435),
      Swatch(0, "1", 3675),
      Swatch(1, "2", 3105),
      Swatch(2, "3", 2535),
      frameLabel,
      newColor,
      currColor,
  };
}

OptionsForm::OptionsForm(const engine::Services& services, Color highlightColor)
    : FormModel(services.forms, "fm_Option", "Option", 6525, 5070, kColor3DLight, OptionsFormLayout()), os_(services) {
  OnBackgroundMouseMove([this] { HideHoverPictures(); });
  OnClick({kSelectBox, kSelectCaption, kSelectHover}, [this] { PickColor(); });
  OnClick({kOkBox, kOkCaption, kOkHover}, [this] { Confirm(); });
  OnClick({kCancelBox, kCancelCaption, kCancelHover}, [this] { Cancel(); });
  for (ControlName swatch : kSwatches) OnClick({swatch}, [this, swatch] { TakeSwatch(swatch); });
  OnMouseMove({kSelectBox, kSelectCaption}, [this] {
    CaptureDialogOwner();
    SetVisible(kSelectHover, true);
  });
  OnMouseMove({kSelectHover}, [this] { CaptureDialogOwner(); });
  OnMouseMove({kOkBox, kOkCaption}, [this] { SetVisible(kOkHover, true); });
  OnMouseMove({kCancelBox, kCancelCaption}, [this] { SetVisible(kCancelHover, true); });
  ShowColorOnOptions(*this, highlightColor);
  ShowAcrossOnOptions(*this, engine::Across::Row);
}

void OptionsForm::HideHoverPictures() {
  SetVisible(kOkHover, false);
  SetVisible(kCancelHover, false);
  SetVisible(kSelectHover, false);
}

void OptionsForm::Unload() {
  // The swatches as they stand become the history.
  Band().KeepHistory({Swatch(1), Swatch(2), Swatch(3)});
  Unloaded();
}

void OptionsForm::CaptureDialogOwner() {
  if (DialogOwnerWnd) return;
  platform::Point pointer;
  os_.windows.GetCursorPos(pointer);
  DialogOwnerWnd = os_.windows.WindowFromPoint(pointer);
}

void OptionsForm::PickColor() {
  // Every opening starts from a full panel of 16 black custom colours and
  // without the current colour preselected.
  std::array<Color, 16> customColors{};
  platform::ChooseColorRecord record;
  record.structSize = 36;
  record.owner = DialogOwnerWnd;
  record.result = 0;
  record.customColors = &customColors;
  record.flags = platform::kCcFullOpen;
  if (os_.dialogs.ShowColorDialog(record)) SetBackColor(kNewColor, record.result);
}

void OptionsForm::TakeSwatch(ControlName swatch) {
  const Color color = BackColor(swatch);
  if (color != engine::kEmptySwatchColor) SetBackColor(kNewColor, color);
}

void OptionsForm::Confirm() {
  engine::Highlighter& band = Band();
  const Color color = BackColor(kNewColor);
  const std::int32_t mode = Value(kInvertMode) ? platform::kR2MergePenNot : platform::kR2MaskPen;
  const engine::Across across = Value(kAcrossBoth)     ? engine::Across::Both
                                : Value(kAcrossColumn) ? engine::Across::Column
                                                       : engine::Across::Row;
  Hide();
  band.ConfirmOptions(color, mode, across);
}

void OptionsForm::Cancel() {
  engine::Highlighter& band = Band();
  Hide();
  band.PaintRowBand();
}

void ShowAcrossOnOptions(OptionsForm& form, engine::Across across) {
  form.SetValue(kAcrossRow, across == engine::Across::Row);
  form.SetValue(kAcrossColumn, across == engine::Across::Column);
  form.SetValue(kAcrossBoth, across == engine::Across::Both);
}

void ShowColorOnOptions(OptionsForm& form, Color highlightColor) {
  form.SetBackColor(kCurrentColor, highlightColor);
  form.SetBackColor(kNewColor, highlightColor);
  if (form.Swatch(1) == engine::kEmptySwatchColor) form.SetSwatch(1, highlightColor);
}

}  // namespace rowtint::forms
