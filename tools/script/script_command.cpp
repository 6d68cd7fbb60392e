#include "script_command.h"

#include <climits>
#include <map>

#include "platform/host.h"
#include "script_line.h"

namespace rowtint::script {
namespace {

struct Entry {
  Verb verb;
  Kind kind;
};

const std::map<std::string, Entry>& Table() {
  static const std::map<std::string, Entry> table{
      {"start", {Verb::Start, Kind::Lifecycle}},
      {"shutdown", {Verb::Shutdown, Kind::Lifecycle}},
      {"unload", {Verb::Unload, Kind::Lifecycle}},
      {"load", {Verb::Load, Kind::Lifecycle}},
      {"release", {Verb::Release, Kind::Lifecycle}},
      {"setting", {Verb::Setting, Kind::Prepare}},
      {"bar", {Verb::Bar, Kind::Prepare}},
      {"faults", {Verb::Faults, Kind::Prepare}},
      {"thread-dpi", {Verb::ThreadDpi, Kind::Prepare}},
      {"surface", {Verb::Surface, Kind::Prepare}},
      {"renderer", {Verb::Renderer, Kind::Sheet}},
      {"screen", {Verb::Screen, Kind::Sheet}},
      {"grid", {Verb::Grid, Kind::Sheet}},
      {"zoom", {Verb::Zoom, Kind::Sheet}},
      {"dpi", {Verb::Dpi, Kind::Sheet}},
      {"version", {Verb::Version, Kind::Sheet}},
      {"row-height", {Verb::RowHeight, Kind::Sheet}},
      {"col-width", {Verb::ColWidth, Kind::Sheet}},
      {"set", {Verb::Set, Kind::Sheet}},
      {"window-dpi", {Verb::WindowDpi, Kind::Sheet}},
      {"caret", {Verb::Caret, Kind::Sheet}},
      {"select", {Verb::Select, Kind::User}},
      {"select-object", {Verb::SelectObject, Kind::User}},
      {"scroll", {Verb::Scroll, Kind::User}},
      {"resize", {Verb::Resize, Kind::User}},
      {"activate-sheet", {Verb::ActivateSheet, Kind::User}},
      {"activate-workbook", {Verb::ActivateWorkbook, Kind::User}},
      {"print", {Verb::Print, Kind::User}},
      {"click", {Verb::Click, Kind::User}},
      {"find-options", {Verb::FindOptions, Kind::User}},
      {"workbook", {Verb::Workbook, Kind::User}},
      {"edit", {Verb::Edit, Kind::User}},
      {"away", {Verb::Away, Kind::User}},
      {"back", {Verb::Back, Kind::User}},
      {"freeze", {Verb::Freeze, Kind::User}},
      {"move", {Verb::Move, Kind::User}},
      {"wheel", {Verb::Wheel, Kind::User}},
      {"repaint", {Verb::Repaint, Kind::User}},
      {"ribbon", {Verb::Ribbon, Kind::User}},
      {"pick", {Verb::Pick, Kind::Dialog}},
      {"form", {Verb::Form, Kind::Dialog}},
      {"gate", {Verb::Gate, Kind::Loop}},
      {"tick", {Verb::Tick, Kind::Loop}},
      {"paint", {Verb::Paint, Kind::Loop}},
      {"switch", {Verb::Switch, Kind::Loop}},
      {"wober", {Verb::Wober, Kind::Loop}},
      {"warm", {Verb::Warm, Kind::Loop}},
      {"cover", {Verb::Cover, Kind::Desktop}},
      {"uncover", {Verb::Uncover, Kind::Desktop}},
      {"snapshot", {Verb::Snapshot, Kind::Output}},
      {"state", {Verb::State, Kind::Output}},
  };
  return table;
}

// The host's version text: a major and a minor number, such as 16.0.
bool IsVersionText(const std::string& text) {
  const auto dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 2 || dot + 1 == text.size() || text.size() - dot > 3) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (i != dot && (text[i] < '0' || text[i] > '9')) return false;
  return std::stoi(text.substr(0, dot)) >= 5;
}

bool OnOrOff(const ScriptLine& line) {
  line.ExpectArguments(1);
  if (line.Word(1) != "on" && line.Word(1) != "off") throw ScriptError("'" + line.Command() + "' takes on or off");
  return line.Word(1) == "on";
}

Edges EdgesOf(const ScriptLine& line) {
  line.ExpectArguments(4);
  return {line.Whole(1, INT32_MIN, INT32_MAX, "left edge"), line.Whole(2, INT32_MIN, INT32_MAX, "top edge"),
          line.Whole(3, INT32_MIN, INT32_MAX, "right edge"), line.Whole(4, INT32_MIN, INT32_MAX, "bottom edge")};
}

Number OneNumber(const ScriptLine& line, std::int64_t min, std::int64_t max, const char* what) {
  line.ExpectArguments(1);
  return {line.Whole(1, min, max, what)};
}

Arguments SheetArguments(Verb verb, const ScriptLine& line) {
  switch (verb) {
    case Verb::Screen: {
      line.ExpectArguments(2);
      const auto width = line.Whole(1, kScreenLimits.left, kScreenLimits.right, "width");
      return ScreenSize{static_cast<int>(width),
                        static_cast<int>(line.Whole(2, kScreenLimits.top, kScreenLimits.bottom, "height"))};
    }
    case Verb::Zoom:
      return OneNumber(line, sim::SheetModel::kMinZoom, sim::SheetModel::kMaxZoom, "zoom percentage");
    case Verb::Dpi:
    case Verb::WindowDpi:
      return OneNumber(line, 96, 480, "dots per inch");
    case Verb::Version:
      line.ExpectArguments(1);
      if (!IsVersionText(line.Word(1)))
        throw ScriptError(
            "'version' takes the host's version text, a major from 5 and a minor number such as 16.0, not '" +
            line.Word(1) + "'");
      return Text{line.Word(1)};
    case Verb::RowHeight: {
      line.ExpectArguments(2);
      const std::int32_t row = line.Row(1);
      return Size{row, line.Number(2, 0, sim::SheetModel::kMaxRowHeight, "row height in points")};
    }
    case Verb::ColWidth: {
      line.ExpectArguments(2);
      const std::int32_t column = line.Column(1);
      return Size{column, line.Number(2, 0, sim::SheetModel::kMaxColumnWidth, "column width in points")};
    }
    case Verb::Set: {
      line.ExpectArguments(1, SIZE_MAX);
      const sim::CellRef cell = line.Cell(1);
      std::string text = line.Rest(2);
      if (text.size() > 32767) throw ScriptError("'set' takes a text of at most 32,767 characters, as a cell holds");
      return CellText{cell, std::move(text)};
    }
    case Verb::Caret:
      return OnOff{OnOrOff(line)};
    case Verb::Renderer: {
      line.ExpectArguments(1);
      const std::string& which = line.Word(1);
      if (which == "gdi") return RendererChoice{Renderer::Gdi};
      if (which == "composed") return RendererChoice{Renderer::Composed};
      if (which == "flip") return RendererChoice{Renderer::Flip};
      throw ScriptError("'renderer' takes gdi, composed or flip, not '" + which + "'");
    }
    default:
      return EdgesOf(line);  // grid
  }
}

// Whether the line's one argument is `word`, which then takes no other.
bool Alone(const ScriptLine& line, const char* word) {
  line.ExpectArguments(1, 2);
  if (line.Word(1) != word) return false;
  line.ExpectArguments(1);
  return true;
}

// "off", or the counts of rows and columns to freeze, one of them at least.
Freeze FreezeOf(const ScriptLine& line) {
  if (Alone(line, "off")) return {};
  line.ExpectArguments(2);
  const auto rows = static_cast<std::int32_t>(line.Whole(1, 0, sim::SheetModel::kMaxRows - 1, "count of rows"));
  const auto columns =
      static_cast<std::int32_t>(line.Whole(2, 0, sim::SheetModel::kMaxColumns - 1, "count of columns"));
  if (rows == 0 && columns == 0) throw ScriptError("'freeze' takes a row or a column to freeze, or off");
  return {{rows, columns}};
}

// Excel repaints a cell, a row or the whole grid of its own accord.
Repaint RepaintOf(const ScriptLine& line) {
  if (Alone(line, "grid")) return {};
  if (line.Word(1) == "row") {
    line.ExpectArguments(2);
    return {Repaint::What::Row, {static_cast<std::int32_t>(line.Whole(2, 1, sim::SheetModel::kMaxRows, "row")), 1}};
  }
  line.ExpectArguments(1);
  return {Repaint::What::Cell, line.Cell(1)};
}

// The options of the user's last search in Excel's Find dialog.
LookIn LookInOf(const ScriptLine& line) {
  line.ExpectArguments(1);
  const std::string& where = line.Word(1);
  namespace xl = platform::host;
  if (where == "comments") return {xl::kXlComments};
  if (where == "values") return {xl::kXlValues};
  if (where == "formulas") return {xl::kXlFormulas};
  throw ScriptError("'find-options' takes comments, values or formulas, not '" + where + "'");
}

// "new", a place to activate, or "close" and a place.
WorkbookAction WorkbookOf(const ScriptLine& line) {
  if (Alone(line, "new")) return {};
  if (line.Word(1) == "close") {
    line.ExpectArguments(2);
    return {WorkbookAction::What::Close, line.Whole(2, INT64_MIN, INT64_MAX, "workbook's place")};
  }
  line.ExpectArguments(1);
  return {WorkbookAction::What::Activate, line.Whole(1, INT64_MIN, INT64_MAX, "workbook's place")};
}

// The user types into the active cell or the formula bar, or leaves with Esc.
Edit EditOf(const ScriptLine& line) {
  line.ExpectArguments(1, 2);
  const std::string& what = line.Word(1);
  if (what != "begin" && what != "end") throw ScriptError("'edit' takes begin or end, not '" + what + "'");
  if (line.Arguments() == 2 && (what != "begin" || line.Word(2) != "bar"))
    throw ScriptError("'edit' takes begin, begin bar or end, not '" + line.Rest(1) + "'");
  return {what == "begin", line.Arguments() == 2};
}

Arguments UserArguments(Verb verb, const ScriptLine& line) {
  switch (verb) {
    case Verb::Select:
      line.ExpectArguments(1);
      return Selection{line.Area(1)};
    case Verb::Scroll: {
      line.ExpectArguments(2);
      const std::int32_t row = line.Row(1);
      return ScrollTo{{row, line.Column(2)}};
    }
    case Verb::Resize:
      return EdgesOf(line);
    case Verb::Click:
      line.ExpectArguments(1, SIZE_MAX);
      return Text{line.Rest(1)};
    case Verb::FindOptions:
      return LookInOf(line);
    case Verb::Workbook:
      return WorkbookOf(line);
    case Verb::Edit:
      return EditOf(line);
    case Verb::Freeze:
      return FreezeOf(line);
    case Verb::Wheel: {
      // The wheel's delta is a 16-bit number, 40 a row.
      const Number rows = OneNumber(line, -800, 800, "rows to scroll");
      if (rows.value == 0) throw ScriptError("'wheel' takes the rows to scroll, not 0");
      return rows;
    }
    case Verb::Repaint:
      return RepaintOf(line);
    case Verb::Move: {
      // The main window may be dragged as far as the largest screen is wide or high.
      line.ExpectArguments(2);
      const Offset by{line.Whole(1, -kScreenLimits.right, kScreenLimits.right, "distance right"),
                      line.Whole(2, -kScreenLimits.bottom, kScreenLimits.bottom, "distance down")};
      if (by.dx == 0 && by.dy == 0) throw ScriptError("'move' takes a distance to move the window, not 0 0");
      return by;
    }
    default:
      line.ExpectArguments(0);
      return NoArguments{};
  }
}

RibbonAction RibbonOf(const ScriptLine& line) {
  line.ExpectArguments(2, 3);
  const std::string& action = line.Word(1);
  if (action != "click" && action != "toggle" && action != "menu")
    throw ScriptError("'ribbon' takes click, toggle or menu, not '" + action + "'");
  line.ExpectArguments(action == "menu" ? 3 : 2);
  const auto what = action == "click"    ? RibbonAction::What::Click
                    : action == "toggle" ? RibbonAction::What::Toggle
                                         : RibbonAction::What::Menu;
  return {what, line.Word(2), action == "menu" ? line.Word(3) : ""};
}

ColorAnswer ColorAnswerOf(const ScriptLine& line) {
  if (line.Arguments() == 1 && line.Word(1) == "cancel") return {};
  line.ExpectArguments(3);
  const auto r = line.Whole(1, 0, 255, "red"), g = line.Whole(2, 0, 255, "green"), b = line.Whole(3, 0, 255, "blue");
  return {static_cast<platform::Color>(r | g << 8 | b << 16)};
}

FormAction FormActionOf(const ScriptLine& line) {
  line.ExpectArguments(1, 2);
  const std::string& action = line.Word(1);
  if (action == "close") {
    line.ExpectArguments(1);
    return {FormAction::Kind::Close, ""};
  }
  if (action != "click" && action != "move") throw ScriptError("'form' takes click, move or close");
  line.ExpectArguments(2);
  return {action == "click" ? FormAction::Kind::Click : FormAction::Kind::Move,
          line.Word(2) == "background" ? "" : line.Word(2)};
}

// The file `snapshot` writes, a PNG inside the output folder.
Text SnapshotOf(const ScriptLine& line) {
  line.ExpectArguments(1);
  const std::string& file = line.Word(1);
  if (file.size() < 5 || file.substr(file.size() - 4) != ".png" || file.find_first_of("/\\") != std::string::npos)
    throw ScriptError("'snapshot' takes a file name ending in .png, without a folder");
  return {file};
}

Arguments ArgumentsOf(Verb verb, Kind kind, const ScriptLine& line) {
  switch (verb) {
    case Verb::Unload:
      line.ExpectArguments(0, 1);
      if (line.Arguments() == 1 && line.Word(1) != "keep")
        throw ScriptError("'unload' takes keep or nothing, not '" + line.Word(1) + "'");
      return Unload{line.Arguments() == 1};
    case Verb::Setting:
      line.ExpectArguments(2, SIZE_MAX);
      return Setting{line.Word(1), line.Word(2), line.Rest(3)};
    case Verb::Bar:
      line.ExpectArguments(1, SIZE_MAX);
      return Text{line.Rest(1)};
    case Verb::Faults: {
      line.ExpectArguments(2);
      const double probability = line.Number(1, 0, 1, "probability");
      return Faults{probability, line.Unsigned(2, "seed")};
    }
    case Verb::Ribbon:
      return RibbonOf(line);
    case Verb::Pick:
      return ColorAnswerOf(line);
    case Verb::Form:
      return FormActionOf(line);
    case Verb::Gate:
      return OnOff{OnOrOff(line)};
    case Verb::ThreadDpi: {
      line.ExpectArguments(1);
      const std::string& context = line.Word(1);
      if (context != "system" && context != "monitor")
        throw ScriptError("'thread-dpi' takes system or monitor, not '" + context + "'");
      return ThreadContext{context == "system"};
    }
    case Verb::Surface: {
      line.ExpectArguments(1);
      const std::string& choice = line.Word(1);
      if (choice != "auto" && choice != "grid" && choice != "overlay")
        throw ScriptError("'surface' takes auto, grid or overlay, not '" + choice + "'");
      return Text{choice};
    }
    case Verb::Tick:
      line.ExpectArguments(0, 1);
      if (line.Arguments() == 1 && line.Word(1) == "queue") return Ticks{1, true};
      return Ticks{line.Arguments() ? line.Whole(1, 1, 1000, "number of ticks") : 1, false};
    case Verb::Cover:
      return EdgesOf(line);
    case Verb::Snapshot:
      return SnapshotOf(line);
    default:
      break;
  }
  if (kind == Kind::Sheet) return SheetArguments(verb, line);
  if (kind == Kind::User) return UserArguments(verb, line);
  line.ExpectArguments(0);
  return NoArguments{};
}
}  // namespace

std::optional<Command> ParseCommand(const std::string& text) {
  const ScriptLine line(text);
  if (line.Empty()) return std::nullopt;
  const auto entry = Table().find(line.Command());
  if (entry == Table().end()) throw ScriptError("unknown command '" + line.Command() + "'");
  const auto [verb, kind] = entry->second;
  return Command{verb, kind, line.Command(), ArgumentsOf(verb, kind, line)};
}

void HoldTo(const Command& command, std::int64_t value, std::int64_t min, std::int64_t max, const char* what) {
  if (value < min || value > max)
    throw ScriptError("'" + command.word + "' takes a " + what + " from " + std::to_string(min) + " to " +
                      std::to_string(max) + ", not " + std::to_string(value));
}

platform::Rect RectWithin(const Command& command, const Edges& edges, const platform::Rect& bounds, const char* what) {
  HoldTo(command, edges.left, bounds.left, bounds.right, "left edge");
  HoldTo(command, edges.top, bounds.top, bounds.bottom, "top edge");
  HoldTo(command, edges.right, bounds.left, bounds.right, "right edge");
  HoldTo(command, edges.bottom, bounds.top, bounds.bottom, "bottom edge");
  const platform::Rect r{static_cast<std::int32_t>(edges.left), static_cast<std::int32_t>(edges.top),
                         static_cast<std::int32_t>(edges.right), static_cast<std::int32_t>(edges.bottom)};
  if (r.Empty())
    throw ScriptError("'" + command.word + "' needs " + std::string(what) +
                      " whose right lies past its left and bottom below its top");
  return r;
}

}  // namespace rowtint::script
