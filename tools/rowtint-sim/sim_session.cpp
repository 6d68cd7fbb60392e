#include "sim_session.h"

#include <filesystem>
#include <map>

#include "engine/addin_settings.h"
#include "platform/error.h"

namespace rowtint::simcli {
namespace {

// What a command works on, which decides when it may run.
enum class Kind {
  Lifecycle,  // the host starts, ends, loads or unloads the add-in
  Prepare,    // the settings store, the host's bars, faults: may come before the host's first start
  Sheet,      // the host's screen, windows and sheet are set up
  User,       // the user works the host's windows
  Dialog,     // the user works a form or the colour dialog
  Loop,       // the host's message loop and the engine called directly
  Output,
};

const std::map<std::string, Kind>& Commands() {
  static const std::map<std::string, Kind> commands{
      {"start", Kind::Lifecycle},  {"shutdown", Kind::Lifecycle},  {"unload", Kind::Lifecycle},
      {"load", Kind::Lifecycle},   {"setting", Kind::Prepare},     {"bar", Kind::Prepare},
      {"faults", Kind::Prepare},   {"screen", Kind::Sheet},        {"grid", Kind::Sheet},
      {"zoom", Kind::Sheet},       {"dpi", Kind::Sheet},           {"version", Kind::Sheet},
      {"row-height", Kind::Sheet}, {"col-width", Kind::Sheet},     {"set", Kind::Sheet},
      {"select", Kind::User},      {"select-object", Kind::User},  {"scroll", Kind::User},
      {"resize", Kind::User},      {"activate-sheet", Kind::User}, {"activate-workbook", Kind::User},
      {"print", Kind::User},       {"click", Kind::User},          {"pick", Kind::Dialog},
      {"form", Kind::Dialog},      {"gate", Kind::Loop},           {"tick", Kind::Loop},
      {"paint", Kind::Loop},       {"switch", Kind::Loop},         {"wober", Kind::Loop},
      {"warm", Kind::Loop},        {"snapshot", Kind::Output},     {"state", Kind::Output},
  };
  return commands;
}

// The host's version text: a major and a minor number, such as 16.0.
bool IsVersionText(const std::string& text) {
  const auto dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || dot > 2 || dot + 1 == text.size() || text.size() - dot > 3) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (i != dot && (text[i] < '0' || text[i] > '9')) return false;
  return std::stoi(text.substr(0, dot)) >= 5;
}

std::shared_ptr<sim::ControlNode> FindControl(const std::vector<std::shared_ptr<sim::ControlNode>>& controls,
                                              bool byTooltip, const std::string& name) {
  for (const auto& c : controls)
    if ((byTooltip ? c->tooltip : c->caption) == name) return c;
  return nullptr;
}
}  // namespace

SimSession::SimSession(std::optional<std::string> outDir)
    : outDir_(std::move(outDir)),
      desktop_(std::make_unique<sim::SimDesktop>(1280, 800)),
      settings_([this] {
        if (!outDir_) return std::string();
        std::filesystem::create_directories(*outDir_);
        return (std::filesystem::path(*outDir_) / "settings.txt").string();
      }()),
      forms_(*desktop_, [this] { return PumpOneLine(); }),
      bars_(std::make_shared<sim::CommandBarStore>()) {
  bars_->faults = &faults_;
  desktop_->SetModalLoop([this] { return PumpOneLine(); });
  LoadAddInLibrary();
  loop_ = std::thread([this] { MessageLoop(); });
}

SimSession::~SimSession() {
  {
    std::lock_guard lock(mutex_);
    quitting_ = true;
  }
  changed_.notify_all();
  loop_.join();
}

void SimSession::MessageLoop() {
  while (PumpOneLine()) {
  }
  // The process ends: the add-in is let go without being told, like a host that is killed.
  connect_.reset();
  if (host_) host_->Close();
  host_.reset();
  library_.reset();
}

// A new host process loads the add-in's library afresh: its shared state
// starts at zero and no form exists yet.
void SimSession::LoadAddInLibrary() {
  auto& os = *desktop_;
  library_.reset();
  library_ = std::make_unique<addin::Library>(engine::Services{os, os, os, os, os, settings_, forms_, diagnostics_});
}

// With nothing else to do the message loop lets the windows repaint what is
// invalid, and the host shows its bars as they now stand.
void SimSession::Idle() {
  if (host_) host_->RepaintCommandBars();
  desktop_->FlushRepaints();
}

bool SimSession::PumpOneLine() {
  Idle();
  std::unique_lock lock(mutex_);
  busy_ = false;
  changed_.notify_all();
  changed_.wait(lock, [&] { return pending_.has_value() || quitting_; });
  if (!pending_) return false;
  auto [line, out] = std::move(*pending_);
  pending_.reset();
  busy_ = true;
  lock.unlock();
  try {
    Execute(line, *out);
  } catch (...) {
    std::lock_guard relock(mutex_);
    failure_ = std::current_exception();
  }
  return true;
}

void SimSession::RunLine(const std::string& line, std::ostream& out) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !busy_; });
  pending_.emplace(line, &out);
  busy_ = true;
  changed_.notify_all();
  changed_.wait(lock, [&] { return !busy_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void SimSession::RunScript(std::istream& script, std::ostream& out) {
  std::string line;
  for (int number = 1; std::getline(script, line); ++number) {
    try {
      RunLine(line, out);
    } catch (const ScriptError& e) {
      throw ScriptError("line " + std::to_string(number) + ": " + e.what());
    }
  }
}

sim::SimHost& SimSession::Host() {
  if (!host_) throw ScriptError("the host is not running");
  return *host_;
}

void SimSession::Execute(const std::string& text, std::ostream& out) {
  const ScriptLine line(text);
  if (line.Empty()) return;
  const auto command = Commands().find(line.Command());
  if (command == Commands().end()) throw ScriptError("unknown command '" + line.Command() + "'");
  const Kind kind = command->second;

  // A script begins before the host's first start, and starts it itself
  // unless it first prepares the store, the host's bars or its faults.
  if (!started_ && kind != Kind::Prepare && line.Command() != "start") StartHost();

  switch (kind) {
    case Kind::Lifecycle:
      RefuseWhileModal(line);
      LifecycleCommand(line);
      break;
    case Kind::Prepare:
      if (line.Command() == "setting") {
        line.ExpectArguments(2, SIZE_MAX);
        settings_.PutByUser(engine::kSettingsApp, line.Word(1), line.Word(2), line.Rest(3));
      } else if (line.Command() == "bar") {
        line.ExpectArguments(1, SIZE_MAX);
        bars_->AddBar(line.Rest(1), false);
      } else {
        line.ExpectArguments(2);
        const double probability = line.Number(1, 0, 1, "probability");
        faults_.Set(probability, line.Unsigned(2, "seed"));
      }
      break;
    case Kind::Sheet:
      RefuseWhileModal(line);
      SheetCommand(line);
      break;
    case Kind::User:
      RefuseWhileModal(line);
      UserCommand(line);
      break;
    case Kind::Dialog:
      if (line.Command() == "pick")
        Pick(line);
      else
        FormCommand(line);
      break;
    case Kind::Loop:
    case Kind::Output:
      EngineCommand(line, out);
      break;
  }
}

// While a form or the colour dialog is shown modally the host's windows take
// no input: nothing the user does reaches them, and the host neither closes
// nor lets its add-ins be unloaded.
void SimSession::RefuseWhileModal(const ScriptLine& line) {
  if (desktop_->ColorDialogShown())
    throw ScriptError("'" + line.Command() +
                      "' needs the host's windows, which are disabled while the colour dialog is shown");
  if (auto form = forms_.ActiveForm())
    throw ScriptError("'" + line.Command() + "' needs the host's windows, which are disabled while " + form->Name() +
                      " is shown");
}

void SimSession::LifecycleCommand(const ScriptLine& line) {
  line.ExpectArguments(0);
  const std::string& cmd = line.Command();
  if (cmd == "start")
    StartHost();
  else if (cmd == "shutdown")
    ShutdownHost();
  else if (cmd == "unload")
    UnloadAddIn();
  else {
    if (connect_) throw ScriptError("the add-in is loaded already");
    Host();
    LoadAddIn(platform::ext_cm_AfterStartup);
  }
}

void SimSession::SheetCommand(const ScriptLine& line) {
  const std::string& cmd = line.Command();
  auto& host = Host();
  if (cmd == "screen") {
    line.ExpectArguments(2);
    const int width = static_cast<int>(line.Whole(1, kScreenLimits.left, kScreenLimits.right, "width"));
    const int height = static_cast<int>(line.Whole(2, kScreenLimits.top, kScreenLimits.bottom, "height"));
    // The host's window fills the screen: its grid keeps its distance from every edge.
    const auto& old = desktop_->Screen();
    const platform::Rect grid{gridRect_.left, gridRect_.top, width - (old.Width() - gridRect_.right),
                              height - (old.Height() - gridRect_.bottom)};
    if (grid.Empty()) throw ScriptError("'screen' leaves no room for the host's grid on a screen that small");
    gridRect_ = grid;
    host.ResizeScreen(width, height, grid);
  } else if (cmd == "grid") {
    Resize(line, false);
  } else if (cmd == "zoom") {
    line.ExpectArguments(1);
    host.SetZoom(static_cast<std::int32_t>(
        line.Whole(1, sim::SheetModel::kMinZoom, sim::SheetModel::kMaxZoom, "zoom percentage")));
  } else if (cmd == "dpi") {
    line.ExpectArguments(1);
    host.SetDpi(static_cast<int>(line.Whole(1, 96, 480, "dots per inch")));
  } else if (cmd == "version") {
    line.ExpectArguments(1);
    if (!IsVersionText(line.Word(1)))
      throw ScriptError(
          "'version' takes the host's version text, a major from 5 and a minor number such as 16.0, not '" +
          line.Word(1) + "'");
    host.Sheet().version = line.Word(1);
  } else if (cmd == "row-height") {
    line.ExpectArguments(2);
    const std::int32_t row = line.Row(1);
    host.SetRowHeight(row, line.Number(2, 0, sim::SheetModel::kMaxRowHeight, "row height in points"));
  } else if (cmd == "col-width") {
    line.ExpectArguments(2);
    const std::int32_t column = line.Column(1);
    host.SetColumnWidth(column, line.Number(2, 0, sim::SheetModel::kMaxColumnWidth, "column width in points"));
  } else {
    line.ExpectArguments(1, SIZE_MAX);
    const sim::CellRef cell = line.Cell(1);
    const std::string text = line.Rest(2);
    if (text.size() > 32767) throw ScriptError("'set' takes a text of at most 32,767 characters, as a cell holds");
    host.SetText(cell, text);
  }
}

void SimSession::Resize(const ScriptLine& line, bool userResizes) {
  line.ExpectArguments(4);
  const platform::Rect rect = line.Rect(desktop_->Screen().Bounds(), "a grid inside the screen");
  gridRect_ = rect;
  if (userResizes)
    Host().MoveGrid(rect);
  else
    Host().PlaceGrid(rect);
}

void SimSession::UserCommand(const ScriptLine& line) {
  const std::string& cmd = line.Command();
  auto& host = Host();
  if (cmd == "click") {
    line.ExpectArguments(1, SIZE_MAX);
    Click(line.Rest(1));
    return;
  }
  if (cmd == "select") {
    line.ExpectArguments(1);
    host.Select(line.Area(1));
  } else if (cmd == "scroll") {
    line.ExpectArguments(2);
    const std::int32_t row = line.Row(1);
    host.Scroll({row, line.Column(2)});
  } else if (cmd == "resize") {
    Resize(line, true);
    return;
  } else {
    line.ExpectArguments(0);
    if (cmd == "select-object")
      host.SelectShape();
    else if (cmd == "activate-sheet")
      host.ActivateSheet();
    else if (cmd == "activate-workbook")
      host.ActivateWorkbook();
    else
      host.Print();
  }
}

void SimSession::EngineCommand(const ScriptLine& line, std::ostream& out) {
  const std::string& cmd = line.Command();
  if (cmd == "gate") {
    line.ExpectArguments(1);
    if (line.Word(1) != "on" && line.Word(1) != "off") throw ScriptError("'gate' takes on or off");
    auto file = bars_->Find("File");
    if (!file || file->controls.size() < 2) throw ScriptError("the host has no \"File\" bar with two controls");
    file->controls[1]->enabled = line.Word(1) == "on" ? platform::kTrue : platform::kFalse;
  } else if (cmd == "tick") {
    line.ExpectArguments(0, 1);
    const auto n = line.Arguments() ? line.Whole(1, 1, 1000, "number of ticks") : 1;
    for (std::int64_t i = 0; i < n; ++i) desktop_->FireTimers();
  } else if (cmd == "snapshot") {
    line.ExpectArguments(1);
    Snapshot(line);
  } else if (cmd == "state") {
    line.ExpectArguments(0);
    desktop_->FlushRepaints();
    out << StateJson() << "\n";
  } else {
    line.ExpectArguments(0);
    Host();
    // The engine's own procedures, run on the band of the connected add-in.
    if (!connect_) throw ScriptError("'" + cmd + "' needs the add-in loaded");
    auto& band = connect_->Band();
    if (cmd == "paint")
      band.PaintRowBand();
    else if (cmd == "switch")
      band.ToggleHighlight();
    else if (cmd == "wober")
      band.ApplyWoberColor();
    else
      band.ApplyWarmColor();
  }
}

// Calls into the add-in the way the host does through COM: a failure comes
// back as the call's result and the host carries on.
template <class Call>
void SimSession::CallAddIn(const char* what, Call call) {
  try {
    call();
  } catch (const platform::PlatformError& e) {
    desktop_->RecordHostError(std::string(what) + ": " + std::to_string(e.Number()) + " " + e.Description());
  }
}

void SimSession::StartHost() {
  if (host_) {
    // The previous run ends without telling the add-in, as when the host is killed.
    connect_.reset();
    workbook_ = host_->Sheet();
    host_->Close();
    host_.reset();
  }
  started_ = true;
  bars_->DropTemporary();
  LoadAddInLibrary();
  host_ = sim::SimHost::Start(*desktop_, bars_, gridRect_, workbook_ ? &*workbook_ : nullptr, &faults_);
  LoadAddIn(platform::ext_cm_Startup);
  CallAddIn("OnStartupComplete", [&] { connect_->OnStartupComplete(); });
}

void SimSession::LoadAddIn(platform::ext_ConnectMode mode) {
  connect_ = std::make_unique<addin::Connect>(*library_);
  auto app = host_->Application();
  CallAddIn("OnConnection", [&] { connect_->OnConnection(app, mode, nullptr); });
}

void SimSession::UnloadAddIn() {
  if (!connect_) throw ScriptError("the add-in is not loaded");
  CallAddIn("OnDisconnection", [&] { connect_->OnDisconnection(platform::ext_dm_UserClosed); });
  connect_.reset();
}

void SimSession::ShutdownHost() {
  Host();
  if (connect_) {
    CallAddIn("OnBeginShutdown", [&] { connect_->OnBeginShutdown(); });
    CallAddIn("OnDisconnection", [&] { connect_->OnDisconnection(platform::ext_dm_HostShutdown); });
    connect_.reset();
  }
  workbook_ = host_->Sheet();
  host_->Close();
  host_.reset();
}

void SimSession::Click(const std::string& name) {
  Host();
  const bool menuOnly = name.rfind("menu:", 0) == 0;
  const std::string caption = menuOnly ? name.substr(5) : name;
  std::shared_ptr<sim::ControlNode> target;
  if (!menuOnly)
    for (const auto& bar : bars_->bars)
      if (bar->name == "Rowtint" && !target) target = FindControl(bar->controls, true, caption);
  if (!target && bars_->activeMenuBar) {
    auto popup = FindControl(bars_->activeMenuBar->controls, false, "Rowtint");
    if (popup && popup->popupBar) target = FindControl(popup->popupBar->controls, false, caption);
  }
  if (!target) throw ScriptError("the host shows no button '" + name + "'");
  for (const auto& failure : bars_->Click(target)) desktop_->RecordHostError("Click: " + failure);
}

// The answer closes the colour dialog that is shown, or waits for the next one.
void SimSession::Pick(const ScriptLine& line) {
  if (line.Arguments() == 1 && line.Word(1) == "cancel") {
    desktop_->AnswerColorDialog(std::nullopt);
    return;
  }
  line.ExpectArguments(3);
  const auto r = line.Whole(1, 0, 255, "red"), g = line.Whole(2, 0, 255, "green"), b = line.Whole(3, 0, 255, "blue");
  desktop_->AnswerColorDialog(static_cast<platform::Color>(r | g << 8 | b << 16));
}

void SimSession::FormCommand(const ScriptLine& line) {
  if (desktop_->ColorDialogShown())
    throw ScriptError("'form' needs the form, which is disabled while the colour dialog is shown");
  auto form = forms_.ActiveForm();
  if (!form) throw ScriptError("no form is shown");
  line.ExpectArguments(1, 2);
  const std::string& action = line.Word(1);
  if (action == "close") {
    line.ExpectArguments(1);
    form->CloseWindow();
    return;
  }
  if (action != "click" && action != "move") throw ScriptError("'form' takes click, move or close");
  line.ExpectArguments(2);
  const std::string control = line.Word(2) == "background" ? "" : line.Word(2);
  bool known = control.empty();
  for (const auto& c : form->Controls()) known = known || c.name == control;
  if (!known) throw ScriptError("the form has no control '" + control + "'");
  desktop_->SetCursor(forms_.ControlCentre(*form, control));
  try {
    if (action == "click")
      form->Click(control);
    else
      form->MouseMove(control);
  } catch (const platform::PlatformError& e) {
    desktop_->RecordHostError(form->Name() + " " + action + " " + line.Word(2) + ": " + std::to_string(e.Number()) +
                              " " + e.Description());
  }
}

void SimSession::Snapshot(const ScriptLine& line) {
  const std::string& file = line.Word(1);
  if (file.size() < 5 || file.substr(file.size() - 4) != ".png" || file.find_first_of("/\\") != std::string::npos)
    throw ScriptError("'snapshot' takes a file name ending in .png, without a folder");
  desktop_->FlushRepaints();
  const auto path = (std::filesystem::path(outDir_.value_or(".")) / file).string();
  if (!desktop_->Screen().WritePng(path)) throw ScriptError("cannot write " + path);
}

}  // namespace rowtint::simcli
