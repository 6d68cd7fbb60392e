// The portable side of a dialog: its controls and their properties, the
// handlers bound to clicks and mouse movements, and showing and hiding.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/control_names.h"
#include "platform/form_surface.h"

namespace rowtint::engine {
class Highlighter;
}

namespace rowtint::forms {

using platform::Color;
using platform::ControlState;

class FormModel : public platform::FormWindow, public std::enable_shared_from_this<FormModel> {
 public:
  std::string Name() const override { return name_; }
  std::string Caption() const override { return caption_; }
  std::int32_t ClientWidthTwips() const override { return width_; }
  std::int32_t ClientHeightTwips() const override { return height_; }
  Color BackColor() const override { return backColor_; }
  const std::vector<ControlState>& Controls() const override { return controls_; }
  bool Visible() const override { return visible_; }
  void Click(const std::string& control) override;
  void MouseMove(const std::string& control) override;
  void CloseWindow() override;

  Color BackColor(ControlName control) const { return Find(control.text).backColor; }
  void SetBackColor(ControlName control, Color color);
  bool IsVisible(ControlName control) const { return Find(control.text).visible; }
  void SetVisible(ControlName control, bool visible);
  bool Value(ControlName control) const { return Find(control.text).value; }
  void SetValue(ControlName control, bool value);

  // Shows the form modally with no owner form, for the band of the
  // connection that shows it; returns once it is hidden or unloaded.
  void ShowModal(engine::Highlighter& band);
  void Hide();
  // Whether the form has been unloaded: its owner makes a new one at the next use.
  bool IsUnloaded() const { return unloaded_; }
  // The form's window goes, as at the end of a connection; the form, with
  // everything it holds, stays for the next showing.
  void DropWindow() { host_.Unloaded(*this); }

 protected:
  FormModel(platform::FormsHost& host, std::string name, std::string caption, std::int32_t widthTwips,
            std::int32_t heightTwips, Color back, std::vector<ControlState> controls);
  using Handler = std::function<void()>;
  // Binds a handler to the clicks (or mouse movements) of the named controls.
  void OnClick(std::initializer_list<ControlName> controls, const Handler& handler);
  void OnMouseMove(std::initializer_list<ControlName> controls, const Handler& handler);
  void OnBackgroundMouseMove(const Handler& handler) { moves_[""] = handler; }
  // The window was closed other than through the form's own buttons.
  virtual void Unload() = 0;
  // The last step of an unload: hidden, and the window that showed the form goes.
  void Unloaded();
  // The band of the connection that shows the form; raises while it is not shown.
  engine::Highlighter& Band();

 private:
  ControlState& Find(const std::string& control);
  const ControlState& Find(const std::string& control) const;
  void Changed();

  platform::FormsHost& host_;
  std::string name_, caption_;
  std::int32_t width_, height_;
  Color backColor_;
  std::vector<ControlState> controls_;
  std::map<std::string, Handler> clicks_, moves_;
  bool visible_ = false;
  bool unloaded_ = false;
  engine::Highlighter* band_ = nullptr;
};

}  // namespace rowtint::forms
