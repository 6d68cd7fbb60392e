#include "dll_watch.h"

#include <cstring>
#include <cwchar>
#include <utility>

#include "dll_dpi.h"
#include "dll_surfaces.h"
#include "host_clock.h"
#include "import_patch.h"

namespace rowtint::host {
namespace {
UINT g_windowDpi = 0;
int g_foregroundChanges = 0;
WatchedCalls g_rectangles;
using DpiForWindow = UINT(WINAPI*)(HWND);
DpiForWindow g_systemDpiForWindow = nullptr;

UINT WINAPI AnsweredDpiForWindow(HWND window) {
  DWORD owner = 0;
  const bool ours = GetWindowThreadProcessId(window, &owner) != 0 && owner == GetCurrentProcessId();
  if (g_windowDpi && ours) return g_windowDpi;
  return g_systemDpiForWindow ? g_systemDpiForWindow(window) : 0;
}

// GetDpiForWindow and the thread's DPI context are answered; every other
// name resolves as the system does.
FARPROC WINAPI WatchedGetProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC real = GetProcAddress(module, name);
  // A name below 64K is an ordinal, not a pointer to text.
  if (reinterpret_cast<ULONG_PTR>(name) <= 0xFFFF) return real;
  if (real)
    if (const FARPROC own = ThreadDpiFunction(name)) return own;
  if (std::strcmp(name, "GetDpiForWindow") != 0) return real;
  g_systemDpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(real));
  if (!real && !g_windowDpi) return nullptr;
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&AnsweredDpiForWindow));
}

// The add-in's own forms and dialogs come to the front as any modal window
// does, and under a loaded X server the moment Wine moves the foreground to
// one, or back from a hidden one, varies from run to run: a change to or from
// one of them is the form's business, not a paint taking the user's window.
bool OwnModalWindow(HWND window) {
  wchar_t type[64] = {};
  if (!window || !GetClassNameW(window, type, 64)) return false;
  return std::wcscmp(type, L"RowtintFormWindow") == 0 || std::wcscmp(type, L"#32770") == 0;
}

BOOL WINAPI WatchedSetForegroundWindow(HWND window) {
  const HWND before = GetForegroundWindow();
  const BOOL done = SetForegroundWindow(window);
  const HWND after = GetForegroundWindow();
  if (after != before && !OwnModalWindow(before) && !OwnModalWindow(after)) ++g_foregroundChanges;
  return done;
}
// The add-in's repaint timer ticks when a script says `tick`, as in the
// simulator: the add-in's own message loops (a modal form's) pass its other
// timer messages by.
LRESULT WINAPI WatchedDispatchMessageW(const MSG* message) {
  if (message && message->message == WM_TIMER && message->hwnd) {
    wchar_t type[32] = {};
    GetClassNameW(message->hwnd, type, 32);
    if (lstrcmpW(type, L"RowtintTimers") == 0) return 0;
  }
  return DispatchMessageW(message);
}

BOOL WINAPI WatchedRectangle(HDC dc, int left, int top, int right, int bottom) {
  NoteDrawing();
  const double start = NowMs();
  const BOOL done = Rectangle(dc, left, top, right, bottom);
  g_rectangles.Returned(start);
  return done;
}
}  // namespace

bool WatchAddIn(HMODULE dll) {
  WatchAddInGeometry(dll);
  return WatchAddInSurfaces(dll) &&
         PatchImport(dll, "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&WatchedGetProcAddress)) &&
         PatchImport(dll, "user32.dll", "SetForegroundWindow", reinterpret_cast<void*>(&WatchedSetForegroundWindow)) &&
         PatchImport(dll, "user32.dll", "DispatchMessageW", reinterpret_cast<void*>(&WatchedDispatchMessageW)) &&
         PatchImport(dll, "gdi32.dll", "Rectangle", reinterpret_cast<void*>(&WatchedRectangle));
}

void AnswerWindowDpi(UINT dpi) { g_windowDpi = dpi; }

UINT AnsweredWindowDpi() { return g_windowDpi; }

int TakeForegroundChanges() {
  const int changes = g_foregroundChanges;
  g_foregroundChanges = 0;
  return changes;
}

WatchedCalls TakeRectanglesDrawn() { return std::exchange(g_rectangles, {}); }

}  // namespace rowtint::host
