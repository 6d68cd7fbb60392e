// The thread's DPI awareness as Office leaves it to an add-in. With
// `thread-dpi system` the stand-in calls the add-in in the system-aware
// context, as Office does; the add-in's calls that ask where windows and
// points are, made while its thread is not per-monitor aware, then answer as
// Windows virtualises them for a grid on a monitor of another resolution:
// scaled from the monitor's resolution to the system's about the screen's
// origin. Wine keeps one resolution for every monitor, so it never scales
// itself; it does switch the thread's context to a window's own around that
// window's procedure, as Windows does, which is why the context is read at
// each call.
#pragma once

#include <windows.h>

#include <optional>

namespace rowtint::host {

// Every script starts with the add-in called per-monitor aware and nothing drawn.
void ResetThreadDpi();
// From now on the stand-in calls the add-in system aware, or per-monitor
// aware, and its thread is put into that context at once, so that the
// windows it makes next are made in it. False when Wine lacks the functions.
bool CallAddInSystemAware(bool systemAware);

// The thread in the host's context for one call into the add-in, and back in
// the one it was in afterwards.
class HostContextForCall {
 public:
  HostContextForCall();
  ~HostContextForCall();
  HostContextForCall(const HostContextForCall&) = delete;
  HostContextForCall& operator=(const HostContextForCall&) = delete;

 private:
  void* previous_;
};

// While the host calls the add-in system aware, whether its thread is
// per-monitor aware now: a call into Excel now is made in a context the
// add-in chose, which it must give back first.
bool InAddInsOwnContext();

// Points the add-in's imports of GetWindowRect, GetClientRect,
// ClientToScreen, ScreenToClient, MapWindowPoints, WindowFromPoint,
// GetCursorPos and GetGUIThreadInfo (those of them it has) at the stand-in's.
void WatchAddInGeometry(HMODULE dll);
// What the add-in's GetProcAddress finds for GetThreadDpiAwarenessContext and
// SetThreadDpiAwarenessContext: Wine's own, the second taking the
// per-monitor kind Wine lacks as the one it has; null for any other name,
// or where Wine lacks the function.
FARPROC ThreadDpiFunction(const char* name);

// The add-in draws: the context its thread is in is noted.
void NoteDrawing();
// Whether the add-in's last drawing ran system aware (false: per-monitor
// aware); nullopt before it drew in this script.
std::optional<bool> LastDrawingSystemAware();

}  // namespace rowtint::host
