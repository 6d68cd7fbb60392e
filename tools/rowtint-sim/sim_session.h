// One run of the simulator: a desktop, the host on it, the add-in
// connected to the host, and the script commands that drive them.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "addin/connect.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_host.h"

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

  // Runs one script line; `state` writes to out. Raises ScriptError for a line it cannot read.
  void RunLine(const std::string& line, std::ostream& out);
  // Runs a whole script; returns the number of the failing line's error or throws.
  void RunScript(std::istream& script, std::ostream& out);

  std::string StateJson();

  sim::SimDesktop& Desktop() { return *desktop_; }
  sim::SimHost& Host() { return *host_; }
  addin::Connect& AddIn() { return *connect_; }

 private:
  void ConnectAsAtHostStart();
  void Snapshot(const std::string& file);

  std::string outDir_;
  std::unique_ptr<sim::SimDesktop> desktop_;
  std::shared_ptr<sim::SimHost> host_;
  std::unique_ptr<addin::Connect> connect_;
};

}  // namespace rowtint::simcli
