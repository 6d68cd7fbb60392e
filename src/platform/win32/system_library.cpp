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

HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
  constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
#endif
  return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace rowtint::win32
