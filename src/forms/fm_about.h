// The product-information dialog with its Help and support links.
#pragma once

#include <memory>
#include <string>

#include "forms/form_model.h"

namespace rowtint::forms {

inline constexpr const char* kSupportAddress = "support@rowtint.org";

class FmAbout : public FormModel {
 public:
  FmAbout();
  void Form_Load();

 private:
  void Unload() override;
  void Label10_Click();
  void Label3_Click();
};

// The form's one instance, created (and loaded) on first use.
std::shared_ptr<FmAbout> fm_About();
std::shared_ptr<FmAbout> fm_AboutIfLoaded();
void ReleaseFmAbout();

// The command line that opens the add-in's folder in the file browser. The
// folder is quoted: a comma in it would otherwise make the browser open
// another place.
std::string HelpCommandLine(const std::string& installFolder);

}  // namespace rowtint::forms
