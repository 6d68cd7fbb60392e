// The simulated host's command bars: a store of bars and controls, and the
// automation objects through which an add-in sees them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/command_bars.h"
#include "platform/sim/host_faults.h"

namespace rowtint::sim {

struct BarNode;

struct ControlNode {
  std::int32_t type = platform::kMsoControlButton;
  std::string caption;
  std::string tooltip;
  std::string parameter;
  std::string tag;
  std::int32_t id = 1;  // what a button added without an Id gets
  std::int32_t style = 0;
  std::int32_t faceId = 0;
  platform::VbBool beginGroup = platform::kFalse;
  platform::VbBool enabled = platform::kTrue;
  bool temporary = false;
  bool deleted = false;
  bool added = false;  // by an add-in, through Controls.Add
  // In a workbook window's copy of the controls: the control it copies.
  std::weak_ptr<ControlNode> copyOf;
  std::shared_ptr<BarNode> popupBar;
  std::vector<platform::ButtonEvents*> clickSinks;
};

struct BarNode {
  std::string name;
  bool temporary = false;
  bool visible = false;
  bool menuBar = false;
  std::int32_t protection = 0;
  bool deleted = false;
  bool refusesNewControls = false;  // the host refuses Controls.Add on this bar
  std::vector<std::shared_ptr<ControlNode>> controls;
};

class CommandBarStore : public std::enable_shared_from_this<CommandBarStore> {
 public:
  CommandBarStore();  // the host's own bars: "Worksheet Menu Bar" (active), "File", "Standard"

  std::vector<std::shared_ptr<BarNode>> bars;
  std::shared_ptr<BarNode> activeMenuBar;
  bool refusesNewBars = false;   // the host refuses CommandBars.Add
  HostFaults* faults = nullptr;  // makes the add-in's calls fail while set

  // One call of an add-in into the bars: counted, and failing while the host is made busy.
  void Called(std::uint64_t* calls) {
    ++*calls;
    if (faults) faults->MaybeFail();
  }

  std::shared_ptr<BarNode> Find(const std::string& name) const;
  std::shared_ptr<BarNode> AddBar(const std::string& name, bool temporary);
  // A new host run keeps the bars and controls that were not added as temporary.
  void DropTemporary();
  // Raises Click, as Office does, on the event-bound references of every
  // button with the clicked one's Id and Tag; returns the failures the
  // handlers handed back to the host.
  std::vector<std::string> Click(const std::shared_ptr<ControlNode>& control);
  // How often the add-in's handler of each button ran, by the button's click
  // name (its tooltip, or "menu:" and its caption inside a popup).
  std::map<std::string, int> clicksHandled;
  // From version 15 on each workbook window holds its own copy of the
  // controls add-ins added, made as the window opens, by the workbook's id.
  // The first window shows `bars` themselves, which stay the application's
  // when that window closes.
  std::map<int, std::vector<std::shared_ptr<BarNode>>> windowCopies;
  void CopyIntoWindow(int window);
  void DropWindow(int window) { windowCopies.erase(window); }
  void DropWindowCopies() { windowCopies.clear(); }
  // The bars as a window shows the add-ins' controls: its copies, or the store's own.
  const std::vector<std::shared_ptr<BarNode>>& BarsOf(int window) const;
  // Deletes a bar as Office does: it goes from every window with the copies
  // of its controls, and references kept to it or its controls stop answering.
  void DeleteBar(const std::shared_ptr<BarNode>& bar);
  // Takes a deleted control out wherever it stands, and its copies out of
  // every window, as deleting a shared control does in Office.
  void Remove(const std::shared_ptr<ControlNode>& control);
  // Every control, on the bars and inside their popups, then the windows' copies.
  std::vector<std::shared_ptr<ControlNode>> AllControls() const;
  std::string ClickName(const ControlNode& control) const;
  // A popup control with a bar of its own, captioned.
  static std::shared_ptr<ControlNode> NewPopup(const std::string& caption);
  // A button as the clicked object a Click event carries, counting no call of an add-in.
  std::shared_ptr<platform::CommandBarButton> UncountedButton(const std::shared_ptr<ControlNode>& node);

  // The automation object through which an add-in sees the store.
  std::shared_ptr<platform::CommandBars> Automation(std::uint64_t* callCounter);
  // One of the store's controls as a button, or null when it is a popup; no call of an add-in.
  static std::shared_ptr<platform::CommandBarButton> ButtonOf(
      const std::shared_ptr<platform::CommandBarControl>& control);
};

}  // namespace rowtint::sim
