#include "platform/sim/ribbon_model.h"

#include <algorithm>
#include <utility>

#include "platform/error.h"

namespace rowtint::sim {

void RibbonModel::Load(RibbonXml xml, RibbonCallbacks& callbacks) {
  xml_ = std::move(xml);
  callbacks_ = &callbacks;
  unresolved_.clear();
  resolved_.clear();
  std::vector<std::string> names{xml_.onLoad};
  for (const auto& control : xml_.controls)
    for (const auto& [attribute, name] : control.callbacks) names.push_back(name);
  for (const auto& name : names) {
    if (name.empty() || resolved_.count(name)) continue;
    bool found = false;
    try {
      found = callbacks.Resolves(name);
    } catch (const platform::PlatformError&) {
    }
    if (found) {
      resolved_.insert(name);
    } else if (std::find(unresolved_.begin(), unresolved_.end(), name) == unresolved_.end()) {
      unresolved_.push_back(name);
    }
  }
  if (resolved_.count(xml_.onLoad)) {
    try {
      callbacks.Load(xml_.onLoad);
    } catch (const platform::PlatformError& e) {
      errors_.push_back("ribbon " + xml_.onLoad + ": " + std::to_string(e.Number()) + " " + e.Description());
    }
  }
  for (auto& control : xml_.controls) Ask(control);
  stale_.clear();
  allStale_ = false;
}

void RibbonModel::Unload() {
  callbacks_ = nullptr;
  stale_.clear();
  allStale_ = false;
}

void RibbonModel::Invalidate() { allStale_ = true; }

void RibbonModel::InvalidateControl(const std::string& id) { stale_.insert(id); }

void RibbonModel::Refresh() {
  if (!callbacks_) return;
  for (auto& control : xml_.controls)
    if (allStale_ || stale_.count(control.id)) Ask(control);
  stale_.clear();
  allStale_ = false;
}

std::vector<std::string> RibbonModel::TakeErrors() { return std::exchange(errors_, {}); }

RibbonControl* RibbonModel::Find(const std::string& id) {
  for (auto& control : xml_.controls)
    if (control.id == id) return &control;
  return nullptr;
}

template <class Call>
void RibbonModel::Named(const RibbonControl& control, const char* attribute, Call call) {
  const auto named = control.callbacks.find(attribute);
  if (!callbacks_ || named == control.callbacks.end() || !resolved_.count(named->second)) return;
  try {
    call(named->second);
  } catch (const platform::PlatformError& e) {
    errors_.push_back("ribbon " + named->second + " " + control.id + ": " + std::to_string(e.Number()) + " " +
                      e.Description());
  }
}

void RibbonModel::Ask(RibbonControl& control) {
  Named(control, "getPressed",
        [&](const std::string& name) { control.pressed = callbacks_->Boolean(name, control.id); });
  Named(control, "getEnabled",
        [&](const std::string& name) { control.enabled = callbacks_->Boolean(name, control.id); });
  Named(control, "getImage", [&](const std::string& name) { control.swatch = callbacks_->Image(name, control.id); });
}

void RibbonModel::Run(const RibbonControl& control, const char* attribute, bool pressed) {
  Named(control, attribute, [&](const std::string& name) {
    ++clicksHandled["ribbon:" + control.id];
    if (control.kind == "toggleButton")
      callbacks_->Toggle(name, control.id, pressed);
    else
      callbacks_->Action(name, control.id);
  });
}

std::optional<std::string> RibbonModel::Click(const std::string& id) {
  RibbonControl* control = Find(id);
  if (!control || control->kind != "button" || !control->menu.empty()) return "a button outside a menu";
  if (control->enabled) Run(*control, "onAction", false);
  return std::nullopt;
}

std::optional<std::string> RibbonModel::Toggle(const std::string& id) {
  RibbonControl* control = Find(id);
  if (!control || control->kind != "toggleButton" || !control->menu.empty()) return "a toggle button outside a menu";
  if (!control->enabled) return std::nullopt;
  // The button shows the new state at once, as Office draws it; the add-in is told it.
  control->pressed = !control->pressed;
  Run(*control, "onAction", control->pressed);
  return std::nullopt;
}

std::optional<std::string> RibbonModel::Menu(const std::string& menu, const std::string& item) {
  RibbonControl* holder = Find(menu);
  RibbonControl* control = Find(item);
  if (!holder || holder->kind != "menu") return "a menu";
  if (!control || control->menu != menu) return "an item of the menu " + menu;
  if (!holder->enabled || !control->enabled) return std::nullopt;
  // A toggle button in a menu is told the state it shows once clicked, as on the group.
  if (control->kind == "toggleButton") control->pressed = !control->pressed;
  Run(*control, "onAction", control->pressed);
  return std::nullopt;
}

}  // namespace rowtint::sim
