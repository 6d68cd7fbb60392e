// The store of the simulated host's bars and controls, the workbook
// windows' copies of them, and the clicks it raises as Office does.
#include <algorithm>
#include <functional>

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

std::shared_ptr<ControlNode> CopyOf(const std::shared_ptr<ControlNode>& control) {
  auto copy = std::make_shared<ControlNode>(*control);
  copy->clickSinks.clear();
  copy->copyOf = control;
  if (control->popupBar) {
    copy->popupBar = std::make_shared<BarNode>(*control->popupBar);
    copy->popupBar->controls.clear();
    for (const auto& item : control->popupBar->controls) copy->popupBar->controls.push_back(CopyOf(item));
  }
  return copy;
}

// Takes `doomed` out of a list of controls and of their popups, however deep.
void EraseFrom(std::vector<std::shared_ptr<ControlNode>>& controls,
               const std::function<bool(const std::shared_ptr<ControlNode>&)>& doomed) {
  std::erase_if(controls, doomed);
  for (auto& c : controls)
    if (c->popupBar) EraseFrom(c->popupBar->controls, doomed);
}

void AddWithPopup(std::vector<std::shared_ptr<ControlNode>>& all, const std::vector<std::shared_ptr<BarNode>>& bars) {
  for (const auto& bar : bars)
    for (const auto& c : bar->controls) {
      all.push_back(c);
      if (c->popupBar) all.insert(all.end(), c->popupBar->controls.begin(), c->popupBar->controls.end());
    }
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
  std::vector<const std::vector<std::shared_ptr<BarNode>>*> lists{&bars};
  for (const auto& [window, copies] : windowCopies) lists.push_back(&copies);
  for (const auto* list : lists)
    for (const auto& bar : *list)
      for (const auto& c : bar->controls)
        if (c->popupBar)
          for (const auto& item : c->popupBar->controls)
            if (item.get() == &control) return "menu:" + item->caption;
  return control.tooltip;
}

std::vector<std::shared_ptr<ControlNode>> CommandBarStore::AllControls() const {
  std::vector<std::shared_ptr<ControlNode>> all;
  AddWithPopup(all, bars);
  for (const auto& [window, copies] : windowCopies) AddWithPopup(all, copies);
  return all;
}

void CommandBarStore::CopyIntoWindow(int window) {
  std::vector<std::shared_ptr<BarNode>> shadows;
  for (const auto& bar : bars) {
    auto shadow = std::make_shared<BarNode>(*bar);
    shadow->controls.clear();
    for (const auto& c : bar->controls)
      if (c->added) shadow->controls.push_back(CopyOf(c));
    if (!shadow->controls.empty()) shadows.push_back(shadow);
  }
  windowCopies[window] = std::move(shadows);
}

const std::vector<std::shared_ptr<BarNode>>& CommandBarStore::BarsOf(int window) const {
  const auto copies = windowCopies.find(window);
  return copies == windowCopies.end() ? bars : copies->second;
}

void CommandBarStore::DeleteBar(const std::shared_ptr<BarNode>& bar) {
  bar->deleted = true;
  for (const auto& control : bar->controls) {
    control->deleted = true;
    if (control->popupBar) DeleteBar(control->popupBar);
  }
  std::erase(bars, bar);
  for (auto& [window, copies] : windowCopies)
    std::erase_if(copies, [&](const std::shared_ptr<BarNode>& b) { return b->name == bar->name; });
}

void CommandBarStore::Remove(const std::shared_ptr<ControlNode>& control) {
  auto doomed = [&](const std::shared_ptr<ControlNode>& c) { return c == control || c->copyOf.lock() == control; };
  for (auto& bar : bars) EraseFrom(bar->controls, doomed);
  for (auto& [window, copies] : windowCopies)
    for (auto& bar : copies) EraseFrom(bar->controls, doomed);
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
