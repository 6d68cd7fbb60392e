// Another program beside the stand-in (rowtint-other.exe): its one window
// comes to the front, or lies topmost over part of the screen without ever
// taking the focus. It ends, its window closed, when the object goes.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/types.h"

namespace rowtint::host {

class OtherProgram {
 public:
  enum class Mode { Away, Cover };
  // Returns once the window is shown and painted, and for Away in front;
  // raises ScriptError when that does not come within a few seconds.
  static std::unique_ptr<OtherProgram> Start(Mode mode, const platform::Rect& rect, COLORREF fill);
  ~OtherProgram();
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;

 private:
  OtherProgram() = default;

  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

}  // namespace rowtint::host
