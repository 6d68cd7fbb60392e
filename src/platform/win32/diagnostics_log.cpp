#include "platform/win32/diagnostics_log.h"

#include <cstdio>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/win32/gdi_handles.h"
#include "platform/win32/hresult_errors.h"
#include "platform/win32/product_version.h"
#include "platform/win32/registry_own_key.h"
#include "platform/win32/system_library.h"

namespace rowtint::win32 {
namespace {

using MonitorDpiFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// Windows calls back once per monitor; the list is filled here and read
// outside the callback, so that nothing can throw across it.
BOOL CALLBACK ListMonitor(HMONITOR monitor, HDC, LPRECT area, LPARAM data) noexcept {
  auto& list = *reinterpret_cast<std::vector<std::pair<RECT, HMONITOR>>*>(data);
  try {
    list.emplace_back(*area, monitor);
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}

std::vector<std::pair<RECT, HMONITOR>> Monitors() {
  std::vector<std::pair<RECT, HMONITOR>> list;
  list.reserve(4);
  EnumDisplayMonitors(nullptr, nullptr, ListMonitor, reinterpret_cast<LPARAM>(&list));
  return list;
}

std::string ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return Narrow(name);
}

std::string Timestamp() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond, now.wMilliseconds);
  return text;
}

// Windows 10 1607 and later know each thread's awareness and each window's
// resolution; older ones have only the system's.
std::string DpiFacts(HWND focus) {
  using ThreadContext = void*(WINAPI*)();
  using Awareness = int(WINAPI*)(void*);
  const auto threadContext = reinterpret_cast<ThreadContext>(
      reinterpret_cast<void*>(SystemFunction(L"user32.dll", "GetThreadDpiAwarenessContext")));
  const auto awarenessOf = reinterpret_cast<Awareness>(
      reinterpret_cast<void*>(SystemFunction(L"user32.dll", "GetAwarenessFromDpiAwarenessContext")));
  const UINT windowDpi = DpiForWindow(focus);
  std::ostringstream facts;
  facts << "dpi awareness ";
  if (threadContext && awarenessOf) {
    const int awareness = awarenessOf(threadContext());
    facts << (awareness == 0 ? "unaware" : awareness == 1 ? "system" : awareness == 2 ? "per-monitor" : "invalid");
  } else {
    facts << "unknown";
  }
  if (windowDpi != 0) {
    facts << ", window " << windowDpi;
  } else {
    ScopedWindowDC screen(nullptr, ScopedWindowDC::Area::Client);
    facts << ", system " << (screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0);
  }
  return facts.str();
}

}  // namespace

bool DiagnosticsLog::Enabled() { return RegistryOwnKey().Number("Diagnostics") == 1u; }

std::string DiagnosticsLog::Environment() {
  std::ostringstream facts;
  facts << "Rowtint " << ROWTINT_VERSION_TEXT << " " << (sizeof(void*) == 8 ? "64-bit" : "32-bit") << "; Windows ";
  // GetVersionEx answers what the caller's manifest allows; ntdll answers what runs.
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion =
      reinterpret_cast<GetVersion>(reinterpret_cast<void*>(SystemFunction(L"ntdll.dll", "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (rtlGetVersion && rtlGetVersion(&version) == 0)
    facts << version.dwMajorVersion << "." << version.dwMinorVersion << " build " << version.dwBuildNumber;
  else
    facts << "unknown";
  facts << "; monitors";
  // Each monitor's rectangle and resolution (Windows 8.1 and later tell each one's).
  const ScopedSystemLibrary shcore(L"shcore.dll");
  const auto dpiOf = reinterpret_cast<MonitorDpiFunction>(reinterpret_cast<void*>(shcore.Function("GetDpiForMonitor")));
  for (const auto& [area, monitor] : Monitors()) {
    UINT x = 0, y = 0;
    facts << " [" << area.left << "," << area.top << "," << area.right << "," << area.bottom << "]";
    if (dpiOf && SUCCEEDED(dpiOf(monitor, 0, &x, &y))) facts << " at " << x << " dpi";
  }
  return facts.str();
}

std::wstring DiagnosticsLog::LogPath() {
  wchar_t folder[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::wstring(folder, n) + L"\\Rowtint\\rowtint.log";
}

std::string DiagnosticsLog::WindowFacts() {
  std::ostringstream facts;
  facts << "focus";
  const HWND focus = GetFocus();
  if (!focus) facts << " none";
  const HWND root = focus ? GetAncestor(focus, GA_ROOT) : nullptr;
  for (HWND w = focus; w; w = w == root ? nullptr : GetAncestor(w, GA_PARENT))
    facts << (w == focus ? " " : " < ") << ClassOf(w);
  facts << " | " << DpiFacts(focus) << " | ";
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  // This thread's, not the foreground thread's, which may be another program's.
  if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && thread.hwndCaret) {
    const RECT& r = thread.rcCaret;
    facts << "caret in " << ClassOf(thread.hwndCaret) << " [" << r.left << "," << r.top << "," << r.right << ","
          << r.bottom << "]";
  } else {
    facts << "no caret";
  }
  return facts.str();
}

void DiagnosticsLog::Write(const std::string& what) {
  const std::wstring path = LogPath();
  if (path.empty()) return;
  CreateDirectoryW(path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
  WIN32_FILE_ATTRIBUTE_DATA file{};
  if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file) &&
      ((static_cast<std::uint64_t>(file.nFileSizeHigh) << 32) | file.nFileSizeLow) > kRollOverBytes)
    MoveFileExW(path.c_str(), (path + L".1").c_str(), MOVEFILE_REPLACE_EXISTING);

  const std::string line = Timestamp() + " | Excel " + (sizeof(void*) == 8 ? "64-bit" : "32-bit") + " | " +
                           WindowFacts() + " | " + what + "\r\n";
  const HANDLE opened = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return;
  const UniqueKernelHandle log(opened);
  DWORD written = 0;
  WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace rowtint::win32
