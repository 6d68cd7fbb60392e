// The operating system's services for the add-in, over user32, gdi32,
// comdlg32 and shell32: every role the add-in asks of the system. Handles
// cross the interfaces as integers; every call keeps the Win32 contract and
// reports trouble through its result.
#pragma once

#include "platform/dialogs.h"
#include "platform/overlay_windows.h"
#include "platform/screen_drawing.h"
#include "platform/shell.h"
#include "platform/timers.h"
#include "platform/window_messages.h"
#include "platform/window_queries.h"

namespace rowtint::win32 {

class Win32Services final : public platform::WindowQueries,
                            public platform::ScreenDrawing,
                            public platform::Timers,
                            public platform::Dialogs,
                            public platform::Shell,
                            public platform::WindowMessages,
                            public platform::OverlayWindows {
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
  WindowHandle GetForegroundWindow() override;
  bool SetForegroundWindow(WindowHandle hwnd) override;
  WindowHandle GetFocus() override;
  bool GetWindowRect(WindowHandle hwnd, Rect& rect) override;
  bool GetThreadCaret(WindowHandle& window, Rect& clientRect) override;
  bool ClientToScreen(WindowHandle hwnd, Point& point) override;
  bool ScreenToClient(WindowHandle hwnd, Point& point) override;
  bool GetCursorPos(Point& point) override;
  WindowHandle WindowFromPoint(Point point) override;
  bool IsChild(WindowHandle parent, WindowHandle child) override;
  WindowHandle GetRootWindow(WindowHandle hwnd) override;
  std::string WindowClassName(WindowHandle hwnd) override;
  bool IsProcessWindow(WindowHandle hwnd) override;
  int ScreenDpi() override;
  int WindowDpi(WindowHandle hwnd) override;
  bool IsWindowEnabled(WindowHandle hwnd) override;
  std::uintptr_t EnterPerMonitorDpi() override;
  void RestoreThreadDpi(std::uintptr_t previous) override;

  // Graphics
  bool RedrawWindow(WindowHandle hwnd, const Rect* rect, std::uint32_t flags) override;
  bool UpdateWindow(WindowHandle hwnd) override;
  DcHandle GetWindowDC(WindowHandle hwnd) override;
  DcHandle GetDC(WindowHandle hwnd) override;
  int ReleaseDC(WindowHandle hwnd, DcHandle dc) override;
  GdiObject CreateSolidBrush(platform::Color color) override;
  bool DeleteObject(GdiObject object) override;
  GdiObject SelectObject(DcHandle dc, GdiObject object) override;
  int SaveDC(DcHandle dc) override;
  bool RestoreDC(DcHandle dc, int savedDc) override;
  int SetROP2(DcHandle dc, int rop) override;
  std::optional<platform::Color> GetPixel(DcHandle dc, int x, int y) override;
  std::optional<platform::Color> ScreenPixel(Point point) override;

  // Overlays
  WindowHandle CreateOverlay(WindowHandle owner) override;
  bool ShowOverlay(WindowHandle overlay, const Rect& screenRect, platform::Color color, std::uint8_t alpha) override;
  void HideOverlay(WindowHandle overlay) override;
  void DestroyOverlay(WindowHandle overlay) override;
  bool Rectangle(DcHandle dc, int left, int top, int right, int bottom) override;
  int IntersectClipRect(DcHandle dc, int left, int top, int right, int bottom) override;
  platform::Color GetSysColor(int index) override;

  // Timers
  std::uintptr_t SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                          platform::TimerCallback& callback) override;
  bool KillTimer(WindowHandle hwnd, std::uintptr_t id) override;
  WindowHandle CreateMessageWindow() override;
  void DestroyMessageWindow(WindowHandle hwnd) override;

  // Dialogs and shell
  bool ShowColorDialog(platform::ChooseColorRecord& record) override;
  int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                     std::uint32_t type) override;
  std::intptr_t ShellOpen(WindowHandle hwnd, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory, int showCmd) override;
  std::uint32_t StartProcess(const std::string& application, const std::string& commandLine, int windowStyle) override;
  std::string ModuleFolder() override;
  std::string WindowsFolder() override;

  // Other windows' messages
  bool SubclassWindow(WindowHandle hwnd, platform::GridListener& listener) override;
  bool RemoveSubclass(WindowHandle hwnd) override;
  bool PostToWindow(WindowHandle own, platform::PostedCallback& callback) override;
};

}  // namespace rowtint::win32
