// The user's work on the ribbon's group, alike in both hosts: `ribbon click
// ID`, `ribbon toggle ID` and `ribbon menu ID ITEM`.
#include "platform/sim/ribbon_model.h"
#include "script_commands.h"

namespace rowtint::script {

void RibbonCommand(const RibbonAction& action, sim::RibbonModel& ribbon) {
  if (!ribbon.Loaded()) throw ScriptError("the host shows no ribbon group of the add-in's");
  using What = RibbonAction::What;
  const std::optional<std::string> lacking = action.what == What::Click    ? ribbon.Click(action.id)
                                             : action.what == What::Toggle ? ribbon.Toggle(action.id)
                                                                           : ribbon.Menu(action.id, action.item);
  const char* word = action.what == What::Click ? "click" : action.what == What::Toggle ? "toggle" : "menu";
  if (lacking)
    throw ScriptError("'ribbon " + std::string(word) + "' needs " + *lacking + ", not '" +
                      (action.what == What::Menu ? action.item : action.id) + "'");
}

}  // namespace rowtint::script
