// A script line read once: its verb and its arguments as typed values,
// every argument held to what the host or a person could give. Only what
// depends on the running host (the screen's size, the workbooks open, an
// edit already on) is checked when the line is carried out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "platform/sim/sheet_model.h"
#include "platform/types.h"

namespace rowtint::script {

// What a command works on, which decides when it may run.
enum class Kind {
  Lifecycle,  // the host starts, ends, loads or unloads the add-in
  Prepare,    // the settings store, the host's bars, faults: may come before the host's first start
  Sheet,      // the host's screen, windows and sheet are set up
  User,       // the user works the host's windows
  Dialog,     // the user works a form or the colour dialog
  Loop,       // the host's message loop and the engine called directly
  Desktop,    // another program's window, which no form of the host's keeps away
  Output,
};

enum class Verb {
  Start,
  Shutdown,
  Unload,
  Load,
  Release,
  Setting,
  Bar,
  Faults,
  Screen,
  Grid,
  Zoom,
  Dpi,
  Version,
  RowHeight,
  ColWidth,
  Set,
  WindowDpi,
  ThreadDpi,
  Surface,
  Renderer,
  Caret,
  Select,
  SelectObject,
  Scroll,
  Resize,
  ActivateSheet,
  ActivateWorkbook,
  Print,
  Click,
  FindOptions,
  Workbook,
  Edit,
  Away,
  Back,
  Freeze,
  Move,
  Wheel,
  Repaint,
  Ribbon,
  Pick,
  Form,
  Gate,
  Tick,
  Paint,
  Switch,
  Wober,
  Warm,
  Cover,
  Uncover,
  Snapshot,
  State,
};

// Screens a host may be given, in pixels.
inline constexpr platform::Rect kScreenLimits{640, 480, 3840, 2160};

// The arguments, one type for each shape of line.
struct NoArguments {};
struct Number {
  std::int64_t value = 0;  // zoom, dpi, window-dpi, wheel
};
struct OnOff {
  bool on = false;  // gate, caret
};
struct Text {
  std::string text;  // bar, click, version, snapshot
};
struct Setting {
  std::string section, key, text;
};
struct Faults {
  double probability = 0;
  std::uint64_t seed = 0;
};
struct ScreenSize {
  int width = 0, height = 0;
};
// Four edges as written; whether they lie on the screen is known only when the line runs.
struct Edges {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
};
struct Size {
  std::int32_t index = 0;  // the row or column
  double points = 0;
};
struct CellText {
  sim::CellRef cell;
  std::string text;
};
struct Selection {
  sim::Area area;
};
struct ScrollTo {
  sim::CellRef topLeft;
};
struct Freeze {
  sim::CellRef counts{0, 0};  // 0 and 0: off
};
struct Repaint {
  enum class What { Grid, Row, Cell } what = What::Grid;
  sim::CellRef cell;  // the row's number in cell.row
};
struct LookIn {
  std::int32_t where = 0;  // an XlFindLookIn
};
struct WorkbookAction {
  enum class What { New, Activate, Close } what = What::New;
  std::int64_t place = 0;  // from 1; held to the workbooks open when the line runs
};
struct Edit {
  bool begin = false;
  bool formulaBar = false;  // `edit begin bar`: the user types in the formula bar
};
struct Unload {
  bool keep = false;  // `unload keep`: the host holds on to the connection object
};
// `thread-dpi`: the context the host's thread calls the add-in in.
struct ThreadContext {
  bool systemAware = false;  // false: per-monitor aware
};
// `tick N`, or `tick queue`: the add-in's next timer message taken from the queue and held.
struct Ticks {
  std::int64_t count = 1;
  bool queue = false;
};
struct ColorAnswer {
  std::optional<platform::Color> color;  // nullopt: Cancel
};
// A `form` line: what the user does on the form that is shown.
struct FormAction {
  enum class Kind { Click, Move, Close } kind;
  std::string control;  // empty for the bare background; the name as written otherwise
};
struct RibbonAction {
  enum class What { Click, Toggle, Menu } what = What::Click;
  std::string id, item;
};
// How Excel gets its grids onto the screen: through GDI, redrawn from a
// picture of its own at any time without a message the grid's procedure
// sees, or presented through a flip-model swap chain, where nothing drawn
// through a DC on the grid shows.
enum class Renderer { Gdi, Composed, Flip };
struct RendererChoice {
  Renderer which = Renderer::Gdi;
};
// `move DX DY`: the active workbook's main window dragged by that many pixels.
struct Offset {
  std::int64_t dx = 0, dy = 0;
};

using Arguments = std::variant<NoArguments, Number, OnOff, Text, Setting, Faults, ScreenSize, Edges, Size, CellText,
                               Selection, ScrollTo, Freeze, Repaint, LookIn, WorkbookAction, Edit, Unload,
                               ThreadContext, Ticks, ColorAnswer, FormAction, RibbonAction, RendererChoice, Offset>;

struct Command {
  Verb verb;
  Kind kind;
  std::string word;  // the command as written, for what is said about it
  Arguments arguments;

  template <class T>
  const T& Get() const {
    return std::get<T>(arguments);
  }
};

// The command of one line, or nullopt for a line without one (blank, or a
// comment). Raises ScriptError for an unknown command or an argument out
// of what the host or a person could give.
std::optional<Command> ParseCommand(const std::string& text);

// Raises ScriptError, as an argument out of range, unless value lies from min to max.
void HoldTo(const Command& command, std::int64_t value, std::int64_t min, std::int64_t max, const char* what);
// The edges, each held to `bounds`, as a rectangle that is not empty.
platform::Rect RectWithin(const Command& command, const Edges& edges, const platform::Rect& bounds, const char* what);

}  // namespace rowtint::script
