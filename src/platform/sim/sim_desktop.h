// The simulated desktop: windows, focus and caret, window DCs that draw on
// a real pixel framebuffer through binary raster operations, brushes,
// invalidation and repainting, and timers that fire only when told to.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/overlay_windows.h"
#include "platform/screen_drawing.h"
#include "platform/shell.h"
#include "platform/timers.h"
#include "platform/window_messages.h"
#include "platform/window_queries.h"
#include "platform/sim/framebuffer.h"

namespace rowtint::sim {

using platform::DcHandle;
using platform::GdiObject;
using platform::Point;
using platform::Rect;
using platform::WindowHandle;

struct DrawnRect {
  Rect rect;
  platform::Color color;
  int rop;
};

struct SimTimer {
  WindowHandle owner;
  std::uintptr_t id;
  std::uint32_t intervalMs;
  platform::TimerCallback* callback;
};

struct LaunchRecord {
  std::string commandText;
  std::string application;  // the program started by its path; empty for a document the shell opened
};

// The operating system of the simulator: it serves every role the add-in asks of one.
class SimDesktop : public platform::WindowQueries,
                   public platform::ScreenDrawing,
                   public platform::Timers,
                   public platform::Dialogs,
                   public platform::Shell,
                   public platform::WindowMessages,
                   public platform::OverlayWindows {
 public:
  using Painter = std::function<void(FrameBuffer&, const Rect& clip)>;

  SimDesktop(int width, int height);

  // Whose window it is: the host's process (the add-in's too), or another program's.
  enum class Program { Host, Other };

  // Windows. A window is painted by its painter over its rectangle, after
  // its parent; top-level windows later in the list lie above earlier ones.
  WindowHandle CreateWindow(const std::string& className, WindowHandle parent, Rect rect, Painter painter,
                            Program program = Program::Host);
  // Moves a top-level window above all others.
  void BringToTop(WindowHandle hwnd);
  void DestroyWindow(WindowHandle hwnd);
  void MoveWindow(WindowHandle hwnd, Rect rect);
  Rect WindowRect(WindowHandle hwnd) const;
  bool IsWindow(WindowHandle hwnd) const;
  // A modal window of the host's program is up: the other top-level windows take no input until it goes.
  void PushModal(WindowHandle hwnd) { modal_.push_back(hwnd); }
  void PopModal(WindowHandle hwnd) { std::erase(modal_, hwnd); }
  // The rectangles of the top-level windows that lie above this top-level one.
  std::vector<Rect> WindowsAbove(WindowHandle topLevel) const;
  void SetFocusWindow(WindowHandle hwnd) { focus_ = hwnd; }
  void SetActiveWindowHandle(WindowHandle hwnd) { active_ = hwnd; }
  WindowHandle Foreground() const { return foreground_; }
  // The user puts a window in front (no call of the add-in's).
  void SetForegroundHandle(WindowHandle hwnd) { foreground_ = hwnd; }
  bool IsOtherProgramWindow(WindowHandle hwnd) const;
  // The caret, in the client coordinates of the focus window, asked for when read.
  void SetCaretSource(std::function<Point()> source) { caretSource_ = std::move(source); }
  void SetCursor(Point p) { cursor_ = p; }
  void ResizeScreen(int width, int height);

  // Painting
  FrameBuffer& Screen() { return screen_; }
  const FrameBuffer& Screen() const { return screen_; }
  // Repaints the given area with the windows' content now, as the host does on its own.
  void PaintNow(const Rect& area);
  // Repaints every pending invalid area.
  void FlushRepaints();
  // Repaints the area, telling no subclass yet: a host that moves pixels
  // afterwards tells only of what it really repainted.
  void PaintArea(const Rect& area);
  // The subclassed windows' paint messages for a repainted screen area.
  void TellPainted(const Rect& area);
  // A message reaches a window: its own procedure handles it (`handle`),
  // then a subclass sees it.
  void SendWindowMessage(WindowHandle hwnd, platform::GridMessage message, const std::function<void()>& handle);
  // What a message loop does when the queue runs empty, timers aside: the
  // posted messages (and any they post) are dispatched, then the repaints.
  void DrainMessages();
  bool Subclassed(WindowHandle hwnd) const { return subclasses_.count(hwnd) != 0; }
  // While set, a subclass hears nothing: Excel 2013 and later may scroll by
  // drawing outside any message to the grid, and only the timer sees it.
  bool gridMessagesOff = false;
  std::size_t PostedWaiting() const { return posted_.size(); }
  // What the windows would show if all of the screen were repainted now.
  FrameBuffer ContentSnapshot();
  // The screen as the user sees it: what the windows painted, with the
  // layered overlays blended over it by the desktop's compositor (which
  // applies no raster operation) where no window above them covers them.
  FrameBuffer Shown() const;
  Pixel ShownAt(Point p) const;
  // The overlays, in the z-order, for what `state` shows of them: with
  // their extended styles as Windows would report them.
  struct OverlayView {
    WindowHandle handle;
    WindowHandle owner;
    bool visible;
    Rect rect;
    bool layered, transparent, noActivate, topmost;
  };
  std::vector<OverlayView> Overlays() const;
  // Excel presents the window's picture itself (a flip-model swap chain):
  // nothing drawn through a DC on it reaches the screen, and a DC reads the
  // picture it would have drawn on.
  void SetDrawsOwnPicture(WindowHandle hwnd, bool own) { drawsOwn_[hwnd] = own; }

  // Timers
  const std::vector<SimTimer>& Timers() const { return timers_; }
  // Fires every running timer once, in the order they were started. While
  // timer messages are held, only those are dispatched: each whose owner
  // window still exists (or that has none), whether its timer runs or not.
  void FireTimers();
  // The due timers' messages are taken from the queue and held, as a message
  // loop may hold one it has retrieved already, until the next FireTimers.
  void HoldDueTimers() { held_ = timers_; }
  bool TimersHeld() const { return held_.has_value(); }
  // The held messages go unread: the library whose callbacks they name is let go.
  void DropHeldTimers() { held_.reset(); }

  // Records since the last TakeRecords.
  struct Records {
    std::vector<Rect> invalidated;
    std::vector<DrawnRect> drawn;
    std::vector<WindowHandle> foregroundCalls;
    int foregroundChanges = 0;  // calls that changed which window is in front
    std::vector<std::string> messages;
    std::vector<LaunchRecord> launched;
    std::vector<std::string> hostErrors;  // failures the add-in handed back to the host
  };
  void RecordHostError(std::string what) { records_.hostErrors.push_back(std::move(what)); }
  Records TakeRecords();
  int OpenDcCount() const { return static_cast<int>(dcs_.size()); }
  int OpenBrushCount() const { return static_cast<int>(brushes_.size()); }
  // Every rectangle drawn, and every area an add-in asked to be redrawn, since
  // the desktop was made, records taken or not.
  std::uint64_t RectanglesDrawn() const { return rectanglesDrawn_; }
  std::uint64_t RedrawsAsked() const { return redrawsAsked_; }
  // Every timer message that reached a timer procedure since the desktop was made.
  std::uint64_t TimerMessagesDispatched() const { return timerMessages_; }

  // Shared count of every platform call, host calls included.
  std::uint64_t& CallCounter() { return calls_; }
  // The time spent on the screen's pixels (windows repainted, rectangles
  // drawn): the simulator's work, which a benchmark of the add-in's own
  // time leaves out, as GDI and the graphics card do it on Windows.
  const std::chrono::nanoseconds& PixelTime() const { return pixelTime_; }

  // The colour dialog: the user's answer (a colour, or nullopt to cancel)
  // closes the one that is shown, or else waits for the next one. A dialog
  // that finds no answer waiting stays up, running pumpOne (the message
  // loop) until it gets one.
  void AnswerColorDialog(std::optional<platform::Color> color);
  bool ColorDialogShown() const { return colorDialog_ != 0; }
  void SetModalLoop(std::function<bool()> pumpOne) { pumpOne_ = std::move(pumpOne); }

  // Answers for the shell calls.
  void SetModuleFolder(std::string folder) { moduleFolder_ = std::move(folder); }
  std::vector<platform::ChooseColorRecord> colorDialogsSeen;
  std::array<platform::Color, 16> lastCustomColors{};  // as the colour dialog found them
  std::intptr_t shellExecuteResult = 42;               // 31 (no association): no mail handler installed
  bool processStartFails = false;
  // How many of the next message-only windows cannot be made, as on a desktop out of window resources.
  int messageWindowsRefused = 0;
  int dpi = 96;
  // The monitor the host's windows are on, when its resolution is not the system's.
  std::optional<int> monitorDpi;

  // The add-in's thread and its DPI awareness. Office calls an add-in in the
  // system-aware context; there, the rectangles and points of windows on a
  // monitor of another resolution come back scaled, as Windows virtualises
  // them, while drawing and Excel's own answers stay in physical pixels.
  enum class ThreadDpi { System, PerMonitor };
  // The context the host calls the add-in in, and the thread's from now on.
  void SetHostThreadDpi(ThreadDpi context) { hostThreadDpi_ = threadDpi_ = context; }
  ThreadDpi HostThreadDpi() const { return hostThreadDpi_; }
  // The add-in put its thread into the per-monitor context and has not restored it.
  bool AddInChangedThreadDpi() const { return threadDpi_ != hostThreadDpi_; }
  // The context the add-in's last drawing on a window ran in, if it drew.
  std::optional<ThreadDpi> LastDrawingDpi() const { return lastDrawingDpi_; }

  // platform::WindowQueries
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
  // platform::ScreenDrawing
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
  bool Rectangle(DcHandle dc, int left, int top, int right, int bottom) override;
  int IntersectClipRect(DcHandle dc, int left, int top, int right, int bottom) override;
  platform::Color GetSysColor(int index) override;
  std::optional<platform::Color> GetPixel(DcHandle dc, int x, int y) override;
  std::optional<platform::Color> ScreenPixel(Point point) override;
  // platform::Timers
  std::uintptr_t SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                          platform::TimerCallback& callback) override;
  bool KillTimer(WindowHandle hwnd, std::uintptr_t id) override;
  WindowHandle CreateMessageWindow() override;
  void DestroyMessageWindow(WindowHandle hwnd) override;
  // platform::Dialogs
  bool ShowColorDialog(platform::ChooseColorRecord& record) override;
  int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                     std::uint32_t type) override;
  // platform::Shell
  std::intptr_t ShellOpen(WindowHandle hwnd, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory, int showCmd) override;
  std::uint32_t StartProcess(const std::string& application, const std::string& commandLine, int windowStyle) override;
  std::string ModuleFolder() override;
  std::string WindowsFolder() override;
  // platform::WindowMessages
  bool SubclassWindow(WindowHandle hwnd, platform::GridListener& listener) override;
  bool RemoveSubclass(WindowHandle hwnd) override;
  bool PostToWindow(WindowHandle own, platform::PostedCallback& callback) override;
  // platform::OverlayWindows
  WindowHandle CreateOverlay(WindowHandle owner) override;
  bool ShowOverlay(WindowHandle overlay, const Rect& screenRect, platform::Color color, std::uint8_t alpha) override;
  void HideOverlay(WindowHandle overlay) override;
  void DestroyOverlay(WindowHandle overlay) override;

  static constexpr WindowHandle kDesktopWindow = 0x10010;
  // The parent of windows that are never shown (HWND_MESSAGE).
  static constexpr WindowHandle kMessageParent = static_cast<WindowHandle>(-3);

 private:
  // A layered overlay's fill, which the compositor blends in.
  struct Layer {
    bool visible = false;
    platform::Color color = 0;
    std::uint8_t alpha = 0;
  };
  // The extended styles the desktop acts on: a layered window's fill is
  // blended in by the compositor; one that is also transparent lets the
  // mouse through; one that takes no activation never becomes active.
  enum ExStyle : std::uint32_t {
    kExLayered = 1,
    kExTransparent = 2,
    kExNoActivate = 4,
    kExTopmost = 8,
  };
  struct Window {
    WindowHandle handle;
    std::string className;
    WindowHandle parent;
    Rect rect;
    Painter painter;
    Program program = Program::Host;
    WindowHandle owner = 0;      // a top-level window kept just above its owner, and gone with it
    std::optional<Layer> layer;  // an overlay: no painting of its own
    std::uint32_t exStyle = 0;
  };
  struct DcState {
    int rop = platform::kR2CopyPen;
    GdiObject brush = 0;
    std::optional<Rect> clip;
  };
  struct Dc {
    WindowHandle window;
    // A client DC: coordinates from the window's top-left corner, drawing
    // kept to the window and off the top-level windows above it.
    bool client = false;
    DcState state;
    std::vector<DcState> saved;
  };

  const Window* Find(WindowHandle hwnd) const;
  // Screen coordinates as the thread sees them, and back: scaled to the
  // system's resolution while the thread is system aware and the host's
  // monitor has another.
  Point Virtualised(Point physical) const;
  Point Physical(Point virtualised) const;
  Rect Virtualised(const Rect& physical) const;
  WindowHandle RootOf(WindowHandle hwnd) const;
  void PaintWindowTree(WindowHandle parent, const Rect& clip);
  bool BrushInUse(GdiObject brush) const;

  FrameBuffer screen_;
  std::vector<Window> windows_;
  WindowHandle nextWindow_ = 0x20020;
  WindowHandle focus_ = 0;
  WindowHandle active_ = 0;
  WindowHandle foreground_ = 0;
  std::function<Point()> caretSource_;
  Point cursor_;
  std::vector<Rect> pending_;
  std::map<DcHandle, Dc> dcs_;
  DcHandle nextDc_ = 0x1000;
  std::map<GdiObject, platform::Color> brushes_;
  GdiObject nextBrush_ = 0x5000;
  std::vector<SimTimer> timers_;
  std::optional<std::vector<SimTimer>> held_;
  std::map<WindowHandle, platform::GridListener*> subclasses_;
  std::vector<std::pair<WindowHandle, platform::PostedCallback*>> posted_;
  std::uintptr_t nextTimerId_ = 0x7FF0;
  Records records_;
  std::uint64_t calls_ = 0;
  std::chrono::nanoseconds pixelTime_{0};
  int pixelWorkDepth_ = 0;
  // Adds the time it lives to pixelTime_, once however deeply pixel work nests.
  class PixelWork {
   public:
    explicit PixelWork(SimDesktop& desktop)
        : desktop_(desktop), start_(std::chrono::steady_clock::now()), outermost_(desktop.pixelWorkDepth_++ == 0) {}
    ~PixelWork() {
      --desktop_.pixelWorkDepth_;
      if (outermost_) desktop_.pixelTime_ += std::chrono::steady_clock::now() - start_;
    }
    PixelWork(const PixelWork&) = delete;
    PixelWork& operator=(const PixelWork&) = delete;

   private:
    SimDesktop& desktop_;
    std::chrono::steady_clock::time_point start_;
    bool outermost_;
  };
  std::optional<std::optional<platform::Color>> colorAnswer_;
  WindowHandle colorDialog_ = 0;
  std::function<bool()> pumpOne_;
  std::uint64_t rectanglesDrawn_ = 0;
  std::uint64_t redrawsAsked_ = 0;
  std::uint64_t timerMessages_ = 0;
  std::string moduleFolder_ = "C:\\Program Files\\Rowtint";
  std::uint32_t nextProcessId_ = 4000;
  std::vector<WindowHandle> modal_;
  std::map<WindowHandle, bool> drawsOwn_;
  ThreadDpi hostThreadDpi_ = ThreadDpi::PerMonitor;
  ThreadDpi threadDpi_ = ThreadDpi::PerMonitor;
  std::optional<ThreadDpi> lastDrawingDpi_;
};

}  // namespace rowtint::sim
