#include "platform/sim/sim_settings_store.h"

#include <fstream>

#include "platform/error.h"

namespace rowtint::sim {

SimSettingsStore::SimSettingsStore(std::string path) : path_(std::move(path)) { WriteFile(); }

std::string SimSettingsStore::GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                                         const std::string& defaultText) {
  auto it = values_.find({appName, section, key});
  return it == values_.end() ? defaultText : it->second;
}

void SimSettingsStore::SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                                   const std::string& text) {
  if (writesLeft_ == 0) platform::Raise(5, "Invalid procedure call or argument");
  if (writesLeft_ > 0) --writesLeft_;
  values_[{appName, section, key}] = text;
  addInWrites_.insert({appName, section, key});
  WriteFile();
}

void SimSettingsStore::PutByUser(const std::string& appName, const std::string& section, const std::string& key,
                                 const std::string& text) {
  values_[{appName, section, key}] = text;
  addInWrites_.erase({appName, section, key});
  WriteFile();
}

void SimSettingsStore::WriteFile() const {
  if (path_.empty()) return;
  std::ofstream f(path_, std::ios::trunc);
  for (const auto& [key, text] : values_)
    f << std::get<0>(key) << '\t' << std::get<1>(key) << '\t' << std::get<2>(key) << '\t' << text << '\n';
}

}  // namespace rowtint::sim
