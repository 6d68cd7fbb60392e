// The simulated spreadsheet host on the simulated desktop: its main window
// ("XLMAIN") and grid window, the sheet, the command bars, the Application
// object it hands to add-ins, and the user's actions that raise its events.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/host.h"
#include "platform/sim/host_faults.h"
#include "platform/sim/sheet_model.h"
#include "platform/sim/sim_command_bars.h"
#include "platform/sim/sim_desktop.h"

namespace rowtint::sim {

inline constexpr platform::Rect kDefaultGridRect{40, 120, 1240, 760};

class SimHost : public std::enable_shared_from_this<SimHost> {
 public:
  // Opens the host's windows on the desktop; the command bars, and the
  // workbook it opens, may come from an earlier run.
  static std::shared_ptr<SimHost> Start(SimDesktop& desktop, std::shared_ptr<CommandBarStore> bars,
                                        platform::Rect gridRect = kDefaultGridRect,
                                        const SheetModel* workbook = nullptr, HostFaults* faults = nullptr);
  ~SimHost();

  SimDesktop& Desktop() { return desktop_; }
  SheetModel& Sheet() { return sheet_; }
  CommandBarStore& Bars() { return *bars_; }
  const std::shared_ptr<CommandBarStore>& SharedBars() { return bars_; }
  WindowHandle MainWindow() const { return mainWindow_; }
  WindowHandle GridWindow() const { return gridWindow_; }
  platform::Rect GridRect() const;

  // The object handed to add-ins at connection.
  std::shared_ptr<platform::host::Application> Application();

  // What the user does. Each repaints what the host would repaint at once.
  // Raises SheetSelectionChange, after scrolling the active cell into view.
  void Select(const Area& area);
  void SelectShape();
  void Scroll(CellRef topLeft);         // the scroll bars or the wheel: no event
  void MoveGrid(platform::Rect rect);   // raises WindowResize
  void PlaceGrid(platform::Rect rect);  // set-up before the user works: no event
  void SetZoom(std::int32_t percent);
  // The screen's dots per inch, for the host's drawing and the add-in's measuring alike.
  void SetDpi(int dpi);
  void SetRowHeight(std::int32_t row, double points);
  void SetColumnWidth(std::int32_t column, double points);
  void SetText(CellRef cell, const std::string& text);
  void ActivateSheet();
  void ActivateWorkbook();
  void Print();
  // The screen changes size; the host's window fills it, with its grid at gridRect.
  void ResizeScreen(int width, int height, platform::Rect gridRect);
  // Redraws the menu bar and toolbars above the grid.
  void RepaintCommandBars();
  // Closes the host's windows (the host has ended).
  void Close();

  // Event plumbing for the Application object.
  std::unique_ptr<platform::host::EventConnection> Advise(platform::host::AppEvents& sink);
  std::uint64_t& Calls() { return desktop_.CallCounter(); }
  // Every call an add-in makes into the host: counted, and failing when the host is made busy.
  void Called() {
    ++Calls();
    if (faults_) faults_->MaybeFail();
  }
  // Failures raised out of event handlers, as the host saw them.
  int failedEvents = 0;

 private:
  SimHost(SimDesktop& desktop, std::shared_ptr<CommandBarStore> bars);
  void Raise(const std::function<void(platform::host::AppEvents&)>& event);
  void ScrollView(CellRef topLeft);
  void RepaintCell(CellRef cell);
  void RepaintAll();
  void PaintMainWindow(FrameBuffer& fb, const platform::Rect& clip);
  void PaintGrid(FrameBuffer& fb, const platform::Rect& clip);
  void PaintCommandBars(FrameBuffer& fb, const platform::Rect& clip, int bottom);
  Point Caret();

  SimDesktop& desktop_;
  std::shared_ptr<CommandBarStore> bars_;
  SheetModel sheet_;
  WindowHandle mainWindow_ = 0;
  WindowHandle gridWindow_ = 0;
  std::vector<platform::host::AppEvents*> sinks_;
  HostFaults* faults_ = nullptr;
};

}  // namespace rowtint::sim
