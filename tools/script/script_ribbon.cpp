// The user's work on the ribbon's group, alike in both hosts: `ribbon click
// ID`, `ribbon toggle ID` and `ribbon menu ID ITEM`.
#include "platform/sim/ribbon_model.h"
#include "script_commands.h"

namespace rowtint::script {

void RibbonCommand(const ScriptLine& line, sim::RibbonModel& ribbon) {
  line.ExpectArguments(2, 3);
  const std::string& action = line.Word(1);
  if (action != "click" && action != "toggle" && action != "menu")
    throw ScriptError("'ribbon' takes click, toggle or menu, not '" + action + "'");
  line.ExpectArguments(action == "menu" ? 3 : 2);
  if (!ribbon.Loaded()) throw ScriptError("the host shows no ribbon group of the add-in's");
  const std::optional<std::string> lacking = action == "click"    ? ribbon.Click(line.Word(2))
                                             : action == "toggle" ? ribbon.Toggle(line.Word(2))
                                                                  : ribbon.Menu(line.Word(2), line.Word(3));
  if (lacking)
    throw ScriptError("'ribbon " + action + "' needs " + *lacking + ", not '" + line.Word(action == "menu" ? 3 : 2) +
                      "'");
}

}  // namespace rowtint::script
