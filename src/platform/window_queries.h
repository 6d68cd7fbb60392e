// What the add-in asks of the windowing system about its windows: which
// window is active, focused or in front, where a window and the caret are on
// the screen, and the screen's resolution.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace rowtint::platform {

class WindowQueries {
 public:
  virtual ~WindowQueries() = default;

  // The first top-level window of the class that belongs to this process, or
  // 0: with two host instances running, the other one's window is no owner
  // for this one's timer.
  virtual WindowHandle FindProcessWindow(const char* className) = 0;
  virtual WindowHandle GetDesktopWindow() = 0;
  virtual WindowHandle GetActiveWindow() = 0;
  // The window in front, whichever program it belongs to, or 0.
  virtual WindowHandle GetForegroundWindow() = 0;
  virtual bool SetForegroundWindow(WindowHandle hwnd) = 0;
  virtual WindowHandle GetFocus() = 0;
  virtual bool GetWindowRect(WindowHandle hwnd, Rect& rect) = 0;
  // This thread's caret, when it has one: its window, and its rectangle in
  // that window's client coordinates.
  virtual bool GetThreadCaret(WindowHandle& window, Rect& clientRect) = 0;
  virtual bool ClientToScreen(WindowHandle hwnd, Point& point) = 0;
  virtual bool ScreenToClient(WindowHandle hwnd, Point& point) = 0;
  virtual bool GetCursorPos(Point& point) = 0;
  virtual WindowHandle WindowFromPoint(Point point) = 0;
  // Whether the window takes input: Excel's main window does not while Excel shows a modal dialog.
  virtual bool IsWindowEnabled(WindowHandle hwnd) = 0;
  // Office calls an add-in with its thread in the system-aware DPI context,
  // in which windows on a monitor of another scale answer in scaled
  // coordinates while Excel and the DCs work in physical pixels. Puts the
  // thread into the per-monitor-aware context and gives what to hand back to
  // RestoreThreadDpi; 0 when there is nothing to restore (the thread was
  // per-monitor aware already, or Windows has no such contexts).
  virtual std::uintptr_t EnterPerMonitorDpi() = 0;
  virtual void RestoreThreadDpi(std::uintptr_t previous) = 0;
  // Whether `child` lies inside `parent`, at any depth.
  virtual bool IsChild(WindowHandle parent, WindowHandle child) = 0;
  // The top-level window a window lies in (itself when it is one), or 0.
  virtual WindowHandle GetRootWindow(WindowHandle hwnd) = 0;
  // The window's class name ("XLMAIN", "EXCEL7"), empty when there is no such window.
  virtual std::string WindowClassName(WindowHandle hwnd) = 0;
  // Whether the window belongs to this process rather than to another program.
  virtual bool IsProcessWindow(WindowHandle hwnd) = 0;
  // Dots per inch of the screen: a point is ScreenDpi() / 72 pixels (4/3 at 96).
  virtual int ScreenDpi() = 0;
  // Dots per inch of the monitor the window is on, as the window's program
  // draws on it; the screen's where Windows cannot tell.
  virtual int WindowDpi(WindowHandle hwnd) = 0;
};

}  // namespace rowtint::platform
