#include "script_commands.h"

namespace rowtint::script {
namespace {

// The host's version text: a major and a minor number, such as 16.0.
bool IsVersionText(const std::string& text) {
  const auto dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 2 || dot + 1 == text.size() || text.size() - dot > 3) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (i != dot && (text[i] < '0' || text[i] > '9')) return false;
  return std::stoi(text.substr(0, dot)) >= 5;
}

// The second control of the host's "File" bar, whose state gates the add-in's commands.
void Gate(const ScriptLine& line, sim::CommandBarStore& bars) {
  line.ExpectArguments(1);
  if (line.Word(1) != "on" && line.Word(1) != "off") throw ScriptError("'gate' takes on or off");
  auto file = bars.Find("File");
  if (!file || file->controls.size() < 2) throw ScriptError("the host has no \"File\" bar with two controls");
  file->controls[1]->enabled = line.Word(1) == "on" ? platform::kTrue : platform::kFalse;
}

void MoveGrid(const ScriptLine& line, ScriptHost& host, bool userResizes) {
  auto& model = host.Model();
  line.ExpectArguments(4);
  const platform::Rect rect = line.Rect(host.ScreenBounds(), "a grid inside the screen");
  host.KeepGrid(rect);
  if (userResizes)
    model.Resize(rect);
  else
    model.PlaceGrid(rect);
}

void SheetCommand(const ScriptLine& line, sim::ExcelModel& model) {
  const std::string& cmd = line.Command();
  if (cmd == "zoom") {
    line.ExpectArguments(1);
    model.SetZoom(static_cast<std::int32_t>(
        line.Whole(1, sim::SheetModel::kMinZoom, sim::SheetModel::kMaxZoom, "zoom percentage")));
  } else if (cmd == "version") {
    line.ExpectArguments(1);
    if (!IsVersionText(line.Word(1)))
      throw ScriptError(
          "'version' takes the host's version text, a major from 5 and a minor number such as 16.0, not '" +
          line.Word(1) + "'");
    // Each workbook's windows are made as the version has them.
    if (model.Workbooks().size() > 1) throw ScriptError("'version' cannot change while more than one workbook is open");
    model.SetVersion(line.Word(1));
  } else if (cmd == "row-height") {
    line.ExpectArguments(2);
    const std::int32_t row = line.Row(1);
    model.SetRowHeight(row, line.Number(2, 0, sim::SheetModel::kMaxRowHeight, "row height in points"));
  } else if (cmd == "window-dpi") {
    line.ExpectArguments(1);
    model.SetWindowDpi(static_cast<int>(line.Whole(1, 96, 480, "dots per inch")));
  } else if (cmd == "col-width") {
    line.ExpectArguments(2);
    const std::int32_t column = line.Column(1);
    model.SetColumnWidth(column, line.Number(2, 0, sim::SheetModel::kMaxColumnWidth, "column width in points"));
  } else {
    line.ExpectArguments(1, SIZE_MAX);
    const sim::CellRef cell = line.Cell(1);
    const std::string text = line.Rest(2);
    if (text.size() > 32767) throw ScriptError("'set' takes a text of at most 32,767 characters, as a cell holds");
    model.SetText(cell, text);
  }
}

// The options of the user's last search in Excel's Find dialog, which a
// search that does not name its own takes.
void FindOptions(const ScriptLine& line, sim::ExcelModel& model) {
  line.ExpectArguments(1);
  const std::string& where = line.Word(1);
  namespace xl = platform::host;
  if (where == "comments")
    model.lastSearch.lookIn = xl::kXlComments;
  else if (where == "values")
    model.lastSearch.lookIn = xl::kXlValues;
  else if (where == "formulas")
    model.lastSearch.lookIn = xl::kXlFormulas;
  else
    throw ScriptError("'find-options' takes comments, values or formulas, not '" + where + "'");
}

// "new", a place to activate, or "close" and a place; the host keeps one workbook open at least.
void WorkbookCommand(const ScriptLine& line, sim::ExcelModel& model) {
  line.ExpectArguments(1, 2);
  const std::size_t open = model.Workbooks().size();
  auto place = [&](std::size_t argument) {
    return static_cast<std::size_t>(line.Whole(argument, 1, static_cast<std::int64_t>(open), "workbook's place"));
  };
  if (line.Word(1) == "new") {
    line.ExpectArguments(1);
    model.NewWorkbook();
  } else if (line.Word(1) == "close") {
    line.ExpectArguments(2);
    const std::size_t closed = place(2);
    if (open == 1) throw ScriptError("'workbook close' leaves the host no workbook: the last one stays open");
    model.CloseWorkbook(closed);
  } else {
    line.ExpectArguments(1);
    model.SwitchWorkbook(place(1));
  }
}

std::shared_ptr<sim::ControlNode> FindControl(const std::vector<std::shared_ptr<sim::ControlNode>>& controls,
                                              bool byTooltip, const std::string& name) {
  for (const auto& c : controls)
    if ((byTooltip ? c->tooltip : c->caption) == name) return c;
  return nullptr;
}

// Carries out a command that acts on the host's model or its life; false for any other.
bool ModelCommand(const ScriptLine& line, ScriptHost& host) {
  const std::string& cmd = line.Command();
  if (Commands().at(cmd) == Kind::Lifecycle) {
    line.ExpectArguments(0);
    if (cmd == "start")
      host.Start();
    else if (cmd == "shutdown")
      host.Shutdown();
    else if (cmd == "load")
      host.Load();
    else
      host.Unload();
  } else if (cmd == "bar") {
    line.ExpectArguments(1, SIZE_MAX);
    host.Bars().AddBar(line.Rest(1), false);
  } else if (cmd == "gate") {
    Gate(line, host.Bars());
  } else if (cmd == "grid" || cmd == "resize") {
    MoveGrid(line, host, cmd == "resize");
  } else if (cmd == "zoom" || cmd == "version" || cmd == "row-height" || cmd == "col-width" || cmd == "set" ||
             cmd == "window-dpi") {
    SheetCommand(line, host.Model());
  } else if (cmd == "workbook") {
    WorkbookCommand(line, host.Model());
  } else if (cmd == "find-options") {
    FindOptions(line, host.Model());
  } else if (cmd == "caret") {
    line.ExpectArguments(1);
    if (line.Word(1) != "on" && line.Word(1) != "off") throw ScriptError("'caret' takes on or off");
    host.Model().SetCaretAtCell(line.Word(1) == "on");
  } else if (cmd == "select" || cmd == "scroll" || cmd == "freeze" || cmd == "wheel" || cmd == "repaint" ||
             cmd == "select-object" || cmd == "activate-sheet" || cmd == "activate-workbook" || cmd == "print" ||
             cmd == "edit") {
    UserCommand(line, host.Model());
  } else if (cmd == "ribbon") {
    RibbonCommand(line, host.Ribbon());
  } else {
    return false;
  }
  return true;
}
}  // namespace

const std::map<std::string, Kind>& Commands() {
  static const std::map<std::string, Kind> commands{
      {"start", Kind::Lifecycle},  {"shutdown", Kind::Lifecycle},  {"unload", Kind::Lifecycle},
      {"load", Kind::Lifecycle},   {"setting", Kind::Prepare},     {"bar", Kind::Prepare},
      {"faults", Kind::Prepare},   {"screen", Kind::Sheet},        {"grid", Kind::Sheet},
      {"zoom", Kind::Sheet},       {"dpi", Kind::Sheet},           {"version", Kind::Sheet},
      {"row-height", Kind::Sheet}, {"col-width", Kind::Sheet},     {"set", Kind::Sheet},
      {"select", Kind::User},      {"select-object", Kind::User},  {"scroll", Kind::User},
      {"resize", Kind::User},      {"activate-sheet", Kind::User}, {"activate-workbook", Kind::User},
      {"print", Kind::User},       {"click", Kind::User},          {"find-options", Kind::User},
      {"workbook", Kind::User},    {"pick", Kind::Dialog},         {"form", Kind::Dialog},
      {"gate", Kind::Loop},        {"tick", Kind::Loop},           {"paint", Kind::Loop},
      {"switch", Kind::Loop},      {"wober", Kind::Loop},          {"warm", Kind::Loop},
      {"snapshot", Kind::Output},  {"state", Kind::Output},        {"edit", Kind::User},
      {"away", Kind::User},        {"back", Kind::User},           {"cover", Kind::Desktop},
      {"uncover", Kind::Desktop},  {"window-dpi", Kind::Sheet},    {"caret", Kind::Sheet},
      {"freeze", Kind::User},      {"wheel", Kind::User},          {"repaint", Kind::User},
      {"ribbon", Kind::User},
  };
  return commands;
}

std::shared_ptr<sim::ControlNode> FindButton(const sim::CommandBarStore& bars, int window, const std::string& name) {
  const bool menuOnly = name.rfind("menu:", 0) == 0;
  const std::string caption = menuOnly ? name.substr(5) : name;
  const auto& shown = bars.BarsOf(window);
  std::shared_ptr<sim::ControlNode> target;
  if (!menuOnly)
    for (const auto& bar : shown)
      if (bar->name == "Rowtint" && !target) target = FindControl(bar->controls, true, caption);
  for (const auto& bar : shown)
    if (!target && bars.activeMenuBar && bar->name == bars.activeMenuBar->name) {
      auto popup = FindControl(bar->controls, false, "Rowtint");
      if (popup && popup->popupBar) target = FindControl(popup->popupBar->controls, false, caption);
    }
  if (!target) throw ScriptError("the host shows no button '" + name + "'");
  return target;
}

std::optional<platform::Color> ColorAnswer(const ScriptLine& line) {
  if (line.Arguments() == 1 && line.Word(1) == "cancel") return std::nullopt;
  line.ExpectArguments(3);
  const auto r = line.Whole(1, 0, 255, "red"), g = line.Whole(2, 0, 255, "green"), b = line.Whole(3, 0, 255, "blue");
  return static_cast<platform::Color>(r | g << 8 | b << 16);
}

platform::Rect CoverRect(const ScriptLine& line, const platform::Rect& screen) {
  line.ExpectArguments(4);
  return line.Rect(screen, "a cover inside the screen");
}

std::string SnapshotName(const ScriptLine& line) {
  line.ExpectArguments(1);
  const std::string& file = line.Word(1);
  if (file.size() < 5 || file.substr(file.size() - 4) != ".png" || file.find_first_of("/\\") != std::string::npos)
    throw ScriptError("'snapshot' takes a file name ending in .png, without a folder");
  return file;
}

FormAction ParseFormAction(const ScriptLine& line) {
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

void Execute(const std::string& text, ScriptHost& host, std::ostream& out) {
  const ScriptLine line(text);
  if (line.Empty()) return;
  const auto command = Commands().find(line.Command());
  if (command == Commands().end()) throw ScriptError("unknown command '" + line.Command() + "'");
  const Kind kind = command->second;

  if (!host.Started() && kind != Kind::Prepare && line.Command() != "start") host.Start();
  // While a form or the colour dialog is shown modally the host's windows take
  // no input: nothing the user does reaches them, and the host neither closes
  // nor lets its add-ins be unloaded.
  if (kind == Kind::Lifecycle || kind == Kind::Sheet || kind == Kind::User) host.RefuseWhileModal(line);
  if (!ModelCommand(line, host)) host.Own(line, kind, out);
}

}  // namespace rowtint::script
