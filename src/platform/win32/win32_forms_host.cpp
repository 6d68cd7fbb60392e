#include "platform/win32/win32_forms_host.h"

#include <algorithm>
#include <optional>

#include "platform/error.h"
#include "platform/win32/hresult_errors.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_forms_host_modal.h"

namespace rowtint::win32 {
namespace {
constexpr std::int32_t kAlreadyDisplayed = 400;
}  // namespace

Win32FormsHost::~Win32FormsHost() {
  while (!frames_.empty()) Destroy(frames_.begin());
  FormWindowClassUse::Tidy();
}

void Win32FormsHost::Destroy(std::vector<std::unique_ptr<FormFrame>>::iterator frame) {
  // Out of the list before it goes: destroying a window sends messages that may come back here.
  std::unique_ptr<FormFrame> doomed = std::move(*frame);
  frames_.erase(frame);
  doomed.reset();
}

FormFrame* Win32FormsHost::Find(const platform::FormWindow& form) const {
  for (const auto& frame : frames_)
    if (frame->Shows(form)) return frame.get();
  return nullptr;
}

void Win32FormsHost::DropOrphans() {
  for (auto it = frames_.begin(); it != frames_.end();) {
    if ((*it)->Orphaned()) {
      Destroy(it);
      it = frames_.begin();
    } else {
      ++it;
    }
  }
}

FormFrame& Win32FormsHost::FrameFor(const std::shared_ptr<platform::FormWindow>& form, const FormScale& scale) {
  if (FormFrame* frame = Find(*form)) {
    // A hidden window made for another monitor's resolution is made anew for this one.
    if (frame->Scale() == scale || frame->InModal()) return *frame;
    Unloaded(*form);
  }
  frames_.push_back(std::make_unique<FormFrame>(form, scale));
  return *frames_.back();
}

HWND Win32FormsHost::WindowOf(const platform::FormWindow& form) const {
  const FormFrame* frame = Find(form);
  return frame ? frame->Window() : nullptr;
}

void Win32FormsHost::ShowModal(const std::shared_ptr<platform::FormWindow>& form, platform::WindowHandle anchor) {
  DropOrphans();
  // The form's handlers call into Excel: they run in the context the form was shown from.
  const DpiContext caller = ThreadDpiContext();
  const HWND nearWindow = reinterpret_cast<HWND>(anchor);
  // Made, sized and placed per-monitor aware, in the pixels of the monitor it opens on.
  std::optional<ScopedThreadDpi> own(std::in_place);
  FormFrame& frame = FrameFor(form, FormScale::OfWindow(nearWindow));
  if (frame.InModal()) platform::Raise(kAlreadyDisplayed, "Form already displayed; can't show modally");
  SetWindowTextW(frame.Window(), Widen(form->Caption()).c_str());
  ModalShowing showing(frame.Window(), frame.Placement(*form, nearWindow));
  // Showing and activating sends messages: the frame is looked up again
  // after them, and after the loop (the form may have been unloaded).
  if (FormFrame* shown = Find(*form)) shown->BeginModal(showing, caller);
  // The loop runs Excel's timer and messages in the caller's context.
  own.reset();
  RunModalLoop([&] { return showing.Ended() || !form->Visible(); });
  if (FormFrame* still = Find(*form)) still->EndModal();
  showing.End();
  FormWindowClassUse::Tidy();
}

void Win32FormsHost::Invalidate(platform::FormWindow& form) {
  FormFrame* frame = Find(form);
  if (!frame) return;
  if (form.Visible())
    frame->Repaint();
  else
    frame->Hide();
}

void Win32FormsHost::Unloaded(platform::FormWindow& form) {
  auto it = std::find_if(frames_.begin(), frames_.end(), [&](const auto& frame) { return frame->Shows(form); });
  if (it != frames_.end()) Destroy(it);
}

}  // namespace rowtint::win32
