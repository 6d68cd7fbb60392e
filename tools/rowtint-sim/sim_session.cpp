#include "sim_session.h"

#include <filesystem>

#include "engine/addin_settings.h"
#include "platform/error.h"

namespace rowtint::simcli {

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
  ribbon_.Disconnected();
  connect_.reset();
  if (host_) host_->Close();
  host_.reset();
  library_.reset();
}

// A new host process loads the add-in's library afresh: its band
// starts at zero and no form exists yet.
void SimSession::LoadAddInLibrary() {
  auto& os = *desktop_;
  library_.reset();
  library_ =
      std::make_unique<addin::Library>(engine::Services{os, os, os, os, os, settings_, forms_, diagnostics_, os});
}

// With nothing else to do the message loop dispatches what was posted, lets
// the windows repaint what is invalid, and the host shows its bars as they now stand.
void SimSession::Idle() {
  if (host_) host_->RepaintCommandBars();
  ribbon_.Refresh();
  for (const auto& error : ribbon_.TakeErrors()) desktop_->RecordHostError(error);
  desktop_->DrainMessages();
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

void SimSession::Execute(const std::string& text, std::ostream& out) { script::Execute(text, *this, out); }

void SimSession::Own(const ScriptLine& line, script::Kind kind, std::ostream& out) {
  switch (kind) {
    case script::Kind::Prepare:
      if (line.Command() == "setting") {
        line.ExpectArguments(2, SIZE_MAX);
        settings_.PutByUser(engine::kSettingsApp, line.Word(1), line.Word(2), line.Rest(3));
      } else {
        line.ExpectArguments(2);
        const double probability = line.Number(1, 0, 1, "probability");
        faults_.Set(probability, line.Unsigned(2, "seed"));
      }
      break;
    case script::Kind::Sheet:
      ScreenCommand(line);
      break;
    case script::Kind::User:
      if (line.Command() == "away" || line.Command() == "back") {
        DesktopCommand(line);
        break;
      }
      Host();
      line.ExpectArguments(1, SIZE_MAX);
      Click(line.Rest(1));
      break;
    case script::Kind::Desktop:
      DesktopCommand(line);
      break;
    case script::Kind::Dialog:
      if (line.Command() == "pick")
        Pick(line);
      else
        FormCommand(line);
      break;
    default:
      EngineCommand(line, out);
      break;
  }
}

void SimSession::RefuseWhileModal(const ScriptLine& line) {
  if (desktop_->ColorDialogShown())
    throw ScriptError("'" + line.Command() +
                      "' needs the host's windows, which are disabled while the colour dialog is shown");
  if (auto form = forms_.ActiveForm())
    throw ScriptError("'" + line.Command() + "' needs the host's windows, which are disabled while " + form->Name() +
                      " is shown");
}

void SimSession::Load() {
  if (connect_) throw ScriptError("the add-in is loaded already");
  Host();
  LoadAddIn(platform::ext_cm_AfterStartup);
}

void SimSession::EngineCommand(const ScriptLine& line, std::ostream& out) {
  const std::string& cmd = line.Command();
  if (cmd == "tick") {
    line.ExpectArguments(0, 1);
    const auto n = line.Arguments() ? line.Whole(1, 1, 1000, "number of ticks") : 1;
    for (std::int64_t i = 0; i < n; ++i) desktop_->FireTimers();
  } else if (cmd == "snapshot") {
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
    ribbon_.Disconnected();
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
  ribbon_.Connected(*connect_, host_->Sheet().version);
}

void SimSession::UnloadAddIn() {
  if (!connect_) throw ScriptError("the add-in is not loaded");
  CallAddIn("OnDisconnection", [&] { connect_->OnDisconnection(platform::ext_dm_UserClosed); });
  ribbon_.Disconnected();
  connect_.reset();
}

void SimSession::ShutdownHost() {
  Host();
  if (connect_) {
    CallAddIn("OnBeginShutdown", [&] { connect_->OnBeginShutdown(); });
    CallAddIn("OnDisconnection", [&] { connect_->OnDisconnection(platform::ext_dm_HostShutdown); });
    ribbon_.Disconnected();
    connect_.reset();
  }
  workbook_ = host_->Sheet();
  host_->Close();
  host_.reset();
}

void SimSession::Click(const std::string& name) {
  Host();
  const auto target = script::FindButton(*bars_, host_->Model().BarsWindow(), name);
  for (const auto& failure : bars_->Click(target)) desktop_->RecordHostError("Click: " + failure);
}

// The answer closes the colour dialog that is shown, or waits for the next one.
void SimSession::Pick(const ScriptLine& line) { desktop_->AnswerColorDialog(script::ColorAnswer(line)); }

void SimSession::FormCommand(const ScriptLine& line) {
  if (desktop_->ColorDialogShown())
    throw ScriptError("'form' needs the form, which is disabled while the colour dialog is shown");
  auto form = forms_.ActiveForm();
  if (!form) throw ScriptError("no form is shown");
  const auto action = script::ParseFormAction(line);
  if (action.kind == script::FormAction::Kind::Close) {
    form->CloseWindow();
    return;
  }
  bool known = action.control.empty();
  for (const auto& c : form->Controls()) known = known || c.name == action.control;
  if (!known) throw ScriptError("the form has no control '" + action.control + "'");
  desktop_->SetCursor(forms_.ControlCentre(*form, action.control));
  try {
    if (action.kind == script::FormAction::Kind::Click)
      form->Click(action.control);
    else
      form->MouseMove(action.control);
  } catch (const platform::PlatformError& e) {
    desktop_->RecordHostError(form->Name() + " " + line.Word(1) + " " + line.Word(2) + ": " +
                              std::to_string(e.Number()) + " " + e.Description());
  }
}

void SimSession::Snapshot(const ScriptLine& line) {
  const std::string file = script::SnapshotName(line);
  desktop_->FlushRepaints();
  const auto path = (std::filesystem::path(outDir_.value_or(".")) / file).string();
  if (!desktop_->Screen().WritePng(path)) throw ScriptError("cannot write " + path);
}

}  // namespace rowtint::simcli
