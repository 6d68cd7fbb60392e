// Owners of the windowing-system resources the painter borrows, so that
// every path out of a paint gives them back: the window DC, the brush, the
// saved DC state that keeps the brush selected, the foreground, and the
// thread's DPI context.
#pragma once

#include "platform/screen_drawing.h"
#include "platform/window_queries.h"

namespace rowtint::engine {

// A window's client DC.
class ScopedWindowDC {
 public:
  ScopedWindowDC(platform::ScreenDrawing& os, platform::WindowHandle hwnd)
      : os_(os), hwnd_(hwnd), dc_(os.GetDC(hwnd)) {}
  ~ScopedWindowDC() {
    if (dc_) os_.ReleaseDC(hwnd_, dc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  platform::DcHandle Get() const { return dc_; }

 private:
  platform::ScreenDrawing& os_;
  platform::WindowHandle hwnd_;
  platform::DcHandle dc_;
};

class ScopedSolidBrush {
 public:
  ScopedSolidBrush(platform::ScreenDrawing& os, platform::Color color) : os_(os), brush_(os.CreateSolidBrush(color)) {}
  ~ScopedSolidBrush() {
    if (brush_) os_.DeleteObject(brush_);
  }
  ScopedSolidBrush(const ScopedSolidBrush&) = delete;
  ScopedSolidBrush& operator=(const ScopedSolidBrush&) = delete;
  platform::GdiObject Get() const { return brush_; }

 private:
  platform::ScreenDrawing& os_;
  platform::GdiObject brush_;
};

// SaveDC on construction; RestoreDC(-1) at Restore() or, at the latest, on
// destruction, which deselects whatever was selected after the save.
class ScopedSavedDC {
 public:
  ScopedSavedDC(platform::ScreenDrawing& os, platform::DcHandle dc) : os_(os), dc_(dc) {
    saved_ = dc_ && os_.SaveDC(dc_) != 0;
  }
  ~ScopedSavedDC() { Restore(); }
  ScopedSavedDC(const ScopedSavedDC&) = delete;
  ScopedSavedDC& operator=(const ScopedSavedDC&) = delete;
  void Restore() {
    if (saved_) os_.RestoreDC(dc_, -1);
    saved_ = false;
  }

 private:
  platform::ScreenDrawing& os_;
  platform::DcHandle dc_;
  bool saved_ = false;
};

// Brings the host's main window to the front for the run, only when the
// foreground is already this process's (taking it from another program
// would flash Excel's taskbar button or pull Excel over the user's work),
// and gives it back to the window that was active, on every path out.
class ScopedForeground {
 public:
  ScopedForeground(platform::WindowQueries& os, platform::WindowHandle main) : os_(os) {
    const platform::WindowHandle front = os_.GetForegroundWindow();
    if (!front || !os_.IsProcessWindow(front)) return;
    previous_ = os_.GetActiveWindow();
    taken_ = true;
    os_.SetForegroundWindow(main);
  }
  ~ScopedForeground() { GiveBack(); }
  ScopedForeground(const ScopedForeground&) = delete;
  ScopedForeground& operator=(const ScopedForeground&) = delete;
  void GiveBack() {
    if (taken_) os_.SetForegroundWindow(previous_);
    taken_ = false;
  }

 private:
  platform::WindowQueries& os_;
  platform::WindowHandle previous_ = 0;
  bool taken_ = false;
};

// The add-in's own geometry and drawing in the per-monitor DPI context, so
// that windows on a monitor of another scale answer in the physical pixels
// Excel and the DCs use; the thread goes back to the context it was in on
// every path out, before anything calls into Excel again.
class ScopedPerMonitorDpi {
 public:
  explicit ScopedPerMonitorDpi(platform::WindowQueries& os) : os_(os), previous_(os.EnterPerMonitorDpi()) {}
  ~ScopedPerMonitorDpi() {
    if (previous_) os_.RestoreThreadDpi(previous_);
  }
  ScopedPerMonitorDpi(const ScopedPerMonitorDpi&) = delete;
  ScopedPerMonitorDpi& operator=(const ScopedPerMonitorDpi&) = delete;

 private:
  platform::WindowQueries& os_;
  std::uintptr_t previous_;
};

}  // namespace rowtint::engine
