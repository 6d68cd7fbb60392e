// One run of the simulator: a desktop, the host runs on it, the add-in the
// host loads, and the script commands that drive them.
//
// The host's message loop runs on a thread of its own that takes one script
// line at a time; a modal form keeps taking lines inside its own loop, so
// that the caller can go on line by line while a form is shown.
#pragma once

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "addin/connect.h"
#include "platform/sim/sim_command_bars.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_forms_host.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_settings_store.h"

namespace rowtint::simcli {

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SimSession {
 public:
  explicit SimSession(std::string outDir = ".");
  ~SimSession();
  SimSession(const SimSession&) = delete;
  SimSession& operator=(const SimSession&) = delete;

  // Runs one script line (whatever `state` prints goes to out) and returns
  // when the host waits for the next one. Raises ScriptError for a line it cannot read.
  void RunLine(const std::string& line, std::ostream& out);
  void RunScript(std::istream& script, std::ostream& out);

  // For tests, between lines: the pieces of the simulated world.
  sim::SimDesktop& Desktop() { return *desktop_; }
  sim::SimHost& Host();
  addin::Connect* AddIn() { return connect_.get(); }
  sim::SimSettingsStore& Settings() { return settings_; }
  sim::CommandBarStore& Bars() { return *bars_; }
  sim::SimFormsHost& Forms() { return forms_; }

 private:
  // The host's side: its message loop and the commands it carries out.
  void MessageLoop();
  bool PumpOneLine();
  void Execute(const std::string& line, std::ostream& out);
  void HostCommand(const std::string& line, const std::vector<std::string>& words, std::ostream& out);
  void StartHost();
  void ShutdownHost();
  void LoadAddIn(platform::ext_ConnectMode mode);
  void UnloadAddIn();
  void Click(const std::string& name);
  void FormCommand(const std::vector<std::string>& words);
  template <class Call>
  void CallAddIn(const char* what, Call call);
  void Snapshot(const std::string& file);
  std::string StateJson();

  std::string outDir_;
  std::unique_ptr<sim::SimDesktop> desktop_;
  sim::SimSettingsStore settings_;
  sim::SimFormsHost forms_;
  std::shared_ptr<sim::CommandBarStore> bars_;
  std::shared_ptr<sim::SimHost> host_;
  std::optional<sim::SheetModel> workbook_;
  platform::Rect gridRect_ = sim::kDefaultGridRect;
  std::unique_ptr<addin::Connect> connect_;
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
