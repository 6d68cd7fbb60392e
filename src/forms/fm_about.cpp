#include "forms/fm_about.h"

#include "engine/failure_styles.h"
#include "engine/paint_row_band.h"
#include "engine/platform_services.h"
#include "forms/control_layout.h"
#include "forms/default_instance.h"
#include "platform/error.h"

namespace rowtint::forms {
namespace {
using namespace layout;
using platform::kColorHighlight;

constexpr Color kNavy = 0x800000;
constexpr Color kLinkBlue = 0xC00000;
constexpr std::int32_t kFileNotFound = 53;

DefaultInstance<FmAbout> g_instance;

ControlState Plain(const char* name, const char* caption) { return Named(name, ControlKind::Label, caption); }

std::vector<ControlState> Layout() {
  ControlState frame = At(Border(Named("Frame1", ControlKind::Frame), kColorHighlight), -225, 3435, 7020, 55);
  frame.backColor = platform::kColorHighlightText;
  ControlState help = At(Centred(Border(Plain("Label10", "Help"), platform::kColorWindowFrame)), 2220, 3645, 1140, 270);
  help.foreColor = kNavy;
  ControlState link = At(Centred(Plain("Label3", kSupportAddress)), 4245, 2775, 1680, 285);
  link.foreColor = kLinkBlue;
  link.handCursor = true;
  ControlState version =
      At(Font(Plain("Label2", "Ver 1.0.5"), "\xE5\xAE\x8B\xE4\xBD\x93", 9, false, 134), 5745, 315, 855, 300);
  version.foreColor = kLinkBlue;
  ControlState logo = At(Border(Named("Image1", ControlKind::Image), kColorHighlight), 30, 60, 4110, 2655);
  logo.picture = "logo";
  return {
      frame,
      help,
      At(Plain("Label8", "December 2026"), 105, 3660, 2505, 255),
      At(CaptionLayer("Label7", "OK", platform::kColorBtnText, 9), 4890, 3705, 1425, 300),
      At(HoverLayer("Image2", kColorHighlight), 4875, 3645, 1455, 375),
      At(BoxLayer("Label5", kColorHighlight), 4875, 3645, 1455, 375),
      At(Plain("Label4", "Technique Support:"), 4215, 2445, 2055, 255),
      link,
      version,
      At(Font(Plain("Label1", " Rowtint "), "Tahoma", 18, true), 4230, 135, 2130, 555),
      logo,
  };
}
}  // namespace

FmAbout::FmAbout() : FormModel("fm_About", "About Rowtint", 6705, 4170, platform::kColor3DLight, Layout()) {
  OnMouseMove({""}, [this] { SetVisible("Image2", false); });
  OnClick({"Label5", "Label7", "Image2"}, [this] {
    Hide();
    // The host repaints what the form covered, and without the band.
    engine::PaintRowBand();
  });
  OnMouseMove({"Label5", "Label7"}, [this] { SetVisible("Image2", true); });
  OnClick({"Label10"}, [this] { Label10_Click(); });
  OnClick({"Label3"}, [this] { Label3_Click(); });
}

void FmAbout::Form_Load() { SetVisible("Image2", false); }

void FmAbout::Unload() {
  Unloaded();
  g_instance.Unloaded(this);
}

std::string HelpCommandLine(const std::string& installFolder) { return "explorer.exe \"" + installFolder + "\""; }

void FmAbout::Label10_Click() {
  auto& os = engine::Os();
  if (os.StartProcess(HelpCommandLine(os.ModuleFolder()), platform::kSwShowNormal) == 0)
    platform::Raise(kFileNotFound, "File not found");
}

void FmAbout::Label3_Click() {
  engine::SkipOnFailure([] {
    engine::Os().ShellOpen(0, "open", std::string("mailto:") + kSupportAddress + "?subject=Rowtint Support", "", "", 0);
  });
}

std::shared_ptr<FmAbout> fm_About() { return g_instance.Get(); }

std::shared_ptr<FmAbout> fm_AboutIfLoaded() { return g_instance.IfLoaded(); }

void ReleaseFmAbout() { g_instance.Release(); }

}  // namespace rowtint::forms
