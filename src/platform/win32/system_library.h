// Functions of Windows' own libraries that older Windows may lack, found
// without ever loading a library by a bare name: Excel's folder and the
// folder of the workbook the user opened last come before the system's in
// the search for one, and anyone may put a DLL there.
#pragma once

#include <windows.h>

namespace rowtint::win32 {

// The function from a library this process has loaded already (one the
// add-in imports, such as user32.dll), or null when Windows lacks it.
FARPROC SystemFunction(const wchar_t* loadedLibrary, const char* name) noexcept;

// GetDpiForWindow (Windows 10 1607 and later): the resolution of the monitor
// the window is on, as the window uses it; 0 without a window or where
// Windows lacks the function.
UINT DpiForWindow(HWND window) noexcept;

// The thread's DPI awareness context (Windows 10 1607 and later), as the
// opaque handle Windows gives; null where Windows has no per-thread contexts.
using DpiContext = void*;
DpiContext ThreadDpiContext() noexcept;
// Puts the thread into the per-monitor-aware context (v2, or v1 where v2 is
// refused) and gives the context it was in; null when the thread was per-monitor
// aware already or Windows lacks the function, with nothing to restore.
DpiContext EnterPerMonitorAware() noexcept;
// Puts the thread into a context a call above gave and gives the one it was
// in; null does nothing and gives null.
DpiContext SetThreadDpi(DpiContext context) noexcept;

// The thread per-monitor aware, or in a given context, for a scope, and back
// in the context it was in after it.
class ScopedThreadDpi {
 public:
  ScopedThreadDpi() noexcept : previous_(EnterPerMonitorAware()) {}
  explicit ScopedThreadDpi(DpiContext context) noexcept : previous_(SetThreadDpi(context)) {}
  ~ScopedThreadDpi() { SetThreadDpi(previous_); }
  ScopedThreadDpi(const ScopedThreadDpi&) = delete;
  ScopedThreadDpi& operator=(const ScopedThreadDpi&) = delete;

 private:
  DpiContext previous_;
};

// A library from the system folder only. A Windows that refuses the
// system-folder flag (one without the update that brought it) gives null:
// the library counts as not available, and no search by bare name follows.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;

// A library from the system folder for a scope, freed after it.
class ScopedSystemLibrary {
 public:
  explicit ScopedSystemLibrary(const wchar_t* name) noexcept : module_(LoadSystemLibrary(name)) {}
  ~ScopedSystemLibrary() {
    if (module_) FreeLibrary(module_);
  }
  ScopedSystemLibrary(const ScopedSystemLibrary&) = delete;
  ScopedSystemLibrary& operator=(const ScopedSystemLibrary&) = delete;
  // The function by name, or null without the library or the function.
  FARPROC Function(const char* name) const noexcept { return module_ ? GetProcAddress(module_, name) : nullptr; }

 private:
  HMODULE module_;
};

}  // namespace rowtint::win32
