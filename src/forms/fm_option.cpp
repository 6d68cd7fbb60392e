#include "forms/fm_option.h"

#include <array>

#include "engine/highlight_state.h"
#include "engine/paint_row_band.h"
#include "engine/platform_services.h"
#include "forms/control_layout.h"
#include "forms/default_instance.h"

namespace rowtint::forms {
namespace {
using namespace layout;
using platform::kColor3DLight;
using platform::kColorActiveCaption;

constexpr Color kNavy = 0x800000;

DefaultInstance<FmOption> g_instance;

std::vector<ControlState> Layout() {
  ControlState frame = At(Border(Named("Frame1", ControlKind::Frame), kColorActiveCaption), -210, 3345, 7230, 60);
  frame.backColor = platform::kColorBtnHighlight;
  ControlState swatch = Centred(Font(Border(Named("", ControlKind::Label), platform::kColorBackground),
                                     "\xE5\xAE\x8B\xE4\xBD\x93", 9, false, 134));
  swatch.backColor = engine::kEmptySwatchColor;
  auto Swatch = [&](const char* name, const char* caption, std::int32_t left) {
    ControlState c = swatch;
    c.name = name;
    c.caption = caption;
    return At(c, left, 1995, 420, 375);
  };
  ControlState frameLabel =
      At(Border(Named("frm_His", ControlKind::Label), kColorActiveCaption), 2445, 1725, 1755, 780);
  frameLabel.transparent = true;
  ControlState newColor =
      At(Centred(Font(Border(Named("new_color_lab", ControlKind::Label, "New BackColor"), 0x400000), "Tahoma", 12)),
         120, 1110, 6285, 375);
  newColor.backColor = 0xFFC0C0;
  ControlState currColor =
      At(Centred(Font(Border(Named("curr_color_lab", ControlKind::Label, "Current BackColor"), kNavy), "Tahoma", 12)),
         120, 465, 6285, 375);
  currColor.backColor = kNavy;
  currColor.foreColor = platform::kColorHighlightText;
  ControlState optWhite =
      At(Font(Named("Opt_white", ControlKind::OptionButton, "Invert Colors Font"), "Tahoma", 9), 4350, 2595, 1965, 285);
  ControlState optPrimi = At(Font(Named("Opt_primi", ControlKind::OptionButton, "Primitive Colors Font"), "Tahoma", 9),
                             4335, 1620, 2145, 420);
  optPrimi.value = true;

  return {
      frame,
      At(CaptionLayer("Label25", "Cancel", kNavy, 10.5), 5025, 3675, 1365, 330),
      At(HoverLayer("Image3", kColorActiveCaption), 5010, 3615, 1395, 405),
      At(BoxLayer("cb_cancel", kColorActiveCaption), 5010, 3615, 1395, 405),
      At(CaptionLayer("Label24", "OK", kNavy, 10.5), 3300, 3675, 1365, 330),
      At(HoverLayer("Image2", kColorActiveCaption), 3285, 3615, 1395, 405),
      At(BoxLayer("cb_ok", kColorActiveCaption), 3285, 3615, 1395, 405),
      At(Font(Named("Label4", ControlKind::Label, "History"), "Tahoma", 10.5), 2595, 1605, 660, 255),
      At(Font(Named("Label9", ControlKind::Label, "(DeepBack)"), "Tahoma", 9), 4590, 2880, 1890, 285),
      At(Font(Named("Label8", ControlKind::Label, "(TingeBack)"), "Tahoma", 9), 4590, 1980, 1695, 300),
      optWhite,
      optPrimi,
      At(CaptionLayer("Label23", "Select", kNavy, 10.5), 2460, 2745, 1725, 360),
      At(HoverLayer("Image4", kColorActiveCaption), 2445, 2685, 1755, 435),
      At(BoxLayer("cb_Select", kColorActiveCaption), 2445, 2685, 1755, 435),
      Swatch("Lab_his1", "1", 3675),
      Swatch("Lab_his2", "2", 3105),
      Swatch("Lab_his3", "3", 2535),
      frameLabel,
      newColor,
      currColor,
  };
}
}  // namespace

FmOption::FmOption() : FormModel("fm_Option", "Option", 6525, 4170, kColor3DLight, Layout()) {
  OnMouseMove({""}, [this] { Form_MouseMove(); });
  OnClick({"cb_Select", "Label23", "Image4"}, [this] { cb_Select_Click(); });
  OnClick({"cb_ok", "Label24", "Image2"}, [this] { cb_ok_Click(); });
  OnClick({"cb_cancel", "Label25", "Image3"}, [this] { cb_cancel_Click(); });
  OnClick({"Lab_his1"}, [this] { SwatchClick("Lab_his1"); });
  OnClick({"Lab_his2"}, [this] { SwatchClick("Lab_his2"); });
  OnClick({"Lab_his3"}, [this] { SwatchClick("Lab_his3"); });
  OnMouseMove({"cb_Select", "Label23"}, [this] {
    CaptureDialogOwner();
    SetVisible("Image4", true);
  });
  OnMouseMove({"Image4"}, [this] { CaptureDialogOwner(); });
  OnMouseMove({"cb_ok", "Label24"}, [this] { SetVisible("Image2", true); });
  OnMouseMove({"cb_cancel", "Label25"}, [this] { SetVisible("Image3", true); });
}

void FmOption::Form_Load() { ShowColorOnOptions(); }

void FmOption::Form_MouseMove() {
  SetVisible("Image2", false);
  SetVisible("Image3", false);
  SetVisible("Image4", false);
}

void FmOption::Form_Unload() {
  auto& s = engine::Shared();
  s.HistoryColor1 = BackColor("Lab_his1");
  s.HistoryColor2 = BackColor("Lab_his2");
  s.HistoryColor3 = BackColor("Lab_his3");
}

void FmOption::Unload() {
  Form_Unload();
  Unloaded();
  g_instance.Unloaded(this);
}

void FmOption::CaptureDialogOwner() {
  if (DialogOwnerWnd) return;
  platform::Point pointer;
  engine::Os().GetCursorPos(pointer);
  DialogOwnerWnd = engine::Os().WindowFromPoint(pointer);
}

void FmOption::cb_Select_Click() {
  // Every opening starts from a full panel of 16 black custom colours and
  // without the current colour preselected.
  std::array<Color, 16> customColors{};
  platform::ChooseColorRecord record;
  record.structSize = 36;
  record.owner = DialogOwnerWnd;
  record.result = 0;
  record.customColors = &customColors;
  record.flags = platform::kCcFullOpen;
  if (engine::Os().ShowColorDialog(record)) SetBackColor("new_color_lab", record.result);
}

void FmOption::SwatchClick(const char* swatch) {
  const Color color = BackColor(swatch);
  if (color != engine::kEmptySwatchColor) SetBackColor("new_color_lab", color);
}

void FmOption::cb_ok_Click() {
  auto& s = engine::Shared();
  s.HighlightColor = BackColor("new_color_lab");
  s.RopMode = Value("Opt_white") ? platform::kR2MergePenNot : platform::kR2MaskPen;
  Hide();
  s.HighlightOff = platform::kFalse;
  engine::PaintRowBand();
}

void FmOption::cb_cancel_Click() {
  Hide();
  engine::PaintRowBand();
}

std::shared_ptr<FmOption> fm_Option() { return g_instance.Get(); }

std::shared_ptr<FmOption> fm_OptionIfLoaded() { return g_instance.IfLoaded(); }

void ReleaseFmOption() { g_instance.Release(); }

void ShowColorOnOptions() {
  const auto form = fm_Option();
  const Color color = engine::Shared().HighlightColor;
  form->SetBackColor("curr_color_lab", color);
  form->SetBackColor("new_color_lab", color);
  if (form->BackColor("Lab_his1") == engine::kEmptySwatchColor) form->SetBackColor("Lab_his1", color);
}

}  // namespace rowtint::forms
