// What keeps Rowtint.dll loaded: COM objects (the connection, its class
// factory, event sinks), form and overlay windows and running timers all have code in
// this library that Windows or the host may still call. DllCanUnloadNow
// answers no while any of them is alive.
#pragma once

#include <windows.h>

namespace rowtint::win32 {

enum class Lifetime { ComObject, FormWindow, Timer, Subclass, OverlayWindow, ServerLock, kCount };

void Hold(Lifetime what) noexcept;
void Let(Lifetime what) noexcept;
long Held(Lifetime what) noexcept;
bool AnythingAlive() noexcept;

// Holds one count for as long as it lives.
class LifetimeHold {
 public:
  explicit LifetimeHold(Lifetime what) noexcept : what_(what) { Hold(what_); }
  ~LifetimeHold() { Let(what_); }
  LifetimeHold(const LifetimeHold&) = delete;
  LifetimeHold& operator=(const LifetimeHold&) = delete;

 private:
  Lifetime what_;
};

// The library's own module handle, for its file path, resources and window classes.
HINSTANCE ModuleInstance() noexcept;
void SetModuleInstance(HINSTANCE instance) noexcept;

}  // namespace rowtint::win32
