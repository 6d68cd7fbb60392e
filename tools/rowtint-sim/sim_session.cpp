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
  DropConnections();
  if (host_) host_->Close();
  host_.reset();
  desktop_->DropHeldTimers();
  library_.reset();
}

// A new host process loads the add-in's library afresh: its band
// starts at zero and no form exists yet.
void SimSession::LoadAddInLibrary() {
  auto& os = *desktop_;
  // A timer message held for the old library's band names a callback about to go.
  os.DropHeldTimers();
  library_.reset();
  forms_.LibraryGone();
  library_ = std::make_unique<addin::Library>(
      engine::Services{os, os, os, os, os, settings_, forms_, diagnostics_, os, os, ownKey_});
}

// With nothing else to do the message loop dispatches what was posted, lets
// the windows repaint what is invalid, and the host shows its bars as they now stand.
void SimSession::Idle() {
  if (host_) host_->RepaintCommandBars();
  // At the end of every line a composed renderer redraws the grid from its own picture.
  if (host_) host_->RedrawOwnPicture();
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

std::optional<std::string> SimSession::ShownForm() {
  if (auto form = forms_.ActiveForm()) return form->Name();
  return std::nullopt;
}

void SimSession::SetThreadDpi(bool systemAware) {
  desktop_->SetHostThreadDpi(systemAware ? sim::SimDesktop::ThreadDpi::System : sim::SimDesktop::ThreadDpi::PerMonitor);
}

void SimSession::SetRenderer(script::Renderer renderer) {
  using R = sim::SimHost::Renderer;
  renderer_ = renderer == script::Renderer::Composed ? R::Composed
              : renderer == script::Renderer::Flip   ? R::Flip
                                                     : R::Gdi;
  if (Host().CurrentRenderer() != renderer_) host_->SetRenderer(renderer_);
}

void SimSession::PutSetting(const script::Setting& setting) {
  settings_.PutByUser(engine::kSettingsApp, setting.section, setting.key, setting.text);
}

// The engine's own procedures, run on the band of the connected add-in.
void SimSession::CallEngine(const script::Command& command) {
  Host();
  if (!connect_) throw ScriptError("'" + command.word + "' needs the add-in loaded");
  auto& band = connect_->Band();
  switch (command.verb) {
    case script::Verb::Paint:
      band.PaintRowBand();
      break;
    case script::Verb::Switch:
      band.ToggleHighlight();
      break;
    case script::Verb::Wober:
      band.ApplyWoberColor();
      break;
    default:
      band.ApplyWarmColor();
      break;
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

void SimSession::DropConnections() {
  ribbon_.Disconnected();
  connect_.reset();
  kept_.reset();
}

void SimSession::StartHost() {
  if (host_) {
    // The previous run ends without telling the add-in, as when the host is killed.
    DropConnections();
    workbook_ = host_->Sheet();
    host_->Close();
    host_.reset();
  }
  started_ = true;
  bars_->DropTemporary();
  LoadAddInLibrary();
  host_ = sim::SimHost::Start(*desktop_, bars_, gridRect_, workbook_ ? &*workbook_ : nullptr, &faults_);
  if (renderer_ != host_->CurrentRenderer()) host_->SetRenderer(renderer_);
  LoadAddIn(platform::ext_cm_Startup);
  CallAddIn("OnStartupComplete", [&] { connect_->OnStartupComplete(); });
}

void SimSession::LoadAddIn(platform::ext_ConnectMode mode) {
  connect_ = std::make_unique<addin::Connect>(*library_);
  auto app = host_->Application();
  CallAddIn("OnConnection", [&] { connect_->OnConnection(app, mode, nullptr); });
  // The object an `unload keep` held on to goes once the new connection is made.
  kept_.reset();
  ribbon_.Connected(*connect_, host_->Sheet().version);
}

void SimSession::Unload(bool keep) {
  CallAddIn("OnDisconnection", [&] { connect_->OnDisconnection(platform::ext_dm_UserClosed); });
  ribbon_.Disconnected();
  if (keep)
    kept_ = std::move(connect_);
  else
    connect_.reset();
  FreeUnusedLibrary();
}

void SimSession::Release() {
  kept_.reset();
  FreeUnusedLibrary();
}

void SimSession::FreeUnusedLibrary() {
  if (connect_ || kept_ || forms_.KeepsFormWindows()) return;
  LoadAddInLibrary();
}

void SimSession::ShutdownHost() {
  if (connect_) {
    CallAddIn("OnBeginShutdown", [&] { connect_->OnBeginShutdown(); });
    CallAddIn("OnDisconnection", [&] { connect_->OnDisconnection(platform::ext_dm_HostShutdown); });
  }
  DropConnections();
  workbook_ = host_->Sheet();
  host_->Close();
  host_.reset();
}

void SimSession::WorkForm(const script::FormAction& action) {
  auto form = forms_.ActiveForm();
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
    const char* what = action.kind == script::FormAction::Kind::Click ? " click " : " move ";
    desktop_->RecordHostError(form->Name() + what + (action.control.empty() ? "background" : action.control) + ": " +
                              std::to_string(e.Number()) + " " + e.Description());
  }
}

void SimSession::WriteSnapshot(const std::string& file) {
  const auto path = (std::filesystem::path(outDir_.value_or(".")) / file).string();
  if (!desktop_->Shown().WritePng(path)) throw ScriptError("cannot write " + path);
}

}  // namespace rowtint::simcli
