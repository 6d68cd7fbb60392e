// The system's own dialogs the add-in opens: the colour dialog and the message box.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace rowtint::platform {

inline constexpr std::uint32_t kCcFullOpen = 0x2;
inline constexpr std::uint32_t kMbOk = 0x0;

// The colour dialog's record, as far as the add-in fills and reads it.
struct ChooseColorRecord {
  std::uint32_t structSize = 0;
  WindowHandle owner = 0;
  Color result = 0;
  std::array<Color, 16>* customColors = nullptr;
  std::uint32_t flags = 0;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual bool ShowColorDialog(ChooseColorRecord& record) = 0;
  virtual int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                             std::uint32_t type) = 0;
};

}  // namespace rowtint::platform
