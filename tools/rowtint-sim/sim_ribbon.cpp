#include "sim_ribbon.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "platform/error.h"
#include "platform/sim/system_colors.h"

namespace rowtint::simcli {
namespace {
constexpr std::int32_t kNotSupported = 438;

void Collect(const pugi::xml_node& node, const std::string& menu, std::vector<sim::RibbonControl>& out) {
  for (const pugi::xml_node& child : node.children()) {
    const std::string kind = child.name();
    const std::string id = child.attribute("id").value();
    if (id.empty() || kind == "group" || kind == "tab") {
      Collect(child, menu, out);
      continue;
    }
    sim::RibbonControl control{id, kind, child.attribute("label").value(), menu, {}, false, true, std::nullopt};
    for (const char* attribute : {"onAction", "getPressed", "getEnabled", "getImage"})
      if (const auto named = child.attribute(attribute)) control.callbacks[attribute] = named.value();
    out.push_back(std::move(control));
    if (kind == "menu") Collect(child, id, out);
  }
}
}  // namespace

sim::RibbonXml ParseRibbonXml(const std::string& text) {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_string(text.c_str());
  if (!parsed) throw std::runtime_error(std::string("the ribbon XML is not well formed: ") + parsed.description());
  const pugi::xml_node root = document.child("customUI");
  if (!root) throw std::runtime_error("the ribbon XML has no customUI element");
  sim::RibbonXml xml{root.attribute("xmlns").value(), root.attribute("onLoad").value(), {}};
  Collect(root, "", xml.controls);
  return xml;
}

// IRibbonUI as the simulated Office hands it over: it marks controls for asking again.
class SimRibbon::Ui : public platform::RibbonUI {
 public:
  explicit Ui(sim::RibbonModel& model) : model_(model) {}
  void Invalidate() override { model_.Invalidate(); }
  void InvalidateControl(const std::string& id) override { model_.InvalidateControl(id); }

 private:
  sim::RibbonModel& model_;
};

// The add-in's callbacks by name, as Office finds them on the add-in's object.
class SimRibbon::Callbacks : public sim::RibbonCallbacks {
 public:
  Callbacks(platform::RibbonExtensibility& addin, sim::RibbonModel& model)
      : addin_(addin), ui_(std::make_shared<Ui>(model)) {}
  bool Resolves(const std::string& name) override {
    return std::any_of(std::begin(platform::kRibbonCallbackNames), std::end(platform::kRibbonCallbackNames),
                       [&](const char* known) { return name == known; });
  }
  void Load(const std::string& name) override {
    Expect(name, "RibbonLoad");
    addin_.RibbonLoad(ui_);
  }
  void Action(const std::string& name, const std::string& id) override {
    Expect(name, "RibbonAction");
    addin_.RibbonAction(id);
  }
  void Toggle(const std::string& name, const std::string& id, bool pressed) override {
    Expect(name, "RibbonToggle");
    addin_.RibbonToggle(id, pressed);
  }
  bool Boolean(const std::string& name, const std::string& id) override {
    if (name == "RibbonPressed") return addin_.RibbonPressed(id);
    Expect(name, "RibbonEnabled");
    return addin_.RibbonEnabled(id);
  }
  platform::Color Image(const std::string& name, const std::string& id) override {
    Expect(name, "RibbonImage");
    // The picture is made in the colour, a system colour as the scheme shows it.
    return static_cast<platform::Color>(sim::ResolveColor(addin_.RibbonImage(id).color));
  }

 private:
  // A callback called with the wrong arguments for its kind fails as Invoke would.
  static void Expect(const std::string& name, const char* callback) {
    if (name != callback) platform::Raise(kNotSupported, "Object doesn't support this property or method");
  }
  platform::RibbonExtensibility& addin_;
  std::shared_ptr<Ui> ui_;
};

SimRibbon::SimRibbon() = default;
SimRibbon::~SimRibbon() = default;

void SimRibbon::Connected(platform::RibbonExtensibility& addin, const std::string& hostVersion) {
  model_.Unload();
  callbacks_.reset();
  if (std::atof(hostVersion.c_str()) < 12.0) return;
  std::string text;
  try {
    text = addin.GetCustomUI("Microsoft.Excel.Workbook");
  } catch (const platform::PlatformError& e) {
    errors_.push_back("GetCustomUI: " + std::to_string(e.Number()) + " " + e.Description());
    return;
  }
  if (text.empty()) return;
  sim::RibbonXml xml;
  try {
    xml = ParseRibbonXml(text);
  } catch (const std::runtime_error& e) {
    errors_.push_back(e.what());
    return;
  }
  callbacks_ = std::make_unique<Callbacks>(addin, model_);
  model_.Load(std::move(xml), *callbacks_);
}

void SimRibbon::Disconnected() {
  model_.Unload();
  callbacks_.reset();
}

std::vector<std::string> SimRibbon::TakeErrors() {
  auto errors = std::exchange(errors_, {});
  for (auto& e : model_.TakeErrors()) errors.push_back(std::move(e));
  return errors;
}

}  // namespace rowtint::simcli
