// The simulated settings store: application, section, key and text, kept
// in a file so that a restarted host finds what the last run saved.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/settings_store.h"

namespace rowtint::sim {

class SimSettingsStore : public platform::SettingsStore {
 public:
  // Starts empty; every write rewrites the file (when a path is given).
  explicit SimSettingsStore(std::string path = "");

  std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                         const std::string& defaultText) override;
  void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                   const std::string& text) override;

  using Key = std::tuple<std::string, std::string, std::string>;
  const std::map<Key, std::string>& Values() const { return values_; }
  // The next write fails, as a store that refuses writes would.
  void FailWritesAfter(int writes) { writesLeft_ = writes; }

 private:
  void WriteFile() const;
  std::string path_;
  std::map<Key, std::string> values_;
  int writesLeft_ = -1;
};

}  // namespace rowtint::sim
