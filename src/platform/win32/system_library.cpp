#include "platform/win32/system_library.h"

namespace rowtint::win32 {

FARPROC SystemFunction(const wchar_t* loadedLibrary, const char* name) noexcept {
  const HMODULE module = GetModuleHandleW(loadedLibrary);
  return module ? GetProcAddress(module, name) : nullptr;
}

UINT DpiForWindow(HWND window) noexcept {
  using Function = UINT(WINAPI*)(HWND);
  const auto function =
      reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(L"user32.dll", "GetDpiForWindow")));
  return function && window ? function(window) : 0;
}

namespace {
template <class Function>
Function User32(const char* name) noexcept {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(L"user32.dll", name)));
}
// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE, and DPI_AWARENESS_PER_MONITOR_AWARE.
const DpiContext kPerMonitorV2 = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-4));
const DpiContext kPerMonitor = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-3));
constexpr int kPerMonitorAwareness = 2;
}  // namespace

DpiContext ThreadDpiContext() noexcept {
  const auto get = User32<DpiContext(WINAPI*)()>("GetThreadDpiAwarenessContext");
  return get ? get() : nullptr;
}

DpiContext EnterPerMonitorAware() noexcept {
  const auto set = User32<DpiContext(WINAPI*)(DpiContext)>("SetThreadDpiAwarenessContext");
  const auto awareness = User32<int(WINAPI*)(DpiContext)>("GetAwarenessFromDpiAwarenessContext");
  if (!set) return nullptr;
  if (awareness && awareness(ThreadDpiContext()) == kPerMonitorAwareness) return nullptr;
  const DpiContext previous = set(kPerMonitorV2);
  return previous ? previous : set(kPerMonitor);
}

DpiContext SetThreadDpi(DpiContext context) noexcept {
  const auto set = User32<DpiContext(WINAPI*)(DpiContext)>("SetThreadDpiAwarenessContext");
  return set && context ? set(context) : nullptr;
}

HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
  constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
#endif
  return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace rowtint::win32
