// Office's command bars as the stand-in hands them out through IDispatch,
// over the simulator's store of bars and controls. Each control keeps one
// automation object for its life, so that the Click sinks advised on it
// are the ones its clicks reach.
#pragma once

#include <map>
#include <memory>

#include "fake_office.h"
#include "platform/sim/sim_command_bars.h"

namespace rowtint::host {

class HostCommandBars {
 public:
  explicit HostCommandBars(std::shared_ptr<sim::CommandBarStore> store);
  HostCommandBars(const HostCommandBars&) = delete;
  HostCommandBars& operator=(const HostCommandBars&) = delete;

  sim::CommandBarStore& Store() { return *store_; }
  // The CommandBars collection, made for each call as Office does.
  win32::ComPtr<IDispatch> Automation();
  // Raises Click on the control's advised sinks, as the user's click does;
  // the HRESULT of the last sink (S_OK when none listens).
  HRESULT Click(const std::shared_ptr<sim::ControlNode>& control);
  // Sinks advised on the control's Click.
  int ClickSinks(const std::shared_ptr<sim::ControlNode>& control);
  // A new host run: temporary bars and controls go, and every sink with them.
  void NewRun();
  // References to the control objects that others still hold.
  long OutstandingReferences() const;
  long CachedObjects() const { return static_cast<long>(controls_.size()); }

 private:
  win32::ComPtr<win32::fakes::FakeDispatch> BarObject(const std::shared_ptr<sim::BarNode>& bar);
  win32::ComPtr<win32::fakes::FakeDispatch> ControlsObject(const std::shared_ptr<sim::BarNode>& bar);
  win32::ComPtr<win32::fakes::FakeDispatch> ControlObject(const std::shared_ptr<sim::ControlNode>& control);
  void Forget(const sim::ControlNode* control);

  std::shared_ptr<sim::CommandBarStore> store_;
  std::map<const sim::ControlNode*, win32::ComPtr<win32::fakes::FakeDispatch>> controls_;
};

}  // namespace rowtint::host
