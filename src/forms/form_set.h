// The add-in's two forms, one instance each, as the host language keeps a
// form: created (and loaded) by its first use, gone when the form is
// unloaded, and otherwise kept, hidden, for as long as the library is loaded.
#pragma once

#include <memory>

#include "forms/about_form.h"
#include "forms/options_form.h"

namespace rowtint::forms {

class FormSet {
 public:
  explicit FormSet(const engine::Services& services) : os_(services) {}

  // The options form, created hidden with the band colour on first use.
  OptionsForm& Options(Color highlightColor);
  AboutForm& About();
  // The instances if there are any, without creating them.
  std::shared_ptr<OptionsForm> OptionsIfLoaded() const;
  std::shared_ptr<AboutForm> AboutIfLoaded() const;
  // The forms' windows go; the forms themselves stay as they are.
  void DropWindows();

 private:
  const engine::Services& os_;
  std::shared_ptr<OptionsForm> options_;
  std::shared_ptr<AboutForm> about_;
};

}  // namespace rowtint::forms
