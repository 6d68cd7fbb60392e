// The add-in's own settings, which a user or an administrator sets by hand
// under HKEY_CURRENT_USER\Software\Rowtint (the diagnostics switch, the
// surface the band is drawn on), as against the colours the add-in itself
// keeps in the settings store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rowtint::platform {

class OwnKey {
 public:
  virtual ~OwnKey() = default;
  // A string value; nothing when it is missing or of another type.
  virtual std::optional<std::string> Text(const char* name) = 0;
  // A DWORD value; nothing when it is missing or of another type.
  virtual std::optional<std::uint32_t> Number(const char* name) = 0;
};

}  // namespace rowtint::platform
