#include "forms/about_form.h"

#include "engine/failure_styles.h"
#include "engine/highlighter.h"
#include "forms/control_layout.h"
#include "platform/error.h"

namespace rowtint::forms {
namespace {
using namespace layout;
using namespace about;
using platform::kColorHighlight;

constexpr Color kNavy = 0x800000;
constexpr Color kLinkBlue = 0xC00000;
constexpr std::int32_t kFileNotFound = 53;

ControlState Plain(ControlName name, const char* caption) { return Named(name, ControlKind::Label, caption); }

}  // namespace

std::vector<ControlState> AboutFormLayout() {
  ControlState frame = At(Border(Named(kFrame, ControlKind::Frame), kColorHighlight), -225, 3435, 7020, 55);
  frame.backColor = platform::kColorHighlightText;
  ControlState help = At(Centred(Border(Plain(kHelpLink, "Help"), platform::kColorWindowFrame)), 2220, 3645, 1140, 270);
  help.foreColor = kNavy;
  ControlState link = At(Centred(Plain(kSupportLink, kSupportAddress)), 4245, 2775, 1680, 285);
  link.foreColor = kLinkBlue;
  link.handCursor = true;
  ControlState version =
      At(Font(Plain(kVersion, "Ver 1.0.5"), "\xE5\xAE\x8B\xE4\xBD\x93", 9, false, 134), 5745, 315, 855, 300);
  version.foreColor = kLinkBlue;
  ControlState logo = At(Border(Named(kLogo, ControlKind::Image), kColorHighlight), 30, 60, 4110, 2655);
  logo.picture = "logo";
  return {
      frame,
      help,
      At(Plain(kDateLine, "December 2026"), 105, 3660, 2505, 255),
      At(CaptionLayer(kOkCaption, "OK", platform::kColorBtnText, 9), 4890, 3705, 1425, 300),
      At(HoverLayer(kOkHover, kColorHighlight), 4875, 3645, 1455, 375),
      At(BoxLayer(kOkBox, kColorHighlight), 4875, 3645, 1455, 375),
      At(Plain(kSupportTitle, "Technique Support:"), 4215, 2445, 2055, 255),
      link,
      version,
      At(Font(Plain(kTitle, " Rowtint "), "Tahoma", 18, true), 4230, 135, 2130, 555),
      logo,
  };
}

AboutForm::AboutForm(const engine::Services& services)
    : FormModel(services.forms, "fm_About", "About Rowtint", 6705, 4170, platform::kColor3DLight, AboutFormLayout()),
      os_(services) {
  OnBackgroundMouseMove([this] { SetVisible(kOkHover, false); });
  OnClick({kOkBox, kOkCaption, kOkHover}, [this] {
    engine::Highlighter& band = Band();
    Hide();
    // The host repaints what the form covered, and without the band.
    band.PaintRowBand();
  });
  OnMouseMove({kOkBox, kOkCaption}, [this] { SetVisible(kOkHover, true); });
  OnClick({kHelpLink}, [this] { OpenHelp(); });
  OnClick({kSupportLink}, [this] { MailSupport(); });
  SetVisible(kOkHover, false);
}

std::string FileBrowser(const std::string& windowsFolder) { return windowsFolder + "\\explorer.exe"; }

std::string HelpCommandLine(const std::string& fileBrowser, const std::string& installFolder) {
  return "\"" + fileBrowser + "\" \"" + installFolder + "\"";
}

void AboutForm::OpenHelp() {
  // Started by its full path: a bare "explorer.exe" would be searched for in
  // Excel's folder and the current one (often Downloads) before Windows'.
  const std::string browser = FileBrowser(os_.shell.WindowsFolder());
  if (os_.shell.StartProcess(browser, HelpCommandLine(browser, os_.shell.ModuleFolder()), platform::kSwShowNormal) == 0)
    platform::Raise(kFileNotFound, "File not found");
}

void AboutForm::MailSupport() {
  engine::SkipOnFailure([this] {
    os_.shell.ShellOpen(0, "open", std::string("mailto:") + kSupportAddress + "?subject=Rowtint Support", "", "", 0);
  });
}

}  // namespace rowtint::forms
