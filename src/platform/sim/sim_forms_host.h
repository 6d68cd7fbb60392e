// Shows forms on the simulated desktop: a window sized for the resolution of
// Excel's monitor and centred on the screen that draws the form's controls, and a modal loop that keeps the host's
// message loop (here: the script) running until the form is hidden or unloaded.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "platform/form_surface.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/system_colors.h"

namespace rowtint::sim {

class SimFormsHost : public platform::FormsHost {
 public:
  // pumpOne runs the next thing the message loop has to do; false when there is nothing more.
  SimFormsHost(SimDesktop& desktop, std::function<bool()> pumpOne) : desktop_(desktop), pumpOne_(std::move(pumpOne)) {}

  void ShowModal(const std::shared_ptr<platform::FormWindow>& form, platform::WindowHandle anchor) override;
  void Invalidate(platform::FormWindow& form) override;
  void Unloaded(platform::FormWindow& form) override {
    made_.erase(&form);
    Close(form);
  }
  // Windows keeps a form's window, hidden, from its first showing until the
  // form unloads: the add-in's library, whose code the window runs, stays
  // loaded while one is kept.
  bool KeepsFormWindows() const { return !made_.empty(); }
  // The library that made them went, and its forms with it.
  void LibraryGone() { made_.clear(); }

  // The form the user is working with: the topmost shown one, or nullptr.
  std::shared_ptr<platform::FormWindow> ActiveForm() const;
  // A control's centre on the screen (the form's own background for "").
  Point ControlCentre(const platform::FormWindow& form, const std::string& control) const;
  WindowHandle WindowOf(const platform::FormWindow& form) const;

 private:
  struct Shown {
    std::shared_ptr<platform::FormWindow> form;
    WindowHandle window;
    WindowHandle previousActive;
    WindowHandle previousFocus;
    WindowHandle previousForeground = 0;
    int dpi = 96;  // of the monitor the form opened on
  };
  void Paint(const platform::FormWindow& form, FrameBuffer& fb, const Rect& clip) const;
  void Close(platform::FormWindow& form);
  Shown* Find(const platform::FormWindow& form);
  const Shown* Find(const platform::FormWindow& form) const;

  SimDesktop& desktop_;
  std::function<bool()> pumpOne_;
  std::vector<Shown> shown_;
  std::set<const platform::FormWindow*> made_;
};

}  // namespace rowtint::sim
