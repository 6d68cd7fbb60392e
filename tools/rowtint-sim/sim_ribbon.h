// The simulated Office's ribbon: after connecting, from version 12.0 on, it
// asks the add-in for its ribbon XML, parses it with pugixml, resolves each
// callback it names on the add-in's object, hands over its IRibbonUI and
// asks every control for its look; it asks again for the controls the
// add-in invalidates when it next draws them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ribbon.h"
#include "platform/sim/ribbon_model.h"

namespace rowtint::simcli {

class SimRibbon {
 public:
  SimRibbon();
  ~SimRibbon();
  SimRibbon(const SimRibbon&) = delete;
  SimRibbon& operator=(const SimRibbon&) = delete;
  // Raises nothing: a failure of the add-in is recorded in Errors.
  void Connected(platform::RibbonExtensibility& addin, const std::string& hostVersion);
  void Disconnected();
  // The host draws the ribbon again: the controls invalidated since are asked.
  void Refresh() { model_.Refresh(); }
  sim::RibbonModel& Model() { return model_; }
  std::vector<std::string> TakeErrors();

 private:
  class Callbacks;
  class Ui;
  sim::RibbonModel model_;
  std::unique_ptr<Callbacks> callbacks_;
  std::vector<std::string> errors_;
};

// The controls and callbacks of ribbon XML; raises std::runtime_error for text that is not well formed.
sim::RibbonXml ParseRibbonXml(const std::string& text);

}  // namespace rowtint::simcli
