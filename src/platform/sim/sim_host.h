// The simulated spreadsheet host on the simulated desktop: its main window
// ("XLMAIN"), the desk ("XLDESK") and grid window ("EXCEL7") inside it, which
// show the host's model (the sheet, the command bars, the Application object
// it hands to add-ins and the user's actions that raise its events). From
// version 15 on each workbook has these windows of its own; before, one set
// shows the active workbook, and each new workbook's main window opens
// kCascade pixels right of and below the one opened before it, as Excel
// cascades them.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/host.h"
#include "platform/sim/excel_model.h"
#include "platform/sim/sim_desktop.h"

namespace rowtint::sim {

inline constexpr platform::Rect kDefaultGridRect{40, 120, 1240, 760};

class SimHost : public ExcelView, public std::enable_shared_from_this<SimHost> {
 public:
  // Opens the host's windows on the desktop; the command bars, and the
  // workbook it opens, may come from an earlier run.
  static std::shared_ptr<SimHost> Start(SimDesktop& desktop, std::shared_ptr<CommandBarStore> bars,
                                        platform::Rect gridRect = kDefaultGridRect,
                                        const SheetModel* workbook = nullptr, HostFaults* faults = nullptr);
  ~SimHost() override;

  SimDesktop& Desktop() { return desktop_; }
  ExcelModel& Model() { return *model_; }
  SheetModel& Sheet() { return model_->Sheet(); }
  CommandBarStore& Bars() { return model_->Bars(); }
  // The windows of the active workbook.
  WindowHandle MainWindow() const { return shown_ ? shown_->main : 0; }
  WindowHandle GridWindow() const { return shown_ ? shown_->grid : 0; }
  platform::Rect GridRect() const;

  // The object handed to add-ins at connection.
  std::shared_ptr<platform::host::Application> Application() { return model_->Application(); }

  // What the user does: see ExcelModel. Each repaints what the host would repaint at once.
  void Select(const Area& area) { model_->Select(area); }
  void SelectShape() { model_->SelectObject(); }
  void Scroll(CellRef topLeft) { model_->Scroll(topLeft); }
  void MoveGrid(platform::Rect rect) { model_->Resize(rect); }
  void PlaceGrid(platform::Rect rect) { model_->PlaceGrid(rect); }
  void SetZoom(std::int32_t percent) { model_->SetZoom(percent); }
  // The screen's dots per inch, for the host's drawing and the add-in's measuring alike.
  void SetDpi(int dpi);
  void SetRowHeight(std::int32_t row, double points) { model_->SetRowHeight(row, points); }
  void SetColumnWidth(std::int32_t column, double points) { model_->SetColumnWidth(column, points); }
  void SetText(CellRef cell, const std::string& text) { model_->SetText(cell, text); }
  void ActivateSheet() { model_->ActivateSheet(); }
  void ActivateWorkbook() { model_->ActivateWorkbook(); }
  void Print() { model_->Print(); }
  // The screen changes size; each of the host's main windows stays as large
  // as the screen, at its place, and each grid keeps its distance from the
  // right and bottom edges. False, with nothing changed, when a grid would be left no room.
  bool ResizeScreen(int width, int height);
  // Redraws the menu bar and toolbars above the grid.
  void RepaintCommandBars();
  // Closes the host's windows (the host has ended).
  void Close();

  // Another program's window, filled with `fill`, comes to the front over
  // `rect`: the host's thread has no focus and no active window until Back
  // brings its main window to the front again, the focus on the grid.
  void Away(const platform::Rect& rect, Pixel fill);
  void Back();
  bool IsAway() const { return away_ != 0; }
  // Another program's topmost window over `rect`, which never takes the
  // focus; Uncover takes it away and what lay below repaints.
  void Cover(const platform::Rect& rect, Pixel fill);
  void Uncover();
  bool IsCovered() const { return cover_ != 0; }

  // How Excel gets its grids onto the screen: drawing them with GDI (Excel
  // 2010 and before); redrawing them from a picture of its own at any time,
  // telling no window procedure (today's animations and smooth scrolling);
  // or presenting them through a swap chain, where nothing drawn through a
  // DC shows.
  enum class Renderer { Gdi, Composed, Flip };
  void SetRenderer(Renderer renderer);
  Renderer CurrentRenderer() const { return renderer_; }
  // The composed renderer redraws the grids from its own picture.
  void RedrawOwnPicture();
  // The user drags the active workbook's main window by (dx, dy): the grid
  // goes with it, pixels and all, and the main window is told it moved.
  void MoveMainWindow(int dx, int dy);

  std::uint64_t& Calls() { return desktop_.CallCounter(); }
  // Failures raised out of event handlers, as the host saw them.
  int failedEvents = 0;

  // What the model asks of its view.
  platform::Rect GridClient() override;
  platform::WindowHandle ActiveMainWindow() override { return MainWindow(); }
  platform::WindowHandle MainWindowOf(int workbookId) override;
  void WorkbooksChanged() override;
  platform::Point GridOrigin() override { return {GridRect().left, GridRect().top}; }
  void RepaintCell(CellRef cell) override;
  void WheelOverGrid(int rows) override;
  void RepaintGridArea(const platform::Rect& area) override;
  void RepaintAll() override;
  void ScrollGrid(int dx, int dy, platform::Point frozen) override;
  void MoveGrid(const platform::Rect& rect, GridMove how) override;
  void MovedGridKeepsItsPixels(const platform::Rect& before, const platform::Rect& after);
  void EventFailed(const std::string& what) override;
  void CaretChanged(bool atCell) override;
  void ShowEditor(EditPlace place, bool shown) override;
  void SetMonitorDpi(int dpi) override;
  void AddInCalled() override;

 private:
  // One workbook's windows: the workbook they show (the active one's while
  // one set shows them all), the main window, the desk, the grid.
  struct Frame {
    int workbook;
    WindowHandle main = 0;
    WindowHandle desk = 0;
    WindowHandle grid = 0;
  };

  explicit SimHost(SimDesktop& desktop);
  // The main window as large as the screen, its top-left corner at `origin`; the grid at `gridRect` on the screen.
  void OpenFrame(int workbook, Point origin, const Rect& gridRect);
  Frame* FrameOf(int workbook);
  // The active workbook's windows take the focus and are repainted.
  void ShowActive();
  const SheetModel& SheetOf(const Frame& frame);
  void PaintMainWindow(FrameBuffer& fb, const platform::Rect& clip, const Frame& frame);
  void PaintGrid(FrameBuffer& fb, const platform::Rect& clip, const Frame& frame);
  void PaintCommandBars(FrameBuffer& fb, const platform::Rect& clip, const Rect& main, int bottom);
  Point Caret();

  SimDesktop& desktop_;
  Renderer renderer_ = Renderer::Gdi;
  std::shared_ptr<ExcelModel> model_;
  std::vector<std::unique_ptr<Frame>> frames_;
  Frame* shown_ = nullptr;
  WindowHandle editor_ = 0;
  WindowHandle away_ = 0;
  WindowHandle cover_ = 0;
};

}  // namespace rowtint::sim
