// The simulated settings store: application, section, key and text, kept
// in a file so that a restarted host finds what the last run saved.
#pragma once

#include <map>
#include <set>
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
  // A value the user (or another program) put into the store.
  void PutByUser(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& text);
  // Whether the value stored under the key is one the add-in wrote.
  bool WrittenByAddIn(const Key& key) const { return addInWrites_.count(key) != 0; }
  // The next write fails, as a store that refuses writes would.
  void FailWritesAfter(int writes) { writesLeft_ = writes; }

 private:
  void WriteFile() const;
  std::string path_;
  std::map<Key, std::string> values_;
  std::set<Key> addInWrites_;
  int writesLeft_ = -1;
};

}  // namespace rowtint::sim
