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

// A library from the system folder only. A Windows that refuses the
// system-folder flag (one without the update that brought it) gives null:
// the library counts as not available, and no search by bare name follows.
HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;

}  // namespace rowtint::win32
