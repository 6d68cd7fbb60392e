// The store of the simulated host's bars and controls, and the clicks it
// raises as Office does.
#include "platform/error.h"
#include "platform/sim/sim_command_bars.h"

namespace rowtint::sim {
namespace {
// One of the host's own buttons, each with an Id of its own.
std::shared_ptr<ControlNode> Button(const std::string& caption, std::int32_t id) {
  auto c = std::make_shared<ControlNode>();
  c->caption = caption;
  c->id = id;
  return c;
}
}  // namespace

std::shared_ptr<ControlNode> CommandBarStore::NewPopup(const std::string& caption) {
  auto c = std::make_shared<ControlNode>();
  c->type = platform::kMsoControlPopup;
  c->caption = caption;
  c->popupBar = std::make_shared<BarNode>();
  c->popupBar->name = caption;
  return c;
}

CommandBarStore::CommandBarStore() {
  auto menu = AddBar("Worksheet Menu Bar", false);
  menu->menuBar = true;
  menu->visible = true;
  for (const char* caption : {"&File", "&Edit", "&View", "&Insert", "F&ormat", "&Tools", "&Data", "&Window", "&Help"})
    menu->controls.push_back(NewPopup(caption));
  activeMenuBar = menu;
  std::int32_t id = 2;
  auto file = AddBar("File", false);
  for (const char* caption : {"&New...", "&Open...", "&Close", "&Save"})
    file->controls.push_back(Button(caption, id++));
  auto standard = AddBar("Standard", false);
  standard->visible = true;
  for (const char* caption : {"New", "Open", "Save", "Print"}) standard->controls.push_back(Button(caption, id++));
}

std::shared_ptr<BarNode> CommandBarStore::Find(const std::string& name) const {
  for (const auto& bar : bars)
    if (bar->name == name) return bar;
  return nullptr;
}

std::shared_ptr<BarNode> CommandBarStore::AddBar(const std::string& name, bool temporary) {
  auto bar = std::make_shared<BarNode>();
  bar->name = name;
  bar->temporary = temporary;
  bars.push_back(bar);
  return bar;
}

void CommandBarStore::DropTemporary() {
  std::erase_if(bars, [](const std::shared_ptr<BarNode>& b) { return b->temporary; });
  for (auto& bar : bars) {
    std::erase_if(bar->controls, [](const std::shared_ptr<ControlNode>& c) { return c->temporary; });
    for (auto& c : bar->controls) c->clickSinks.clear();
  }
}

std::string CommandBarStore::ClickName(const ControlNode& control) const {
  for (const auto& bar : bars)
    for (const auto& c : bar->controls)
      if (c->popupBar)
        for (const auto& item : c->popupBar->controls)
          if (item.get() == &control) return "menu:" + item->caption;
  return control.tooltip;
}

std::vector<std::shared_ptr<ControlNode>> CommandBarStore::AllControls() const {
  std::vector<std::shared_ptr<ControlNode>> all;
  for (const auto& bar : bars)
    for (const auto& c : bar->controls) {
      all.push_back(c);
      if (c->popupBar) all.insert(all.end(), c->popupBar->controls.begin(), c->popupBar->controls.end());
    }
  return all;
}

std::vector<std::string> CommandBarStore::Click(const std::shared_ptr<ControlNode>& control) {
  std::vector<std::string> failures;
  auto button = UncountedButton(control);
  for (const auto& target : AllControls()) {
    if (target->type != platform::kMsoControlButton || target->id != control->id || target->tag != control->tag)
      continue;
    for (auto* sink : std::vector<platform::ButtonEvents*>(target->clickSinks)) {
      platform::VbBool cancelDefault = platform::kFalse;
      ++clicksHandled[ClickName(*target)];
      try {
        sink->Click(button, cancelDefault);
      } catch (const platform::PlatformError& e) {
        // The failure is the outcome of the event; the host carries on.
        failures.push_back(std::to_string(e.Number()) + " " + e.Description());
      }
    }
  }
  return failures;
}

}  // namespace rowtint::sim
