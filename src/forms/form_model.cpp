#include "forms/form_model.h"

#include <utility>

#include "engine/highlighter.h"
#include "platform/error.h"

namespace rowtint::forms {

FormModel::FormModel(platform::FormsHost& host, std::string name, std::string caption, std::int32_t widthTwips,
                     std::int32_t heightTwips, Color back, std::vector<ControlState> controls)
    : host_(host),
      name_(std::move(name)),
      caption_(std::move(caption)),
      width_(widthTwips),
      height_(heightTwips),
      backColor_(back),
      controls_(std::move(controls)) {}

ControlState& FormModel::Find(const std::string& control) {
  return const_cast<ControlState&>(std::as_const(*this).Find(control));
}

const ControlState& FormModel::Find(const std::string& control) const {
  for (const auto& c : controls_)
    if (c.name == control) return c;
  platform::Raise(platform::err::kNotSupported, "Method or data member not found: " + control);
}

void FormModel::Changed() {
  if (visible_) host_.Invalidate(*this);
}

void FormModel::SetBackColor(ControlName control, Color color) {
  Find(control.text).backColor = color;
  Changed();
}

void FormModel::SetValue(ControlName control, bool value) {
  Find(control.text).value = value;
  Changed();
}

void FormModel::SetVisible(ControlName control, bool visible) {
  Find(control.text).visible = visible;
  Changed();
}

void FormModel::OnClick(std::initializer_list<ControlName> controls, const Handler& handler) {
  for (ControlName c : controls) clicks_[c.text] = handler;
}

void FormModel::OnMouseMove(std::initializer_list<ControlName> controls, const Handler& handler) {
  for (ControlName c : controls) moves_[c.text] = handler;
}

void FormModel::Click(const std::string& control) {
  if (!control.empty() && Find(control).kind == platform::ControlKind::OptionButton) {
    // An option button selects itself and clears the others of its own frame.
    const std::string container = Find(control).container;
    for (auto& c : controls_)
      if (c.kind == platform::ControlKind::OptionButton && c.container == container) c.value = c.name == control;
    Changed();
  }
  if (auto it = clicks_.find(control); it != clicks_.end()) it->second();
}

void FormModel::MouseMove(const std::string& control) {
  if (!control.empty()) Find(control);
  if (auto it = moves_.find(control); it != moves_.end()) it->second();
}

engine::Highlighter& FormModel::Band() { return platform::Required(band_); }

void FormModel::CloseWindow() {
  // The unload takes the window away and the focus back to the host's grid;
  // the host then repaints what the form covered, and without the band.
  engine::Highlighter& band = Band();
  Unload();
  band.PaintRowBand();
}

void FormModel::ShowModal(engine::Highlighter& band) {
  // Kept alive by this call even when an unload lets go of it meanwhile.
  const auto self = shared_from_this();
  visible_ = true;
  band_ = &band;
  // However the showing ends, the form keeps no hold on a band whose connection may end.
  struct Release {
    engine::Highlighter*& band;
    ~Release() { band = nullptr; }
  } release{band_};
  host_.ShowModal(self, band.MainWindow());
}

void FormModel::Unloaded() {
  visible_ = false;
  unloaded_ = true;
  host_.Unloaded(*this);
}

void FormModel::Hide() {
  visible_ = false;
  host_.Invalidate(*this);
}

}  // namespace rowtint::forms
