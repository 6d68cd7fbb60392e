#include "platform/win32/win32_services.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "platform/win32/gdi_handles.h"
#include "platform/win32/handle_casts.h"
#include "platform/win32/hresult_errors.h"
#include "platform/win32/module_lifetime.h"
#include "platform/win32/system_library.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_timers.h"
#include "platform/win32/win32_window_messages.h"

namespace rowtint::win32 {
namespace {
using platform::Color;
using platform::DcHandle;
using platform::GdiObject;
using platform::Point;
using platform::Rect;
using platform::WindowHandle;

// A thread message no one posts.
constexpr UINT kNoSuchMessage = WM_APP + 0x3FFF;

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// An empty argument is passed as no argument at all, as the shell expects.
const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

struct WindowSearch {
  const char* className;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND hwnd, LPARAM param) noexcept {
  auto& search = *reinterpret_cast<WindowSearch*>(param);
  char name[256];
  if (GetClassNameA(hwnd, name, static_cast<int>(sizeof name)) == 0) return TRUE;
  // Class names compare without regard to case, as FindWindow does.
  if (lstrcmpiA(name, search.className) != 0) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search.processId) return TRUE;
  search.found = hwnd;
  return FALSE;
}

constexpr int kDefaultDpi = 96;

// The host language's declaration of the colour dialog's record is the 32-bit one.
static_assert(sizeof(void*) != 4 || sizeof(CHOOSECOLORW) == 36);

}  // namespace

WindowHandle Win32Services::FindProcessWindow(const char* className) {
  if (!className) return 0;
  WindowSearch search{className, GetCurrentProcessId(), nullptr};
  EnumWindows(&MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return Handle(search.found);
}

WindowHandle Win32Services::GetDesktopWindow() { return Handle(::GetDesktopWindow()); }

WindowHandle Win32Services::GetActiveWindow() { return Handle(::GetActiveWindow()); }

WindowHandle Win32Services::GetForegroundWindow() { return Handle(::GetForegroundWindow()); }

bool Win32Services::SetForegroundWindow(WindowHandle hwnd) { return ::SetForegroundWindow(Hwnd(hwnd)) != FALSE; }

WindowHandle Win32Services::GetFocus() { return Handle(::GetFocus()); }

bool Win32Services::GetWindowRect(WindowHandle hwnd, Rect& rect) {
  RECT r{};
  if (!::GetWindowRect(Hwnd(hwnd), &r)) return false;
  rect = FromRECT(r);
  return true;
}

bool Win32Services::GetThreadCaret(WindowHandle& window, Rect& clientRect) {
  // This thread's, not the foreground thread's (0), which may be another program's.
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !info.hwndCaret) return false;
  window = Handle(info.hwndCaret);
  clientRect = FromRECT(info.rcCaret);
  return true;
}

bool Win32Services::ClientToScreen(WindowHandle hwnd, Point& point) {
  POINT p{point.x, point.y};
  if (!::ClientToScreen(Hwnd(hwnd), &p)) return false;
  point = {p.x, p.y};
  return true;
}

bool Win32Services::ScreenToClient(WindowHandle hwnd, Point& point) {
  POINT p{point.x, point.y};
  if (!::ScreenToClient(Hwnd(hwnd), &p)) return false;
  point = {p.x, p.y};
  return true;
}

bool Win32Services::RedrawWindow(WindowHandle hwnd, const Rect* rect, std::uint32_t flags) {
  // No window is the desktop, so the rectangle is in screen coordinates.
  const RECT r = rect ? ToRECT(*rect) : RECT{};
  return ::RedrawWindow(Hwnd(hwnd), rect ? &r : nullptr, nullptr, flags) != FALSE;
}

bool Win32Services::UpdateWindow(WindowHandle hwnd) {
  const bool updated = ::UpdateWindow(Hwnd(hwnd)) != FALSE;
  // The repaint must reach the screen before anything is drawn over it
  // there, or it lands later and wipes the band. Where windows paint into a
  // buffer that reaches the screen once the thread looks for messages (so
  // under Wine), one look that can match no message and takes none flushes it.
  MSG none;
  ::PeekMessageW(&none, reinterpret_cast<HWND>(-1), kNoSuchMessage, kNoSuchMessage, PM_NOREMOVE | PM_NOYIELD);
  return updated;
}

bool Win32Services::GetCursorPos(Point& point) {
  POINT p{};
  if (!::GetCursorPos(&p)) return false;
  point = {p.x, p.y};
  return true;
}

WindowHandle Win32Services::WindowFromPoint(Point point) { return Handle(::WindowFromPoint(POINT{point.x, point.y})); }

bool Win32Services::IsChild(WindowHandle parent, WindowHandle child) {
  return ::IsChild(Hwnd(parent), Hwnd(child)) != FALSE;
}

WindowHandle Win32Services::GetRootWindow(WindowHandle hwnd) { return Handle(::GetAncestor(Hwnd(hwnd), GA_ROOT)); }

std::string Win32Services::WindowClassName(WindowHandle hwnd) {
  char name[256];
  const int length = GetClassNameA(Hwnd(hwnd), name, static_cast<int>(sizeof name));
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool Win32Services::IsProcessWindow(WindowHandle hwnd) {
  DWORD owner = 0;
  return hwnd && GetWindowThreadProcessId(Hwnd(hwnd), &owner) != 0 && owner == GetCurrentProcessId();
}

int Win32Services::WindowDpi(WindowHandle hwnd) {
  // Windows 10 1607 and later know each monitor's resolution; earlier ones
  // have one for all, the screen's.
  const UINT dpi = DpiForWindow(Hwnd(hwnd));
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

bool Win32Services::IsWindowEnabled(WindowHandle hwnd) { return ::IsWindowEnabled(Hwnd(hwnd)) != FALSE; }

std::uintptr_t Win32Services::EnterPerMonitorDpi() { return reinterpret_cast<std::uintptr_t>(EnterPerMonitorAware()); }

void Win32Services::RestoreThreadDpi(std::uintptr_t previous) { SetThreadDpi(reinterpret_cast<DpiContext>(previous)); }

int Win32Services::ScreenDpi() {
  ScopedWindowDC screen(nullptr, ScopedWindowDC::Area::Client);
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  // Without an answer, the resolution every size in points was laid out for.
  return dpi > 0 ? dpi : kDefaultDpi;
}

std::uintptr_t Win32Services::SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                                       platform::TimerCallback& callback) {
  return StartTimer(Hwnd(hwnd), id, elapseMs, callback);
}

bool Win32Services::KillTimer(WindowHandle hwnd, std::uintptr_t id) { return StopTimer(Hwnd(hwnd), id); }

WindowHandle Win32Services::CreateMessageWindow() { return Handle(CreateTimerWindow()); }

void Win32Services::DestroyMessageWindow(WindowHandle hwnd) { DestroyTimerWindow(Hwnd(hwnd)); }

bool Win32Services::SubclassWindow(WindowHandle hwnd, platform::GridListener& listener) {
  return WatchWindow(Hwnd(hwnd), listener);
}

bool Win32Services::RemoveSubclass(WindowHandle hwnd) { return StopWatchingWindow(Hwnd(hwnd)); }

bool Win32Services::PostToWindow(WindowHandle own, platform::PostedCallback& callback) {
  return PostCallback(Hwnd(own), callback);
}

bool Win32Services::ShowColorDialog(platform::ChooseColorRecord& record) {
  // The record's own size field names the 32-bit layout; Windows is given
  // the record of the platform this library was built for.
  COLORREF custom[16] = {};
  if (record.customColors)
    std::transform(record.customColors->begin(), record.customColors->end(), custom,
                   [](Color c) { return static_cast<COLORREF>(c); });
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Hwnd(record.owner);
  dialog.rgbResult = static_cast<COLORREF>(record.result);
  dialog.lpCustColors = custom;
  dialog.Flags = record.flags;
  const bool chosen = ChooseColorW(&dialog) != FALSE;
  // The user may have defined custom colours, even when cancelling.
  if (record.customColors)
    std::transform(std::begin(custom), std::end(custom), record.customColors->begin(),
                   [](COLORREF c) { return static_cast<Color>(c); });
  if (chosen) record.result = static_cast<Color>(dialog.rgbResult);
  return chosen;
}

int Win32Services::ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                  std::uint32_t type) {
  return MessageBoxW(Hwnd(owner), Widen(text).c_str(), Widen(caption).c_str(), type);
}

std::intptr_t Win32Services::ShellOpen(WindowHandle hwnd, const std::string& verb, const std::string& file,
                                       const std::string& parameters, const std::string& directory, int showCmd) {
  const std::wstring wideVerb = Widen(verb);
  const std::wstring wideFile = Widen(file);
  const std::wstring wideParameters = Widen(parameters);
  const std::wstring wideDirectory = Widen(directory);
  const HINSTANCE result = ShellExecuteW(Hwnd(hwnd), OrNull(wideVerb), wideFile.c_str(), OrNull(wideParameters),
                                         OrNull(wideDirectory), showCmd);
  return reinterpret_cast<std::intptr_t>(result);
}

std::uint32_t Win32Services::StartProcess(const std::string& application, const std::string& commandLine,
                                          int windowStyle) {
  // Named by its path, the program is never searched for along the folders
  // of Excel and the workbook the user opened last, where anyone may put one.
  const std::wstring program = Widen(application);
  if (program.empty()) return 0;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring line = Widen(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return 0;
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  return started.dwProcessId;
}

std::string Win32Services::WindowsFolder() {
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemWindowsDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return Narrow(folder, static_cast<int>(n));
}

std::string Win32Services::ModuleFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  return Narrow(path.c_str(), slash == std::wstring::npos ? 0 : static_cast<int>(slash));
}

}  // namespace rowtint::win32
