// The diagnostics log on Windows: switched on per user by the DWORD value
// Diagnostics = 1 under HKEY_CURRENT_USER\Software\Rowtint, written to
// %LOCALAPPDATA%\Rowtint\rowtint.log. Each line adds to what the add-in says
// a timestamp, Excel's bitness, the focus window's class chain up to its
// root, the thread's DPI awareness and the focus window's dots per inch, and
// whether the thread has a caret and where. Past 1 MB the file becomes
// rowtint.log.1 (replacing an older one) and a new file begins.
#pragma once

#include <cstdint>
#include <string>

#include "platform/diagnostics.h"

namespace rowtint::win32 {

class DiagnosticsLog final : public platform::Diagnostics {
 public:
  static constexpr std::uint64_t kRollOverBytes = 1024 * 1024;

  bool Enabled() override;
  void Write(const std::string& what) override;
  std::string Environment() override;

  // The log file's path, empty when there is no local application data folder.
  static std::wstring LogPath();
  // What Windows shows of the windows now, as the log words it.
  static std::string WindowFacts();
};

}  // namespace rowtint::win32
