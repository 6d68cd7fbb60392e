// The per-user application settings store: text values addressed by
// application, section and key.
#pragma once

#include <string>

namespace rowtint::platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or defaultText when the application, section or key does not exist.
  virtual std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                                 const std::string& defaultText) = 0;
  // Stores the text, creating the application and section as needed; raises when it cannot.
  virtual void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                           const std::string& text) = 0;
};

}  // namespace rowtint::platform
