// What the add-in needs of the operating system's user-interface, graphics
// and shell services. Calls keep the operating system's own contract: they
// report trouble through their results, not by raising.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace rowtint::platform {

using TimerProc = void (*)(WindowHandle hwnd, std::uint32_t msg, std::uintptr_t id, std::uint32_t time);

inline constexpr std::uint32_t kRdwInvalidate = 0x0001;
inline constexpr std::uint32_t kRdwAllChildren = 0x0080;
inline constexpr std::int32_t kR2MaskPen = 9;       // P AND D
inline constexpr std::int32_t kR2CopyPen = 13;      // P
inline constexpr std::int32_t kR2MergePenNot = 14;  // P OR NOT D
inline constexpr std::uint32_t kCcFullOpen = 0x2;
inline constexpr std::int32_t kSwShowNormal = 1;
inline constexpr std::uint32_t kMbOk = 0x0;

// The colour dialog's record, as far as the add-in fills and reads it.
struct ChooseColorRecord {
  std::uint32_t structSize = 0;
  WindowHandle owner = 0;
  Color result = 0;
  std::array<Color, 16>* customColors = nullptr;
  std::uint32_t flags = 0;
};

class WindowsServices {
 public:
  virtual ~WindowsServices() = default;

  // Windows
  // The first top-level window of the class that belongs to this process, or
  // 0: with two host instances running, the other one's window is no owner
  // for this one's timer.
  virtual WindowHandle FindProcessWindow(const char* className) = 0;
  virtual WindowHandle GetDesktopWindow() = 0;
  virtual WindowHandle GetActiveWindow() = 0;
  virtual bool SetForegroundWindow(WindowHandle hwnd) = 0;
  virtual WindowHandle GetFocus() = 0;
  virtual bool GetWindowRect(WindowHandle hwnd, Rect& rect) = 0;
  virtual bool GetCaretPos(Point& point) = 0;
  virtual bool ClientToScreen(WindowHandle hwnd, Point& point) = 0;
  virtual bool RedrawWindow(WindowHandle hwnd, const Rect* rect, std::uint32_t flags) = 0;
  virtual bool UpdateWindow(WindowHandle hwnd) = 0;
  virtual bool GetCursorPos(Point& point) = 0;
  virtual WindowHandle WindowFromPoint(Point point) = 0;
  // Whether `child` lies inside `parent`, at any depth.
  virtual bool IsChild(WindowHandle parent, WindowHandle child) = 0;

  // Graphics
  // Dots per inch of the screen: a point is ScreenDpi() / 72 pixels (4/3 at 96).
  virtual int ScreenDpi() = 0;
  virtual DcHandle GetWindowDC(WindowHandle hwnd) = 0;
  virtual int ReleaseDC(WindowHandle hwnd, DcHandle dc) = 0;
  virtual GdiObject CreateSolidBrush(Color color) = 0;
  virtual bool DeleteObject(GdiObject object) = 0;
  virtual GdiObject SelectObject(DcHandle dc, GdiObject object) = 0;
  virtual int SaveDC(DcHandle dc) = 0;
  virtual bool RestoreDC(DcHandle dc, int savedDc) = 0;
  virtual int SetROP2(DcHandle dc, int rop) = 0;
  virtual bool Rectangle(DcHandle dc, int left, int top, int right, int bottom) = 0;
  // Later drawing on the DC stays inside the rectangle (and whatever limit it had); RestoreDC lifts it.
  virtual int IntersectClipRect(DcHandle dc, int left, int top, int right, int bottom) = 0;
  // The colour Windows shows now for a system colour index (15 is the button face).
  virtual Color GetSysColor(int index) = 0;

  // Timers: a new start with the same owner and identifier replaces the running one.
  virtual std::uintptr_t SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t elapseMs, TimerProc proc) = 0;
  virtual bool KillTimer(WindowHandle hwnd, std::uintptr_t id) = 0;

  // Dialogs and shell
  virtual bool ShowColorDialog(ChooseColorRecord& record) = 0;
  virtual int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                             std::uint32_t type) = 0;
  virtual std::intptr_t ShellOpen(WindowHandle hwnd, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& directory, int showCmd) = 0;
  // Starts a process from a command line; returns its identifier, 0 when it did not start.
  virtual std::uint32_t StartProcess(const std::string& commandLine, int windowStyle) = 0;
  // The folder that holds the add-in's own module file, without a trailing separator.
  virtual std::string ModuleFolder() = 0;
};

}  // namespace rowtint::platform
