// What the add-in starts outside itself: a document through the shell, a
// program from a command line, and where its own module file lies.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace rowtint::platform {

inline constexpr std::int32_t kSwShowNormal = 1;

class Shell {
 public:
  virtual ~Shell() = default;
  virtual std::intptr_t ShellOpen(WindowHandle hwnd, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& directory, int showCmd) = 0;
  // Starts the program `application` (a full path, never searched for) with
  // a command line; returns its identifier, 0 when it did not start.
  virtual std::uint32_t StartProcess(const std::string& application, const std::string& commandLine,
                                     int windowStyle) = 0;
  // The folder that holds the add-in's own module file, without a trailing separator.
  virtual std::string ModuleFolder() = 0;
  // The system's own Windows folder (not a per-user one under Terminal
  // Services), without a trailing separator.
  virtual std::string WindowsFolder() = 0;
};

}  // namespace rowtint::platform
