// The add-in's own key of the simulated user, HKEY_CURRENT_USER\Software\Rowtint,
// as scripts set it: string and DWORD values by name.
#pragma once

#include <map>
#include <string>

#include "platform/own_key.h"

namespace rowtint::sim {

class SimOwnKey final : public platform::OwnKey {
 public:
  std::optional<std::string> Text(const char* name) override {
    const auto it = texts.find(name);
    if (it == texts.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::uint32_t> Number(const char* name) override {
    const auto it = numbers.find(name);
    if (it == numbers.end()) return std::nullopt;
    return it->second;
  }

  std::map<std::string, std::string> texts;
  std::map<std::string, std::uint32_t> numbers;
};

}  // namespace rowtint::sim
