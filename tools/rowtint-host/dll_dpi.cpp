#include "dll_dpi.h"

#include <cstring>
#include <utility>

#include "dll_watch.h"
#include "import_patch.h"

namespace rowtint::host {
namespace {
using Context = void*;
using GetContext = Context(WINAPI*)();
using SetContext = Context(WINAPI*)(Context);
using AwarenessOf = int(WINAPI*)(Context);

// DPI_AWARENESS_CONTEXT_SYSTEM_AWARE, _PER_MONITOR_AWARE and
// _PER_MONITOR_AWARE_V2; Wine refuses the last, so the host's per-monitor
// context is the first kind.
const Context kSystemAware = reinterpret_cast<Context>(static_cast<INT_PTR>(-2));
const Context kPerMonitorAware = reinterpret_cast<Context>(static_cast<INT_PTR>(-3));
const Context kPerMonitorAwareV2 = reinterpret_cast<Context>(static_cast<INT_PTR>(-4));
constexpr int kPerMonitorAwareness = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE

struct ContextFunctions {
  GetContext get = nullptr;
  SetContext set = nullptr;
  AwarenessOf awareness = nullptr;
};

const ContextFunctions& Functions() {
  static const ContextFunctions functions = [] {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto find = [user32](const char* name) {
      return user32 ? reinterpret_cast<void*>(GetProcAddress(user32, name)) : nullptr;
    };
    return ContextFunctions{reinterpret_cast<GetContext>(find("GetThreadDpiAwarenessContext")),
                            reinterpret_cast<SetContext>(find("SetThreadDpiAwarenessContext")),
                            reinterpret_cast<AwarenessOf>(find("GetAwarenessFromDpiAwarenessContext"))};
  }();
  return functions;
}

bool g_systemAware = false;
std::optional<bool> g_lastDrawingSystemAware;

bool PerMonitorNow() {
  const ContextFunctions& f = Functions();
  return !f.get || !f.awareness || f.awareness(f.get()) == kPerMonitorAwareness;
}

int SystemDpi() {
  static const int dpi = [] {
    const HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

// Whether this call is answered as Windows virtualises it: Office's
// system-aware thread, the grid's monitor at another resolution, and the
// add-in not per-monitor aware just now.
bool Virtualised() {
  const UINT monitor = AnsweredWindowDpi();
  return g_systemAware && monitor != 0 && static_cast<int>(monitor) != SystemDpi() && !PerMonitorNow();
}

// Physical screen coordinates as the thread sees them, and back (Windows'
// MulDiv, which rounds half away from zero, as Wine's does).
POINT Seen(POINT p) {
  const int monitor = static_cast<int>(AnsweredWindowDpi());
  return {MulDiv(p.x, SystemDpi(), monitor), MulDiv(p.y, SystemDpi(), monitor)};
}

POINT Physical(POINT p) {
  const int monitor = static_cast<int>(AnsweredWindowDpi());
  return {MulDiv(p.x, monitor, SystemDpi()), MulDiv(p.y, monitor, SystemDpi())};
}

RECT Seen(const RECT& r) {
  const POINT topLeft = Seen(POINT{r.left, r.top}), bottomRight = Seen(POINT{r.right, r.bottom});
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

// Where a window's client area starts on the screen as the thread sees it.
POINT SeenOrigin(HWND window) {
  POINT origin{0, 0};
  if (window) ClientToScreen(window, &origin);
  return Seen(origin);
}

// A rectangle in a window's client coordinates as the thread sees it: its
// place on the screen seen, less the seen place of the client area's origin.
RECT SeenClient(HWND window, const RECT& client) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  RECT seen =
      Seen(RECT{client.left + origin.x, client.top + origin.y, client.right + origin.x, client.bottom + origin.y});
  const POINT seenOrigin = Seen(origin);
  OffsetRect(&seen, -seenOrigin.x, -seenOrigin.y);
  return seen;
}

BOOL WINAPI SeenGetWindowRect(HWND window, RECT* rect) {
  if (!GetWindowRect(window, rect)) return FALSE;
  if (Virtualised()) *rect = Seen(*rect);
  return TRUE;
}

BOOL WINAPI SeenGetClientRect(HWND window, RECT* rect) {
  if (!GetClientRect(window, rect)) return FALSE;
  if (Virtualised()) *rect = SeenClient(window, *rect);
  return TRUE;
}

BOOL WINAPI SeenClientToScreen(HWND window, POINT* point) {
  if (!Virtualised() || !IsWindow(window)) return ClientToScreen(window, point);
  const POINT origin = SeenOrigin(window);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL WINAPI SeenScreenToClient(HWND window, POINT* point) {
  if (!Virtualised() || !IsWindow(window)) return ScreenToClient(window, point);
  const POINT origin = SeenOrigin(window);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

int WINAPI SeenMapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  if (!Virtualised() || (from && !IsWindow(from)) || (to && !IsWindow(to)))
    return MapWindowPoints(from, to, points, count);
  const POINT a = SeenOrigin(from), b = SeenOrigin(to);
  const LONG dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(0);
  return MAKELONG(LOWORD(dx), LOWORD(dy));
}

HWND WINAPI SeenWindowFromPoint(POINT point) { return WindowFromPoint(Virtualised() ? Physical(point) : point); }

BOOL WINAPI SeenGetCursorPos(POINT* point) {
  if (!GetCursorPos(point)) return FALSE;
  if (Virtualised()) *point = Seen(*point);
  return TRUE;
}

BOOL WINAPI SeenGetGUIThreadInfo(DWORD thread, GUITHREADINFO* info) {
  if (!GetGUIThreadInfo(thread, info)) return FALSE;
  if (Virtualised() && info->hwndCaret) info->rcCaret = SeenClient(info->hwndCaret, info->rcCaret);
  return TRUE;
}

Context WINAPI ThreadContext() { return Functions().get(); }

// Windows has taken the second per-monitor kind since 1703 and Wine refuses
// it: it is taken as the first, the nearest Wine has, so that the add-in goes
// the way it goes on today's Windows rather than down its fallback.
Context WINAPI SetThreadContext(Context context) {
  return Functions().set(context == kPerMonitorAwareV2 ? kPerMonitorAware : context);
}
}  // namespace

void ResetThreadDpi() {
  g_systemAware = false;
  g_lastDrawingSystemAware.reset();
  if (Functions().set) Functions().set(kPerMonitorAware);
}

bool CallAddInSystemAware(bool systemAware) {
  const ContextFunctions& f = Functions();
  if (!f.get || !f.set || !f.awareness) return false;
  g_systemAware = systemAware;
  f.set(systemAware ? kSystemAware : kPerMonitorAware);
  return true;
}

HostContextForCall::HostContextForCall()
    : previous_(Functions().set ? Functions().set(g_systemAware ? kSystemAware : kPerMonitorAware) : nullptr) {}

HostContextForCall::~HostContextForCall() {
  if (previous_) Functions().set(previous_);
}

bool InAddInsOwnContext() { return g_systemAware && PerMonitorNow(); }

void WatchAddInGeometry(HMODULE dll) {
  // Each only where the add-in imports it: the stand-in's own calls, and the system's, stay as they are.
  const std::pair<const char*, void*> seen[] = {
      {"GetWindowRect", reinterpret_cast<void*>(&SeenGetWindowRect)},
      {"GetClientRect", reinterpret_cast<void*>(&SeenGetClientRect)},
      {"ClientToScreen", reinterpret_cast<void*>(&SeenClientToScreen)},
      {"ScreenToClient", reinterpret_cast<void*>(&SeenScreenToClient)},
      {"MapWindowPoints", reinterpret_cast<void*>(&SeenMapWindowPoints)},
      {"WindowFromPoint", reinterpret_cast<void*>(&SeenWindowFromPoint)},
      {"GetCursorPos", reinterpret_cast<void*>(&SeenGetCursorPos)},
      {"GetGUIThreadInfo", reinterpret_cast<void*>(&SeenGetGUIThreadInfo)},
  };
  for (const auto& [name, replacement] : seen) PatchImport(dll, "user32.dll", name, replacement);
}

FARPROC ThreadDpiFunction(const char* name) {
  const ContextFunctions& f = Functions();
  if (std::strcmp(name, "GetThreadDpiAwarenessContext") == 0 && f.get)
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&ThreadContext));
  if (std::strcmp(name, "SetThreadDpiAwarenessContext") == 0 && f.set)
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SetThreadContext));
  return nullptr;
}

void NoteDrawing() { g_lastDrawingSystemAware = !PerMonitorNow(); }

std::optional<bool> LastDrawingSystemAware() { return g_lastDrawingSystemAware; }

}  // namespace rowtint::host
