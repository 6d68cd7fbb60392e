#include "platform/win32/system_library.h"

namespace rowtint::win32 {

FARPROC SystemFunction(const wchar_t* loadedLibrary, const char* name) noexcept {
  const HMODULE module = GetModuleHandleW(loadedLibrary);
  return module ? GetProcAddress(module, name) : nullptr;
}

HMODULE LoadSystemLibrary(const wchar_t* name) noexcept {
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
  constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
#endif
  return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace rowtint::win32
