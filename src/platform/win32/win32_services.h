// The operating system's services for the add-in, over user32, gdi32,
// comdlg32 and shell32. Handles cross the interface as integers; every call
// keeps the Win32 contract and reports trouble through its result.
#pragma once

#include "platform/os_services.h"

namespace rowtint::win32 {

class Win32Services final : public platform::WindowsServices {
 public:
  using WindowHandle = platform::WindowHandle;
  using DcHandle = platform::DcHandle;
  using GdiObject = platform::GdiObject;
  using Point = platform::Point;
  using Rect = platform::Rect;

  // Windows
  WindowHandle FindProcessWindow(const char* className) override;
  WindowHandle GetDesktopWindow() override;
  WindowHandle GetActiveWindow() override;
  bool SetForegroundWindow(WindowHandle hwnd) override;
  WindowHandle GetFocus() override;
  bool GetWindowRect(WindowHandle hwnd, Rect& rect) override;
  bool GetCaretPos(Point& point) override;
  bool ClientToScreen(WindowHandle hwnd, Point& point) override;
  bool RedrawWindow(WindowHandle hwnd, const Rect* rect, std::uint32_t flags) override;
  bool UpdateWindow(WindowHandle hwnd) override;
  bool GetCursorPos(Point& point) override;
  WindowHandle WindowFromPoint(Point point) override;
  bool IsChild(WindowHandle parent, WindowHandle child) override;

  // Graphics
  int ScreenDpi() override;
  DcHandle GetWindowDC(WindowHandle hwnd) override;
  int ReleaseDC(WindowHandle hwnd, DcHandle dc) override;
  GdiObject CreateSolidBrush(platform::Color color) override;
  bool DeleteObject(GdiObject object) override;
  GdiObject SelectObject(DcHandle dc, GdiObject object) override;
  int SaveDC(DcHandle dc) override;
  bool RestoreDC(DcHandle dc, int savedDc) override;
  int SetROP2(DcHandle dc, int rop) override;
  bool Rectangle(DcHandle dc, int left, int top, int right, int bottom) override;
  int IntersectClipRect(DcHandle dc, int left, int top, int right, int bottom) override;
  platform::Color GetSysColor(int index) override;

  // Timers
  std::uintptr_t SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                          platform::TimerProc proc) override;
  bool KillTimer(WindowHandle hwnd, std::uintptr_t id) override;

  // Dialogs and shell
  bool ShowColorDialog(platform::ChooseColorRecord& record) override;
  int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                     std::uint32_t type) override;
  std::intptr_t ShellOpen(WindowHandle hwnd, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory, int showCmd) override;
  std::uint32_t StartProcess(const std::string& commandLine, int windowStyle) override;
  std::string ModuleFolder() override;
};

}  // namespace rowtint::win32
