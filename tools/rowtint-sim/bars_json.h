// What `state` shows alike in the simulator and in the stand-in Excel, so
// that the two compare: the active cell and selection, the open workbooks,
// the options of the user's last search, the add-in's toolbar, menu popup and ribbon group.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "json_writer.h"
#include "platform/host.h"
#include "platform/sim/excel_model.h"
#include "platform/sim/ribbon_model.h"
#include "platform/sim/sheet_model.h"
#include "platform/sim/sim_command_bars.h"

namespace rowtint::simcli {

// "activeCell" and "selection" of the running host's sheet; null while no host runs.
inline void WriteSelection(JsonWriter& j, const sim::SheetModel* sheet) {
  if (!sheet) {
    j.Key("activeCell").Null().Key("selection").Null();
    return;
  }
  j.Key("activeCell").Text(sim::AbsoluteAddress({sheet->active, sheet->active}));
  j.Key("selection").Text(sheet->objectSelected ? "object" : sim::AbsoluteAddress(sheet->selection));
}

// "workbooks": how many the host has open, and the active one's place from 1; null while no host runs.
inline void WriteWorkbooks(JsonWriter& j, const sim::ExcelModel* model) {
  j.Key("workbooks");
  if (!model) {
    j.Null();
    return;
  }
  j.BeginObject().Key("open").Value(static_cast<std::int64_t>(model->Workbooks().size()));
  j.Key("active").Value(static_cast<std::int64_t>(model->ActivePlace())).EndObject();
}

// "findOptions": what the user's next Find dialog would show; null while no host runs.
inline void WriteFindOptions(JsonWriter& j, const platform::host::SearchOptions* last) {
  j.Key("findOptions");
  if (!last) {
    j.Null();
    return;
  }
  const std::int32_t lookIn = last->lookIn.value_or(platform::host::kXlFormulas);
  j.BeginObject().Key("lookIn").Text(lookIn == platform::host::kXlComments ? "comments"
                                     : lookIn == platform::host::kXlValues ? "values"
                                                                           : "formulas");
  j.Key("lookAt").Text(last->lookAt.value_or(platform::host::kXlPart) == platform::host::kXlWhole ? "whole" : "part");
  j.Key("matchCase").Bool(last->matchCase.value_or(false)).EndObject();
}

inline void WriteBarControls(JsonWriter& j, const std::vector<std::shared_ptr<sim::ControlNode>>& controls) {
  j.BeginArray();
  for (const auto& c : controls) {
    j.BeginObject().Key("caption").Text(c->caption).Key("tooltip").Text(c->tooltip);
    j.Key("faceId").Value(c->faceId).Key("style").Value(c->style);
    j.Key("beginGroup").Bool(c->beginGroup == platform::kTrue).Key("enabled").Bool(c->enabled == platform::kTrue);
    j.Key("tag").Text(c->tag);
    j.EndObject();
  }
  j.EndArray();
}

// "clicksHandled": how often the add-in's handler of each button ran since the previous `state`.
// "clicksHandled": the runs of the add-in's handlers since the last state, by
// button and by ribbon control ("ribbon:ID").
inline void WriteClicksHandled(JsonWriter& j, sim::CommandBarStore& store, sim::RibbonModel& ribbon) {
  std::map<std::string, int> runs = store.clicksHandled;
  runs.insert(ribbon.clicksHandled.begin(), ribbon.clicksHandled.end());
  j.Key("clicksHandled").BeginObject();
  for (const auto& [name, count] : runs) j.Key(name).Value(count);
  j.EndObject();
  store.clicksHandled.clear();
  ribbon.clicksHandled.clear();
}

// "ribbon": the add-in's group as the host shows it; {"loaded": false} without one.
inline void WriteRibbon(JsonWriter& j, const sim::RibbonModel& ribbon) {
  j.Key("ribbon").BeginObject().Key("loaded").Bool(ribbon.Loaded());
  if (ribbon.Loaded()) {
    j.Key("namespace").Text(ribbon.Namespace());
    j.Key("unresolved").BeginArray();
    for (const auto& name : ribbon.Unresolved()) j.Text(name);
    j.EndArray().Key("controls").BeginArray();
    for (const auto& c : ribbon.Controls()) {
      j.BeginObject().Key("id").Text(c.id).Key("label").Text(c.label);
      if (c.kind == "toggleButton") j.Key("pressed").Bool(c.pressed);
      j.Key("enabled").Bool(c.enabled);
      if (c.swatch) j.Key("swatch").Value(*c.swatch);
      j.EndObject();
    }
    j.EndArray();
  }
  j.EndObject();
}

// "bars": the "Rowtint" toolbar, and the "Rowtint" popup on the active menu bar.
inline void WriteBars(JsonWriter& j, const sim::CommandBarStore& store) {
  j.Key("bars").BeginArray();
  for (const auto& bar : store.bars) {
    if (bar->name != "Rowtint") continue;
    j.BeginObject().Key("name").Text(bar->name).Key("kind").Text("toolbar").Key("visible").Bool(bar->visible);
    j.Key("protection").Value(bar->protection).Key("controls");
    WriteBarControls(j, bar->controls);
    j.EndObject();
  }
  if (store.activeMenuBar) {
    const auto& menu = store.activeMenuBar->controls;
    for (std::size_t i = 0; i < menu.size(); ++i) {
      if (menu[i]->caption != "Rowtint" || !menu[i]->popupBar) continue;
      j.BeginObject().Key("name").Text(menu[i]->caption).Key("kind").Text("popup").Key("visible").Bool(true);
      j.Key("protection").Value(0).Key("beginGroup").Bool(menu[i]->beginGroup == platform::kTrue);
      j.Key("last").Bool(i + 1 == menu.size()).Key("controls");
      WriteBarControls(j, menu[i]->popupBar->controls);
      j.EndObject();
    }
  }
  j.EndArray();
}

}  // namespace rowtint::simcli
