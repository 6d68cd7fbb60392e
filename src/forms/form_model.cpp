#include "forms/form_model.h"

#include <utility>

#include "engine/paint_row_band.h"
#include "engine/platform_services.h"
#include "platform/error.h"

namespace rowtint::forms {

FormModel::FormModel(std::string name, std::string caption, std::int32_t widthTwips, std::int32_t heightTwips,
                     Color back, std::vector<ControlState> controls)
    : name_(std::move(name)),
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
  if (visible_) engine::Forms().Invalidate(*this);
}

void FormModel::SetBackColor(const std::string& control, Color color) {
  Find(control).backColor = color;
  Changed();
}

void FormModel::SetVisible(const std::string& control, bool visible) {
  Find(control).visible = visible;
  Changed();
}

void FormModel::OnClick(std::initializer_list<const char*> controls, const Handler& handler) {
  for (const char* c : controls) clicks_[c] = handler;
}

void FormModel::OnMouseMove(std::initializer_list<const char*> controls, const Handler& handler) {
  for (const char* c : controls) moves_[c] = handler;
}

void FormModel::Click(const std::string& control) {
  if (!control.empty() && Find(control).kind == platform::ControlKind::OptionButton) {
    // An option button selects itself and clears the others of its form.
    for (auto& c : controls_)
      if (c.kind == platform::ControlKind::OptionButton) c.value = c.name == control;
    Changed();
  }
  if (auto it = clicks_.find(control); it != clicks_.end()) it->second();
}

void FormModel::MouseMove(const std::string& control) {
  if (!control.empty()) Find(control);
  if (auto it = moves_.find(control); it != moves_.end()) it->second();
}

void FormModel::CloseWindow() {
  // The unload takes the window away and the focus back to the host's grid;
  // the host then repaints what the form covered, and without the band.
  Unload();
  engine::PaintRowBand();
}

void FormModel::ShowModal() {
  visible_ = true;
  engine::Forms().ShowModal(shared_from_this());
}

void FormModel::Unloaded() {
  visible_ = false;
  engine::Forms().Unloaded(*this);
}

void FormModel::Hide() {
  visible_ = false;
  engine::Forms().Invalidate(*this);
}

}  // namespace rowtint::forms
