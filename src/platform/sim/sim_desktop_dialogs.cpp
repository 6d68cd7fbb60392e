// The simulated desktop's dialogs and shell: the colour dialog, which stays
// up with the message loop running until the user answers it, the message
// box, and what the shell and process start are asked to run.
#include "platform/sim/sim_desktop.h"
#include "platform/sim/system_colors.h"

namespace rowtint::sim {

void SimDesktop::AnswerColorDialog(std::optional<platform::Color> color) { colorAnswer_ = color; }

bool SimDesktop::ShowColorDialog(platform::ChooseColorRecord& record) {
  ++calls_;
  colorDialogsSeen.push_back(record);
  if (record.customColors) lastCustomColors = *record.customColors;
  if (!colorAnswer_ && pumpOne_) {
    // The dialog is up, centred, with the focus, until the user answers it;
    // the message loop runs meanwhile, so timers keep firing.
    constexpr int kWidth = 452, kHeight = 328;
    const Rect screen = screen_.Bounds();
    const int left = (screen.right - kWidth) / 2, top = (screen.bottom - kHeight) / 2;
    const WindowHandle previousActive = active_, previousFocus = focus_, previousForeground = foreground_;
    colorDialog_ =
        CreateWindow("#32770", 0, {left, top, left + kWidth, top + kHeight}, [this](FrameBuffer& fb, const Rect& clip) {
          const Rect r = WindowRect(colorDialog_);
          fb.Fill(r, clip, ResolveColor(platform::kColorBtnFace));
          fb.Outline(r, clip, 0x646464);
          fb.Fill({r.left + 1, r.top + 1, r.right - 1, r.top + 22}, clip, ResolveColor(platform::kColorActiveCaption));
        });
    active_ = focus_ = foreground_ = colorDialog_;
    PushModal(colorDialog_);
    PaintNow(WindowRect(colorDialog_));
    while (!colorAnswer_ && pumpOne_()) {
    }
    PopModal(colorDialog_);
    DestroyWindow(colorDialog_);
    colorDialog_ = 0;
    if (IsWindow(previousActive)) active_ = previousActive;
    if (IsWindow(previousFocus)) focus_ = previousFocus;
    if (IsWindow(previousForeground)) foreground_ = previousForeground;
  }
  // The user defines custom colours in the dialog; they must not outlive it.
  if (record.customColors) record.customColors->fill(0x00FFFFFF);
  const auto answer = colorAnswer_.value_or(std::nullopt);
  colorAnswer_.reset();
  if (!answer) return false;
  record.result = *answer;
  return true;
}

int SimDesktop::ShowMessageBox(WindowHandle, const std::string& text, const std::string&, std::uint32_t) {
  ++calls_;
  records_.messages.push_back(text);
  return 1;
}

std::intptr_t SimDesktop::ShellOpen(WindowHandle, const std::string&, const std::string& file,
                                    const std::string& parameters, const std::string&, int) {
  ++calls_;
  records_.launched.push_back({file + (parameters.empty() ? "" : " " + parameters)});
  return shellExecuteResult;
}

std::uint32_t SimDesktop::StartProcess(const std::string& application, const std::string& commandLine, int) {
  ++calls_;
  if (processStartFails) return 0;
  records_.launched.push_back({commandLine, application});
  return nextProcessId_++;
}

std::string SimDesktop::WindowsFolder() {
  ++calls_;
  return "C:\\Windows";
}

std::string SimDesktop::ModuleFolder() {
  ++calls_;
  return moduleFolder_;
}

}  // namespace rowtint::sim
