// The add-in's own key, HKEY_CURRENT_USER\Software\Rowtint, read from the registry.
#pragma once

#include "platform/own_key.h"

namespace rowtint::win32 {

class RegistryOwnKey final : public platform::OwnKey {
 public:
  std::optional<std::string> Text(const char* name) override;
  std::optional<std::uint32_t> Number(const char* name) override;
};

}  // namespace rowtint::win32
