// What the add-in needs of the host's object model (Application, Window,
// Range, WorksheetFunction and the Application events). Every call may fail
// with a PlatformError: no workbook, no active window, a chart selected.
// Objects are counted references, released when their holder lets go.
// A member whose host answer is Nothing raises "object not set" (91) instead
// of returning an empty reference, except Range::Find, whose nullptr is the
// Nothing of a search that found no cell.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/types.h"

namespace rowtint::platform {
class CommandBars;
}

namespace rowtint::platform::host {

class Range;

// An automation object whose type is known only at run time (the selection,
// an event's sheet or workbook argument).
class Object {
 public:
  virtual ~Object() = default;
  // The run-time type name: "Range" for cells, something else for a shape or chart.
  virtual std::string TypeName() = 0;
  // This object as a range of cells; fails when it is not one.
  virtual std::shared_ptr<Range> AsRange() = 0;
};

inline constexpr std::int32_t kXlByRows = 1;
inline constexpr std::int32_t kXlPrevious = 2;
inline constexpr std::int32_t kXlFormulas = -4123;
inline constexpr std::int32_t kXlValues = -4163;
inline constexpr std::int32_t kXlComments = -4144;
inline constexpr std::int32_t kXlWhole = 1;
inline constexpr std::int32_t kXlPart = 2;

// What a search looks in and how it matches. One left empty is not passed,
// and the host takes what the user last chose in its Find dialog; one passed
// is what the host's next Find dialog shows.
struct SearchOptions {
  std::optional<std::int32_t> lookIn;
  std::optional<std::int32_t> lookAt;
  std::optional<bool> matchCase;
};

class Range : public Object {
 public:
  // Absolute address: $C$5, or $A$1:$P$30 for a block.
  virtual std::string Address() = 0;
  virtual std::int32_t Row() = 0;
  virtual std::int32_t Column() = 0;
  virtual double Height() = 0;  // points
  virtual double Width() = 0;   // points
  // Distance in points from the sheet's left and top edges.
  virtual double Left() = 0;
  virtual double Top() = 0;
  // The rows' one height in points, or nothing when they differ (Excel's Null).
  virtual std::optional<double> RowHeight() = 0;
  // The columns' one width in the standard font's characters, or nothing when they differ.
  virtual std::optional<double> ColumnWidth() = 0;
  virtual std::shared_ptr<Range> Rows() = 0;
  virtual std::shared_ptr<Range> Columns() = 0;
  virtual std::int32_t Count() = 0;
  // Find with What, SearchOrder, SearchDirection and the options given; nullptr is Nothing.
  virtual std::shared_ptr<Range> Find(const std::string& what, std::int32_t searchOrder, std::int32_t searchDirection,
                                      const SearchOptions& options) = 0;
  virtual std::shared_ptr<Range> Item(std::int32_t row, std::int32_t column) = 0;
  virtual void Select() = 0;
};

// One pane of a window (a window split or frozen has two or four; else one).
class Pane {
 public:
  virtual ~Pane() = default;
  virtual std::int32_t ScrollRow() = 0;
  virtual std::int32_t ScrollColumn() = 0;
  virtual std::shared_ptr<Range> VisibleRange() = 0;
  // The screen pixel where a distance in points from the sheet's edge lies in
  // this pane. Whether Excel scales a non-zero argument is not sure: only the
  // origin (0) is relied on.
  virtual std::int32_t PointsToScreenPixelsX(std::int32_t points) = 0;
  virtual std::int32_t PointsToScreenPixelsY(std::int32_t points) = 0;
};

class Window {
 public:
  virtual ~Window() = default;
  virtual std::shared_ptr<Pane> ActivePane() = 0;
  // Whether rows or columns are frozen, and how many (0: none): SplitRow and SplitColumn.
  virtual bool FreezePanes() = 0;
  virtual std::int32_t SplitRow() = 0;
  virtual std::int32_t SplitColumn() = 0;
  virtual std::int32_t PaneCount() = 0;                          // Panes.Count
  virtual std::shared_ptr<Pane> PaneAt(std::int32_t index) = 0;  // Panes(index), from 1
  virtual double Zoom() = 0;                                     // percentage, as the variant the host returns
  virtual std::int32_t ScrollRow() = 0;
  virtual std::int32_t ScrollColumn() = 0;
  virtual std::shared_ptr<Range> VisibleRange() = 0;
  virtual std::shared_ptr<Range> ActiveCell() = 0;
  // The cell at a point of the screen, in pixels; nullptr where the window
  // shows no cell there (Excel's Nothing, or a shape). Excel 2002 and later.
  virtual std::shared_ptr<Range> RangeFromPoint(std::int32_t x, std::int32_t y) = 0;
};

class WorksheetFunction {
 public:
  virtual ~WorksheetFunction() = default;
  virtual double CountA(Range& arg1) = 0;
};

// The Application events the add-in handles, by the host's event interface.
class AppEvents {
 public:
  virtual ~AppEvents() = default;
  virtual void SheetActivate(const std::shared_ptr<Object>& sh) = 0;
  virtual void SheetSelectionChange(const std::shared_ptr<Object>& sh, const std::shared_ptr<Range>& target) = 0;
  virtual void WindowResize(const std::shared_ptr<Object>& wb, const std::shared_ptr<Object>& wn) = 0;
  virtual void WorkbookActivate(const std::shared_ptr<Object>& wb) = 0;
  virtual void WorkbookBeforePrint(const std::shared_ptr<Object>& wb, VbBool& cancel) = 0;
  virtual void WorkbookAddinUninstall(const std::shared_ptr<Object>& wb) = 0;
};

// An advised event sink; destroying it disconnects the sink.
class EventConnection {
 public:
  virtual ~EventConnection() = default;
};

class Application : public Object {
 public:
  virtual std::shared_ptr<Window> ActiveWindow() = 0;
  virtual std::shared_ptr<Range> ActiveCell() = 0;
  virtual std::shared_ptr<Object> Selection() = 0;
  virtual std::string Version() = 0;
  // The build number of the running Excel, for the diagnostics log.
  virtual std::int32_t Build() = 0;
  // The main window of the active workbook's window (there is one per
  // workbook from version 15 on, one for all before).
  virtual WindowHandle Hwnd() = 0;
  virtual std::shared_ptr<Range> GetRange(const std::string& cell1) = 0;  // Application.Range
  virtual std::shared_ptr<Range> Cells() = 0;
  virtual std::shared_ptr<host::WorksheetFunction> GetWorksheetFunction() = 0;
  virtual std::shared_ptr<platform::CommandBars> GetCommandBars() = 0;
  virtual std::unique_ptr<EventConnection> AdviseEvents(AppEvents& sink) = 0;

  std::string TypeName() override { return "Application"; }
};

}  // namespace rowtint::platform::host
