// Shows the add-in's forms as real windows: each form gets one window,
// sized from its twips at the screen's dots per inch and centred on the work
// area, kept hidden between showings and destroyed when the form unloads.
// A modal showing disables the thread's other windows and runs a message
// loop until the form is hidden or unloaded.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/form_surface.h"
#include "platform/win32/win32_forms_host_window.h"

namespace rowtint::win32 {

class Win32FormsHost : public platform::FormsHost {
 public:
  Win32FormsHost() = default;
  // Destroys the windows still alive.
  ~Win32FormsHost() override;

  void ShowModal(const std::shared_ptr<platform::FormWindow>& form, platform::WindowHandle anchor) override;
  void Invalidate(platform::FormWindow& form) override;
  void Unloaded(platform::FormWindow& form) override;

  // The form's window, or null while it has none.
  HWND WindowOf(const platform::FormWindow& form) const;

 private:
  FormFrame* Find(const platform::FormWindow& form) const;
  FormFrame& FrameFor(const std::shared_ptr<platform::FormWindow>& form, const FormScale& scale);
  void DropOrphans();
  void Destroy(std::vector<std::unique_ptr<FormFrame>>::iterator frame);

  std::vector<std::unique_ptr<FormFrame>> frames_;
};

}  // namespace rowtint::win32
