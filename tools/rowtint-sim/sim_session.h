// One run of the simulator: a desktop, the host runs on it, the add-in the
// host loads, and the script commands that drive them.
//
// The host's message loop runs on a thread of its own that takes one script
// line at a time; a modal form or the colour dialog keeps taking lines inside
// its own loop, so that the caller can go on line by line while one is shown.
#pragma once

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include "addin/connect.h"
#include "platform/sim/host_faults.h"
#include "platform/sim/sim_command_bars.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_forms_host.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_own_key.h"
#include "platform/sim/sim_settings_store.h"
#include "script_commands.h"
#include "script_line.h"
#include "sim_ribbon.h"

namespace rowtint::simcli {

using script::ScriptError;
using script::ScriptLine;

class SimSession : private script::ScriptHost {
 public:
  // Snapshots and the settings store's file go to outDir; without one the
  // store lives in memory only and snapshots go to the current folder.
  explicit SimSession(std::optional<std::string> outDir = std::nullopt);
  ~SimSession() override;
  SimSession(const SimSession&) = delete;
  SimSession& operator=(const SimSession&) = delete;

  // Runs one script line (whatever `state` prints goes to out) and returns
  // when the host waits for the next one. Raises ScriptError for a line it
  // cannot carry out; anything else that escapes the add-in or the host is
  // raised as it came.
  void RunLine(const std::string& line, std::ostream& out);
  // Raises ScriptError naming the line that failed.
  void RunScript(std::istream& script, std::ostream& out);

  // For tests, between lines: the pieces of the simulated world.
  sim::SimDesktop& Desktop() { return *desktop_; }
  sim::SimHost& Host();
  bool HostRunning() const { return host_ != nullptr; }
  addin::Connect* AddIn() { return connect_.get(); }
  // The connection object an `unload keep` holds on to, until `release` or the next connection.
  addin::Connect* KeptConnection() { return kept_.get(); }
  // The add-in's group as the host's ribbon shows it.
  const sim::RibbonModel& RibbonShown() { return ribbon_.Model(); }
  // What the add-in's library keeps: the shared highlight state and the forms.
  addin::Library& Library() { return *library_; }
  sim::SimSettingsStore& Settings() { return settings_; }
  sim::SimOwnKey& OwnKey() { return ownKey_; }
  sim::CommandBarStore& Bars() override { return *bars_; }
  sim::SimFormsHost& Forms() { return forms_; }
  const sim::HostFaults& Faults() const { return faults_; }

 private:
  // The host's side: its message loop and the commands it carries out.
  void MessageLoop();
  bool PumpOneLine();
  void Idle();
  void Execute(const std::string& line, std::ostream& out);
  // What the shared script commands ask of this program.
  bool Started() const override { return started_; }
  void Start() override { StartHost(); }
  void Shutdown() override { ShutdownHost(); }
  bool Loaded() const override { return connect_ != nullptr; }
  bool Kept() const override { return kept_ != nullptr; }
  void Load() override { LoadAddIn(platform::ext_cm_AfterStartup); }
  void Unload(bool keep) override;
  void Release() override;
  sim::ExcelModel& Model() override { return Host().Model(); }
  sim::RibbonModel& Ribbon() override { return ribbon_.Model(); }
  platform::Rect ScreenBounds() override { return desktop_->Screen().Bounds(); }
  void KeepGrid(const platform::Rect& grid) override { gridRect_ = grid; }
  bool ColorDialogShown() override { return desktop_->ColorDialogShown(); }
  std::optional<std::string> ShownForm() override;
  void RecordError(const std::string& what) override { desktop_->RecordHostError(what); }
  void PutSetting(const script::Setting& setting) override;
  void PutSurface(const std::string& choice) override { ownKey_.texts["Surface"] = choice; }
  void SetRenderer(script::Renderer renderer) override;
  void MoveMainWindow(int dx, int dy) override { Host().MoveMainWindow(dx, dy); }
  void SetFaults(const script::Faults& faults) override { faults_.Set(faults.probability, faults.seed); }
  void SetScreen(const script::ScreenSize& size) override;
  void SetDpi(int dpi) override { Host().SetDpi(dpi); }
  bool Away() override { return Host().IsAway(); }
  void GoAway() override { Host().Away(script::kAwayWindow, script::kAwayFill); }
  void ComeBack() override { Host().Back(); }
  bool Covered() override { return Host().IsCovered(); }
  void Cover(const platform::Rect& rect) override { Host().Cover(rect, script::kCoverFill); }
  void Uncover() override { Host().Uncover(); }
  // The answer closes the colour dialog that is shown, or waits for the next one.
  void Pick(std::optional<platform::Color> answer) override { desktop_->AnswerColorDialog(answer); }
  void WorkForm(const script::FormAction& action) override;
  void SetThreadDpi(bool systemAware) override;
  // A composed renderer has redrawn the grid from its own picture before the timer's message comes.
  void Tick() override {
    if (host_) host_->RedrawOwnPicture();
    desktop_->FireTimers();
  }
  void HoldTick() override { desktop_->HoldDueTimers(); }
  bool TickHeld() override { return desktop_->TimersHeld(); }
  void CallEngine(const script::Command& command) override;
  void Settle() override { desktop_->FlushRepaints(); }
  void WriteSnapshot(const std::string& file) override;
  std::string StateJson() override;
  void LoadAddInLibrary();
  void StartHost();
  void ShutdownHost();
  void LoadAddIn(platform::ext_ConnectMode mode);
  // The connection objects go, the kept one too, without being told: the host has ended.
  void DropConnections();
  // As COM frees a single-threaded apartment's unused library at once when
  // the host asks: with no connection object and no window of its own left,
  // the add-in's library goes, and the next connection loads it afresh.
  void FreeUnusedLibrary();
  template <class Call>
  void CallAddIn(const char* what, Call call);
  std::string ForegroundOwner() const;

  std::optional<std::string> outDir_;
  std::unique_ptr<sim::SimDesktop> desktop_;
  sim::SimSettingsStore settings_;
  sim::SimFormsHost forms_;
  sim::HostFaults faults_;
  std::shared_ptr<sim::CommandBarStore> bars_;
  std::shared_ptr<sim::SimHost> host_;
  std::optional<sim::SheetModel> workbook_;
  platform::Rect gridRect_ = sim::kDefaultGridRect;
  // How the host gets its grids onto the screen, kept across its runs.
  sim::SimHost::Renderer renderer_ = sim::SimHost::Renderer::Gdi;
  platform::NoDiagnostics diagnostics_;
  // The add-in's own key, which the user sets by hand; it outlives the host's runs.
  sim::SimOwnKey ownKey_;
  std::unique_ptr<addin::Library> library_;
  std::unique_ptr<addin::Connect> connect_;
  // A connection object disconnected by `unload keep`, alive until `release` or the next connection.
  std::unique_ptr<addin::Connect> kept_;
  SimRibbon ribbon_;
  bool started_ = false;

  // Hand-over of lines between the caller and the message loop.
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::pair<std::string, std::ostream*>> pending_;
  bool busy_ = true;
  bool quitting_ = false;
  std::exception_ptr failure_;
  std::thread loop_;
};

}  // namespace rowtint::simcli
