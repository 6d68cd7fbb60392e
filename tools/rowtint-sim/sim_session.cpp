#include "sim_session.h"

#include <filesystem>
#include <sstream>
#include <vector>

#include "addin/library_state.h"
#include "engine/addin_settings.h"
#include "engine/band_commands.h"
#include "engine/failure_styles.h"
#include "engine/highlight_state.h"
#include "engine/paint_row_band.h"
#include "engine/platform_services.h"

namespace rowtint::simcli {
namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

int Int(const std::vector<std::string>& w, std::size_t i) {
  if (i >= w.size()) throw ScriptError("'" + w[0] + "' needs more arguments");
  try {
    std::size_t used = 0;
    int v = std::stoi(w[i], &used);
    if (used != w[i].size()) throw std::invalid_argument(w[i]);
    return v;
  } catch (const std::exception&) {
    throw ScriptError("'" + w[i] + "' is not a whole number");
  }
}

double Number(const std::vector<std::string>& w, std::size_t i) {
  if (i >= w.size()) throw ScriptError("'" + w[0] + "' needs more arguments");
  try {
    return std::stod(w[i]);
  } catch (const std::exception&) {
    throw ScriptError("'" + w[i] + "' is not a number");
  }
}

platform::Rect RectArg(const std::vector<std::string>& w) { return {Int(w, 1), Int(w, 2), Int(w, 3), Int(w, 4)}; }

sim::Area AreaArg(const std::vector<std::string>& w) {
  if (w.size() < 2) throw ScriptError("'" + w[0] + "' needs an address");
  auto area = sim::ParseArea(w[1]);
  if (!area) throw ScriptError("'" + w[1] + "' is not a cell address");
  return *area;
}

// The text after the first n words of a line, as written.
std::string RestAfterWords(const std::string& line, int n) {
  std::size_t pos = 0;
  for (int i = 0; i < n; ++i) {
    pos = line.find_first_not_of(" \t", pos);
    pos = line.find_first_of(" \t", pos);
    if (pos == std::string::npos) return "";
  }
  pos = line.find_first_not_of(" \t", pos);
  return pos == std::string::npos ? "" : line.substr(pos);
}

std::string StripComment(const std::string& line) {
  auto hash = line.find('#');
  return hash == std::string::npos ? line : line.substr(0, hash);
}

// The store's file under the output folder; every script starts with it empty.
std::string SettingsFileIn(const std::string& outDir) {
  std::filesystem::create_directories(outDir);
  return (std::filesystem::path(outDir) / "settings.txt").string();
}

std::shared_ptr<sim::ControlNode> FindControl(const std::vector<std::shared_ptr<sim::ControlNode>>& controls,
                                              bool byTooltip, const std::string& name) {
  for (const auto& c : controls)
    if ((byTooltip ? c->tooltip : c->caption) == name) return c;
  return nullptr;
}
}  // namespace

SimSession::SimSession(std::string outDir)
    : outDir_(std::move(outDir)),
      desktop_(std::make_unique<sim::SimDesktop>(1280, 800)),
      settings_(SettingsFileIn(outDir_)),
      forms_(*desktop_, [this] { return PumpOneLine(); }),
      bars_(std::make_shared<sim::CommandBarStore>()) {
  addin::ResetLibraryState();
  engine::BindPlatform({desktop_.get(), &settings_, &forms_});
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
  addin::ResetLibraryState();
  engine::BindPlatform({});
}

bool SimSession::PumpOneLine() {
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

void SimSession::Execute(const std::string& rawLine, std::ostream& out) {
  const std::string line = StripComment(rawLine);
  const auto w = Words(line);
  if (w.empty()) return;
  const std::string& cmd = w[0];

  // A script begins before the host's first start, and starts it itself
  // unless it first prepares the store or the host's bars.
  if (!started_ && cmd != "setting" && cmd != "bar" && cmd != "start") StartHost();

  if (cmd == "start") StartHost();
  else if (cmd == "shutdown") ShutdownHost();
  else if (cmd == "unload") UnloadAddIn();
  else if (cmd == "load") {
    if (connect_) throw ScriptError("the add-in is loaded already");
    Host();
    LoadAddIn(platform::ext_cm_AfterStartup);
  } else if (cmd == "setting") {
    if (w.size() < 3) throw ScriptError("'setting' needs a section, a key and a text");
    settings_.SaveSetting(engine::kSettingsApp, w[1], w[2], RestAfterWords(line, 3));
  } else if (cmd == "bar") {
    if (w.size() < 2) throw ScriptError("'bar' needs a name");
    bars_->AddBar(RestAfterWords(line, 1), false);
  } else if (cmd == "click") {
    if (w.size() < 2) throw ScriptError("'click' needs a button");
    Click(RestAfterWords(line, 1));
  } else if (cmd == "pick") {
    if (w.size() == 2 && w[1] == "cancel") desktop_->SetNextColorAnswer(std::nullopt);
    else {
      const int r = Int(w, 1), g = Int(w, 2), b = Int(w, 3);
      desktop_->SetNextColorAnswer(r | g << 8 | b << 16);
    }
  } else if (cmd == "form") FormCommand(w);
  else HostCommand(line, w, out);
  if (host_) host_->RepaintCommandBars();  // the host shows its bars as they now stand
  desktop_->FlushRepaints();
}

void SimSession::HostCommand(const std::string& line, const std::vector<std::string>& w, std::ostream& out) {
  const std::string& cmd = w[0];
  auto& host = Host();

  if (cmd == "screen") host.ResizeScreen(Int(w, 1), Int(w, 2));
  else if (cmd == "grid") {
    gridRect_ = RectArg(w);
    host.PlaceGrid(gridRect_);
  } else if (cmd == "resize") {
    gridRect_ = RectArg(w);
    host.MoveGrid(gridRect_);
  } else if (cmd == "zoom") host.SetZoom(Int(w, 1));
  else if (cmd == "dpi") {
    const int dpi = Int(w, 1);
    if (dpi < 48 || dpi > 480) throw ScriptError("'dpi' takes 48 to 480");
    host.SetDpi(dpi);
  }
  else if (cmd == "version") {
    if (w.size() < 2) throw ScriptError("'version' needs a text");
    host.Sheet().version = RestAfterWords(line, 1);
  } else if (cmd == "row-height") host.SetRowHeight(Int(w, 1), Number(w, 2));
  else if (cmd == "col-width") {
    auto column = w.size() > 1 ? sim::ParseColumn(w[1]) : std::nullopt;
    if (!column) throw ScriptError("'col-width' needs a column letter or number");
    host.SetColumnWidth(*column, Number(w, 2));
  } else if (cmd == "set") host.SetText(AreaArg(w).first, RestAfterWords(line, 2));
  else if (cmd == "select") host.Select(AreaArg(w));
  else if (cmd == "select-object") host.SelectShape();
  else if (cmd == "scroll") host.Scroll({Int(w, 1), Int(w, 2)});
  else if (cmd == "activate-sheet") host.ActivateSheet();
  else if (cmd == "activate-workbook") host.ActivateWorkbook();
  else if (cmd == "print") host.Print();
  else if (cmd == "gate") {
    if (w.size() < 2 || (w[1] != "on" && w[1] != "off")) throw ScriptError("'gate' takes on or off");
    auto file = bars_->Find("File");
    if (!file || file->controls.size() < 2) throw ScriptError("the host has no \"File\" bar with two controls");
    file->controls[1]->enabled = w[1] == "on" ? platform::kTrue : platform::kFalse;
  } else if (cmd == "tick") {
    const int n = w.size() > 1 ? Int(w, 1) : 1;
    for (int i = 0; i < n; ++i) desktop_->FireTimers();
  } else if (cmd == "paint") engine::PaintRowBand();
  else if (cmd == "switch") engine::ToggleHighlight();
  else if (cmd == "wober") engine::ApplyWoberColor();
  else if (cmd == "warm") engine::ApplyWarmColor();
  else if (cmd == "snapshot") {
    if (w.size() < 2) throw ScriptError("'snapshot' needs a file name");
    desktop_->FlushRepaints();
    Snapshot(w[1]);
  } else if (cmd == "state") {
    desktop_->FlushRepaints();
    out << StateJson() << "\n";
  } else {
    throw ScriptError("unknown command '" + cmd + "'");
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
  addin::ResetLibraryState();  // a new host process loads the library afresh
  host_ = sim::SimHost::Start(*desktop_, bars_, gridRect_, workbook_ ? &*workbook_ : nullptr);
  LoadAddIn(platform::ext_cm_Startup);
  CallAddIn("OnStartupComplete", [&] { connect_->OnStartupComplete(); });
}

void SimSession::LoadAddIn(platform::ext_ConnectMode mode) {
  connect_ = std::make_unique<addin::Connect>();
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

void SimSession::FormCommand(const std::vector<std::string>& w) {
  auto form = forms_.ActiveForm();
  if (!form) throw ScriptError("no form is shown");
  if (w.size() < 2) throw ScriptError("'form' takes click, move or close");
  if (w[1] == "close") {
    form->CloseWindow();
    return;
  }
  if (w.size() < 3 || (w[1] != "click" && w[1] != "move")) throw ScriptError("'form' takes click, move or close");
  const std::string control = w[2] == "background" ? "" : w[2];
  bool known = control.empty();
  for (const auto& c : form->Controls()) known = known || c.name == control;
  if (!known) throw ScriptError("the form has no control '" + control + "'");
  desktop_->SetCursor(forms_.ControlCentre(*form, control));
  try {
    if (w[1] == "click") form->Click(control);
    else form->MouseMove(control);
  } catch (const platform::PlatformError& e) {
    desktop_->RecordHostError(form->Name() + " " + w[1] + " " + w[2] + ": " + std::to_string(e.Number()) + " " +
                              e.Description());
  }
}

void SimSession::Snapshot(const std::string& file) {
  const auto path = (std::filesystem::path(outDir_) / file).string();
  if (!desktop_->Screen().WritePng(path)) throw ScriptError("cannot write " + path);
}

}  // namespace rowtint::simcli
