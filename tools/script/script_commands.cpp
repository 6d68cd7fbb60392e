#include "script_commands.h"

#include "forms/control_names.h"

namespace rowtint::script {
namespace {

// The second control of the host's "File" bar, whose state gates the add-in's commands.
void Gate(bool on, sim::CommandBarStore& bars) {
  auto file = bars.Find("File");
  if (!file || file->controls.size() < 2) throw ScriptError("the host has no \"File\" bar with two controls");
  file->controls[1]->enabled = on ? platform::kTrue : platform::kFalse;
}

void MoveGrid(const Command& command, ScriptHost& host) {
  auto& model = host.Model();
  const platform::Rect rect =
      RectWithin(command, command.Get<Edges>(), host.ScreenBounds(), "a grid inside the screen");
  host.KeepGrid(rect);
  if (command.verb == Verb::Resize)
    model.Resize(rect);
  else
    model.PlaceGrid(rect);
}

// The main window goes with its grid; the grid must stay on the screen, where both hosts can compare it.
void MoveMain(const Command& command, ScriptHost& host) {
  // Both hosts place an edit's window once, where the cell was.
  if (host.Model().Editing()) throw ScriptError("'move' needs the edit ended first");
  auto& view = host.Model().View();
  const platform::Rect client = view.GridClient();
  const platform::Point origin = view.GridOrigin();
  const Offset by = command.Get<Offset>();
  const Edges moved{origin.x + by.dx, origin.y + by.dy, origin.x + client.right + by.dx,
                    origin.y + client.bottom + by.dy};
  const platform::Rect screen = host.ScreenBounds();
  if (moved.left < screen.left || moved.top < screen.top || moved.right > screen.right || moved.bottom > screen.bottom)
    throw ScriptError("'move' would take the grid off the screen, to " + std::to_string(moved.left) + " " +
                      std::to_string(moved.top) + " " + std::to_string(moved.right) + " " +
                      std::to_string(moved.bottom));
  host.MoveMainWindow(static_cast<int>(by.dx), static_cast<int>(by.dy));
}

void SheetCommand(const Command& command, sim::ExcelModel& model) {
  switch (command.verb) {
    case Verb::Zoom:
      model.SetZoom(static_cast<std::int32_t>(command.Get<Number>().value));
      break;
    case Verb::Version:
      // Each workbook's windows are made as the version has them.
      if (model.Workbooks().size() > 1)
        throw ScriptError("'version' cannot change while more than one workbook is open");
      model.SetVersion(command.Get<Text>().text);
      break;
    case Verb::RowHeight:
      model.SetRowHeight(command.Get<Size>().index, command.Get<Size>().points);
      break;
    case Verb::ColWidth:
      model.SetColumnWidth(command.Get<Size>().index, command.Get<Size>().points);
      break;
    case Verb::WindowDpi:
      model.SetWindowDpi(static_cast<int>(command.Get<Number>().value));
      break;
    case Verb::Caret:
      model.SetCaretAtCell(command.Get<OnOff>().on);
      break;
    default:
      model.SetText(command.Get<CellText>().cell, command.Get<CellText>().text);
      break;
  }
}

// "new", a place to activate, or "close" and a place; the host keeps one workbook open at least.
void WorkbookCommand(const Command& command, sim::ExcelModel& model) {
  const auto& action = command.Get<WorkbookAction>();
  const auto open = static_cast<std::int64_t>(model.Workbooks().size());
  if (action.what == WorkbookAction::What::New) {
    model.NewWorkbook();
    return;
  }
  HoldTo(command, action.place, 1, open, "workbook's place");
  const auto place = static_cast<std::size_t>(action.place);
  if (action.what == WorkbookAction::What::Activate) {
    model.SwitchWorkbook(place);
    return;
  }
  if (open == 1) throw ScriptError("'workbook close' leaves the host no workbook: the last one stays open");
  model.CloseWorkbook(place);
}

std::shared_ptr<sim::ControlNode> FindControl(const std::vector<std::shared_ptr<sim::ControlNode>>& controls,
                                              bool byTooltip, const std::string& name) {
  for (const auto& c : controls)
    if ((byTooltip ? c->tooltip : c->caption) == name) return c;
  return nullptr;
}

// A click raises the Click event of every button with the clicked one's Id and Tag.
void Click(const std::string& name, ScriptHost& host) {
  const int window = host.Model().BarsWindow();
  const auto target = FindButton(host.Bars(), window, name);
  for (const auto& failure : host.Bars().Click(target)) host.RecordError("Click: " + failure);
}

void Lifecycle(const Command& command, ScriptHost& host) {
  switch (command.verb) {
    case Verb::Start:
      host.Start();
      break;
    case Verb::Shutdown:
      host.Model();
      host.Shutdown();
      break;
    case Verb::Load:
      if (host.Loaded()) throw ScriptError("the add-in is loaded already");
      host.Model();
      host.Load();
      break;
    case Verb::Unload:
      if (!host.Loaded()) throw ScriptError("the add-in is not loaded");
      host.Unload(command.Get<Unload>().keep);
      break;
    default:
      if (!host.Kept()) throw ScriptError("'release' needs a connection object kept by 'unload keep'");
      host.Release();
      break;
  }
}

// Other programs' windows: one the user brings to the front and leaves
// again, one lying over the screen; both go with the host's run.
void DesktopCommand(const Command& command, ScriptHost& host) {
  host.Model();
  switch (command.verb) {
    case Verb::Cover: {
      const platform::Rect rect =
          RectWithin(command, command.Get<Edges>(), host.ScreenBounds(), "a cover inside the screen");
      if (host.Covered()) throw ScriptError("a cover is shown already");
      host.Cover(rect);
      break;
    }
    case Verb::Uncover:
      if (!host.Covered()) throw ScriptError("no cover is shown");
      host.Uncover();
      break;
    case Verb::Away:
      if (host.Away()) throw ScriptError("the user is away already");
      host.GoAway();
      break;
    default:
      if (!host.Away()) throw ScriptError("the user is not away");
      host.ComeBack();
      break;
  }
}

void FormCommand(const Command& command, ScriptHost& host) {
  if (host.ColorDialogShown())
    throw ScriptError("'form' needs the form, which is disabled while the colour dialog is shown");
  const auto form = host.ShownForm();
  if (!form) throw ScriptError("no form is shown");
  FormAction action = command.Get<FormAction>();
  // A role ("ok") names whichever control does that on the form shown; any other word is a control's own name.
  if (const auto control = forms::ControlOfRole(*form, action.control)) action.control = control->text;
  host.WorkForm(action);
}

void TickCommand(const Ticks& ticks, ScriptHost& host) {
  if (!ticks.queue) {
    for (std::int64_t i = 0; i < ticks.count; ++i) host.Tick();
    return;
  }
  if (host.TickHeld()) throw ScriptError("a timer message is held already; 'tick' dispatches it");
  host.HoldTick();
}

void Output(const Command& command, ScriptHost& host, std::ostream& out) {
  host.Settle();
  if (command.verb == Verb::Snapshot) {
    host.WriteSnapshot(command.Get<Text>().text);
    return;
  }
  out << host.StateJson() << "\n";
  out.flush();
}

// While a form or the colour dialog is shown modally the host's windows take
// no input: nothing the user does reaches them, and the host neither closes
// nor lets its add-ins be unloaded.
void RefuseWhileModal(const Command& command, ScriptHost& host) {
  if (host.ColorDialogShown())
    throw ScriptError("'" + command.word +
                      "' needs the host's windows, which are disabled while the colour dialog is shown");
  if (const auto form = host.ShownForm())
    throw ScriptError("'" + command.word + "' needs the host's windows, which are disabled while " + *form +
                      " is shown");
}

void CarryOut(const Command& command, ScriptHost& host, std::ostream& out) {
  switch (command.verb) {
    case Verb::Setting:
      return host.PutSetting(command.Get<Setting>());
    case Verb::Surface:
      return host.PutSurface(command.Get<Text>().text);
    case Verb::Renderer:
      host.Model();
      return host.SetRenderer(command.Get<RendererChoice>().which);
    case Verb::Move:
      return MoveMain(command, host);
    case Verb::Bar:
      host.Bars().AddBar(command.Get<Text>().text, false);
      return;
    case Verb::Faults:
      return host.SetFaults(command.Get<Faults>());
    case Verb::Screen:
      return host.SetScreen(command.Get<ScreenSize>());
    case Verb::Dpi:
      return host.SetDpi(static_cast<int>(command.Get<Number>().value));
    case Verb::Grid:
    case Verb::Resize:
      return MoveGrid(command, host);
    case Verb::Workbook:
      return WorkbookCommand(command, host.Model());
    case Verb::FindOptions:
      host.Model().lastSearch.lookIn = command.Get<LookIn>().where;
      return;
    case Verb::Click:
      return Click(command.Get<Text>().text, host);
    case Verb::Ribbon:
      return RibbonCommand(command.Get<RibbonAction>(), host.Ribbon());
    case Verb::Away:
    case Verb::Back:
    case Verb::Cover:
    case Verb::Uncover:
      return DesktopCommand(command, host);
    case Verb::Pick:
      return host.Pick(command.Get<ColorAnswer>().color);
    case Verb::Form:
      return FormCommand(command, host);
    case Verb::Gate:
      return Gate(command.Get<OnOff>().on, host.Bars());
    case Verb::ThreadDpi:
      // Windows runs each window's procedure in the context the window was
      // made in: the host's windows must be made in the context chosen.
      if (host.Started())
        throw ScriptError("'thread-dpi' comes before the host's first start, which makes its windows in that context");
      return host.SetThreadDpi(command.Get<ThreadContext>().systemAware);
    case Verb::Tick:
      return TickCommand(command.Get<Ticks>(), host);
    case Verb::Paint:
    case Verb::Switch:
    case Verb::Wober:
    case Verb::Warm:
      return host.CallEngine(command);
    case Verb::Snapshot:
    case Verb::State:
      return Output(command, host, out);
    default:
      break;
  }
  if (command.kind == Kind::Lifecycle) return Lifecycle(command, host);
  if (command.kind == Kind::Sheet) return SheetCommand(command, host.Model());
  UserCommand(command, host.Model());
}
}  // namespace

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

void Execute(const std::string& text, ScriptHost& host, std::ostream& out) {
  const auto command = ParseCommand(text);
  if (!command) return;
  if (!host.Started() && command->kind != Kind::Prepare && command->verb != Verb::Start) host.Start();
  if (command->kind == Kind::Lifecycle || command->kind == Kind::Sheet || command->kind == Kind::User)
    RefuseWhileModal(*command, host);
  CarryOut(*command, host, out);
}

}  // namespace rowtint::script
