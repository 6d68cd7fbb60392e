#include "forms/form_set.h"

namespace rowtint::forms {
namespace {
template <class Form>
std::shared_ptr<Form> IfLoaded(const std::shared_ptr<Form>& form) {
  return form && !form->IsUnloaded() ? form : nullptr;
}
}  // namespace

OptionsForm& FormSet::Options(Color highlightColor) {
  if (!IfLoaded(options_)) options_ = std::make_shared<OptionsForm>(os_, highlightColor);
  return *options_;
}

AboutForm& FormSet::About() {
  if (!IfLoaded(about_)) about_ = std::make_shared<AboutForm>(os_);
  return *about_;
}

std::shared_ptr<OptionsForm> FormSet::OptionsIfLoaded() const { return IfLoaded(options_); }

std::shared_ptr<AboutForm> FormSet::AboutIfLoaded() const { return IfLoaded(about_); }

void FormSet::DropWindows() {
  if (auto options = OptionsIfLoaded()) options->DropWindow();
  if (auto about = AboutIfLoaded()) about->DropWindow();
}

}  // namespace rowtint::forms
