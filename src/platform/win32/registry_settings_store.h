// The settings store where the host language's runtime keeps program
// settings: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>,
// each key a REG_SZ value; UTF-8 on the add-in's side, wide in the registry.
#pragma once

#include "platform/settings_store.h"

namespace rowtint::win32 {

class RegistrySettingsStore final : public platform::SettingsStore {
 public:
  // A missing application, section or value, and a value that is not a
  // REG_SZ string, give the default.
  std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                         const std::string& defaultText) override;
  // Creates the keys as needed and replaces the value; a failure raises the
  // runtime's 5, "Invalid procedure call or argument".
  void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                   const std::string& text) override;
};

}  // namespace rowtint::win32
