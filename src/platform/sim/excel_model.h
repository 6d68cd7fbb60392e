// The spreadsheet host as both simulated hosts share it, whatever shows it:
// the sheet, the command bars, the busy host's faults, the Application's
// event sinks and what the user does. Each action changes the sheet, tells
// the view what to repaint or scroll, and raises the events the host
// raises. The simulator's view is its simulated desktop; the stand-in's is
// a pair of real windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"
#include "platform/sim/host_faults.h"
#include "platform/sim/sheet_model.h"
#include "platform/sim/sim_command_bars.h"

namespace rowtint::sim {

// A workbook the host has open: its one sheet, as its window shows it.
struct Workbook {
  int id = 0;  // never reused while the host runs
  std::string name;
  SheetModel sheet;
};

// From version 15 on, how far right of and below the main window opened
// before it each new workbook's main window opens, as Excel cascades them.
inline constexpr int kCascade = 24;

// Where the user types: in the active cell, whose editor ("EXCEL6") lies
// over it, or in the formula bar, whose window ("EXCEL<") draws nothing here.
enum class EditPlace { Cell, FormulaBar };

// What shows the model: the grid window and the screen it lies on.
class ExcelView {
 public:
  enum class GridMove {
    Place,   // set-up before the user works: everything is painted afresh
    Resize,  // the user's resize: only what it exposes is painted
  };

  virtual ~ExcelView() = default;
  // The grid window's client area, its top-left corner at (0, 0).
  virtual platform::Rect GridClient() = 0;
  // Where the grid's client area begins on the screen.
  virtual platform::Point GridOrigin() = 0;
  // The main window of the active workbook's window (Application.Hwnd).
  virtual platform::WindowHandle ActiveMainWindow() = 0;
  // The main window that shows the workbook (Window.Hwnd); 0 when it is not open.
  virtual platform::WindowHandle MainWindowOf(int workbookId) = 0;
  // Workbooks were opened, closed or activated: the windows follow, and the
  // active workbook's window shows in front with the focus in its grid.
  virtual void WorkbooksChanged() = 0;
  virtual void RepaintCell(CellRef cell) = 0;
  // The user turns the mouse wheel over the grid: the grid window gets the
  // wheel's message, and its own procedure scrolls (ScrollRows).
  virtual void WheelOverGrid(int rows) = 0;
  // Excel repaints this part of the grid on its own (client coordinates):
  // a recalculation, an edit elsewhere, a window uncovering it.
  virtual void RepaintGridArea(const platform::Rect& area) = 0;
  virtual void RepaintAll() = 0;
  // The grid's pixels move by (dx, dy) with the sheet, except in the frozen
  // panes: left of `frozen.x` they move only up and down, above `frozen.y`
  // only sideways, and in the corner not at all (client coordinates). What
  // comes into view is painted.
  virtual void ScrollGrid(int dx, int dy, platform::Point frozen) = 0;
  // The grid window moves to `rect` on the host's main window.
  virtual void MoveGrid(const platform::Rect& rect, GridMove how) = 0;
  // Whether the host keeps the system caret at the selected cell (Excel
  // 2010 and earlier do; today's may not).
  virtual void CaretChanged(bool atCell) = 0;
  // A failure an event handler handed back to the host ("number description").
  virtual void EventFailed(const std::string& what) = 0;
  // The editor comes, with the focus and the caret, or goes, leaving the
  // focus on the grid: the in-cell editor ("EXCEL6") over the active cell,
  // or the formula bar's window ("EXCEL<"), a child of the active workbook's
  // main window with no area on the screen.
  virtual void ShowEditor(EditPlace place, bool shown) = 0;
  // The monitor the grid lies on has this resolution from now on.
  virtual void SetMonitorDpi(int dpi) = 0;
  // The add-in calls into the host: the view records a call made while the
  // add-in's thread is in a DPI context the add-in set itself (it must
  // give Excel back the context Office called it in first).
  virtual void AddInCalled() = 0;
};

class ExcelModel : public std::enable_shared_from_this<ExcelModel> {
 public:
  // `calls` counts every call an add-in makes into the host; `faults`, when
  // given, makes those calls fail as a busy host's do.
  static std::shared_ptr<ExcelModel> Create(ExcelView& view, std::shared_ptr<CommandBarStore> bars,
                                            std::uint64_t& calls, HostFaults* faults = nullptr);
  ExcelModel(const ExcelModel&) = delete;
  ExcelModel& operator=(const ExcelModel&) = delete;

  // The active workbook's sheet.
  SheetModel& Sheet() { return Active().sheet; }
  Workbook& Active() { return *workbooks_[active_]; }
  // Open workbooks in the order they were opened; the active one by its place, from 1.
  const std::vector<std::unique_ptr<Workbook>>& Workbooks() const { return workbooks_; }
  std::size_t ActivePlace() const { return active_ + 1; }
  const Workbook* WorkbookById(int id) const;
  // From version 15 on each workbook has a main window of its own; before, one shows them all.
  bool WindowPerWorkbook() const;
  // The version is the host's, the same in every workbook.
  void SetVersion(const std::string& version);
  // The build of the host's version (Application.Build).
  std::int32_t Build() const;
  // The cell of the active workbook's grid at a point of the screen, if the grid shows one there.
  std::optional<CellRef> CellAtScreen(platform::Point point);
  // Whose copy of the add-in's controls the user clicks: the active
  // workbook's window when each has one, else the one shared window (0).
  int BarsWindow() const { return WindowPerWorkbook() ? workbooks_[active_]->id : 0; }
  // The options of the user's last search in the Find dialog, which a Find
  // that does not pass them takes, and which one that does changes.
  platform::host::SearchOptions lastSearch{platform::host::kXlFormulas, platform::host::kXlPart, false};
  CommandBarStore& Bars() { return *bars_; }
  ExcelView& View() { return view_; }
  std::uint64_t& Calls() { return *calls_; }
  // Every call an add-in makes into the host: counted, and failing when the host is made busy.
  void Called();
  // Calls the host refused because a cell was being edited, since the last time they were taken.
  std::uint64_t TakeRefusedCalls() { return std::exchange(refused_, 0); }
  bool Editing() const { return editing_; }

  // The object handed to add-ins at connection.
  std::shared_ptr<platform::host::Application> Application();
  std::unique_ptr<platform::host::EventConnection> Advise(platform::host::AppEvents& sink);

  // What the user does.
  // Raises SheetSelectionChange, after scrolling the active cell into view.
  void Select(const Area& area);
  void SelectObject();
  void Scroll(CellRef topLeft);  // the scroll bars or the wheel: no event
  // The wheel's message on its way to the grid window, and what the grid
  // does with it: `rows` rows down (negative: up), as far as the sheet goes.
  void Wheel(int rows) { view_.WheelOverGrid(rows); }
  void ScrollRows(int rows);
  // The host repaints part of the grid (client coordinates) of its own accord.
  void Repaint(const platform::Rect& area) { view_.RepaintGridArea(area); }
  // Freeze Panes with the view at the top left: the first `counts.row` rows
  // and `counts.column` columns stay in view; 0 and 0 unfreezes. False, with
  // nothing changed, when the frozen part would leave the grid no room.
  bool Freeze(CellRef counts);
  void Resize(const platform::Rect& grid);
  void PlaceGrid(const platform::Rect& grid);  // set-up: no event
  void SetZoom(std::int32_t percent);
  void SetRowHeight(std::int32_t row, double points);
  void SetColumnWidth(std::int32_t column, double points);
  void SetText(CellRef cell, const std::string& text);
  void SetCaretAtCell(bool atCell) {
    caretAtCell_ = atCell;
    view_.CaretChanged(atCell);
  }
  bool CaretAtCell() const { return caretAtCell_; }
  void ActivateSheet();
  void ActivateWorkbook();
  void Print();
  // The user types into the active cell or the formula bar: until EndEdit
  // every call fails as Excel's do while it edits, those made from its events included.
  void BeginEdit(EditPlace place = EditPlace::Cell);
  // The user leaves the cell with Esc: its text stays, and no event is raised.
  void EndEdit();
  // The grid's monitor has its own resolution; the row heights in pixels follow it.
  void SetWindowDpi(int dpi);
  // A new empty workbook, in front and active; raises WorkbookActivate.
  void NewWorkbook();
  // The workbook at `place` (from 1, an open one) becomes active; raises WorkbookActivate.
  void SwitchWorkbook(std::size_t place);
  // Closes the workbook at `place` while another stays open. When it was
  // the active one, the next (or else the one before) becomes active, with
  // WorkbookActivate.
  void CloseWorkbook(std::size_t place);

 private:
  ExcelModel(ExcelView& view, std::shared_ptr<CommandBarStore> bars, std::uint64_t& calls, HostFaults* faults);
  void Raise(const std::function<void(platform::host::AppEvents&)>& event);
  void ScrollView(CellRef topLeft);

  ExcelView& view_;
  std::shared_ptr<CommandBarStore> bars_;
  std::uint64_t* calls_;
  HostFaults* faults_;
  std::vector<std::unique_ptr<Workbook>> workbooks_;
  std::size_t active_ = 0;
  int nextWorkbook_ = 1;
  std::vector<platform::host::AppEvents*> sinks_;
  bool caretAtCell_ = true;
  bool editing_ = false;
  EditPlace editPlace_ = EditPlace::Cell;
  std::uint64_t refused_ = 0;
};

}  // namespace rowtint::sim
