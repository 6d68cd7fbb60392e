// The product-information dialog with its Help and support links.
#pragma once

#include <string>

#include "engine/services.h"
#include "forms/form_model.h"

namespace rowtint::forms {

inline constexpr const char* kSupportAddress = "support@rowtint.org";

class AboutForm : public FormModel {
 public:
  explicit AboutForm(const engine::Services& services);

 private:
  void Unload() override { Unloaded(); }
  void OpenHelp();
  void MailSupport();

  const engine::Services& os_;
};

// The form's controls as it is designed, earlier ones above later ones.
std::vector<ControlState> AboutFormLayout();

// The file browser of the Windows folder, by its full path.
std::string FileBrowser(const std::string& windowsFolder);
// The command line that opens the add-in's folder in that file browser. The
// folder is quoted: a comma in it would otherwise make the browser open
// another place.
std::string HelpCommandLine(const std::string& fileBrowser, const std::string& installFolder);

}  // namespace rowtint::forms
