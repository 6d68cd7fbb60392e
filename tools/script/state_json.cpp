#include "state_json.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "platform/host.h"

namespace rowtint::script {
namespace {

// "activeCell" and "selection" of the running host's sheet; null while no host runs.
void WriteSelection(JsonWriter& j, sim::ExcelModel* model) {
  if (!model) {
    j.Key("activeCell").Null().Key("selection").Null();
    return;
  }
  const sim::SheetModel& sheet = model->Sheet();
  j.Key("activeCell").Text(sim::AbsoluteAddress({sheet.active, sheet.active}));
  j.Key("selection").Text(sheet.objectSelected ? "object" : sim::AbsoluteAddress(sheet.selection));
}

// "workbooks": how many the host has open, and the active one's place from 1; null while no host runs.
void WriteWorkbooks(JsonWriter& j, const sim::ExcelModel* model) {
  j.Key("workbooks");
  if (!model) {
    j.Null();
    return;
  }
  j.BeginObject().Key("open").Value(static_cast<std::int64_t>(model->Workbooks().size()));
  j.Key("active").Value(static_cast<std::int64_t>(model->ActivePlace())).EndObject();
}

// "findOptions": what the user's next Find dialog would show; null while no host runs.
void WriteFindOptions(JsonWriter& j, const sim::ExcelModel* model) {
  j.Key("findOptions");
  if (!model) {
    j.Null();
    return;
  }
  const platform::host::SearchOptions& last = model->lastSearch;
  const std::int32_t lookIn = last.lookIn.value_or(platform::host::kXlFormulas);
  j.BeginObject().Key("lookIn").Text(lookIn == platform::host::kXlComments ? "comments"
                                     : lookIn == platform::host::kXlValues ? "values"
                                                                           : "formulas");
  j.Key("lookAt").Text(last.lookAt.value_or(platform::host::kXlPart) == platform::host::kXlWhole ? "whole" : "part");
  j.Key("matchCase").Bool(last.matchCase.value_or(false)).EndObject();
}

void WriteTimer(JsonWriter& j, const StateReport::Timer& timer) {
  j.Key("timer").BeginObject().Key("running").Bool(timer.running);
  if (timer.interval) j.Key("interval").Value(*timer.interval);
  if (timer.count) j.Key("count").Value(*timer.count);
  j.EndObject();
}

void WriteBarControls(JsonWriter& j, const std::vector<std::shared_ptr<sim::ControlNode>>& controls) {
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

// "bars": the "Rowtint" toolbar, and the "Rowtint" popup on the active menu bar.
void WriteBars(JsonWriter& j, const sim::CommandBarStore& store) {
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

// "ribbon": the add-in's group as the host shows it; {"loaded": false} without one.
void WriteRibbon(JsonWriter& j, const sim::RibbonModel& ribbon) {
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

// "clicksHandled": the runs of the add-in's handlers since the last state, by
// button and by ribbon control ("ribbon:ID").
void WriteClicksHandled(JsonWriter& j, sim::CommandBarStore& store, sim::RibbonModel& ribbon) {
  std::map<std::string, int> runs = store.clicksHandled;
  runs.insert(ribbon.clicksHandled.begin(), ribbon.clicksHandled.end());
  j.Key("clicksHandled").BeginObject();
  for (const auto& [name, count] : runs) j.Key(name).Value(count);
  j.EndObject();
  store.clicksHandled.clear();
  ribbon.clicksHandled.clear();
}

// "forms": each form by its name, with its controls where the host sees them.
void WriteForms(JsonWriter& j, const std::vector<FormReport>& forms) {
  j.Key("forms").BeginObject();
  for (const auto& form : forms) {
    j.Key(form.name).BeginObject().Key("visible").Bool(form.visible);
    if (form.controls) {
      j.Key("controls").BeginObject();
      for (const auto& c : *form.controls) {
        j.Key(c.name).BeginObject().Key("BackColor").Value(c.backColor).Key("Visible").Bool(c.visible);
        if (c.value) j.Key("Value").Bool(*c.value);
        j.EndObject();
      }
      j.EndObject();
    }
    if (form.ownerWindow) j.Key("DialogOwnerWnd").Value(*form.ownerWindow);
    j.EndObject();
  }
  j.EndObject();
}

void WriteTexts(JsonWriter& j, const char* key, const std::vector<std::string>& texts) {
  j.Key(key).BeginArray();
  for (const auto& t : texts) j.Text(t);
  j.EndArray();
}

// "surface": the kind of the active window's band and the checks; null while no add-in is connected.
void WriteSurface(JsonWriter& j, const std::optional<StateReport::Surface>& surface) {
  j.Key("surface");
  if (!surface) {
    j.Null();
    return;
  }
  j.BeginObject().Key("kind").Text(surface->overlay ? "overlay" : "grid").Key("checks").Value(surface->checks);
  if (surface->missed) j.Key("missed").Value(*surface->missed);
  j.EndObject();
}

// The place, from 1, of the workbook whose window is `main`, as `workbook N`
// counts; the active one first, since before version 15 one main window shows them all. 0 for none.
std::int64_t WorkbookPlaceOf(sim::ExcelModel* model, platform::WindowHandle main) {
  if (!model || !main) return 0;
  auto& view = model->View();
  if (view.MainWindowOf(model->Active().id) == main) return static_cast<std::int64_t>(model->ActivePlace());
  const auto& books = model->Workbooks();
  for (std::size_t i = 0; i < books.size(); ++i)
    if (view.MainWindowOf(books[i]->id) == main) return static_cast<std::int64_t>(i + 1);
  return 0;
}

// "overlays": by owner, then top to bottom and left to right, so that the
// order neither host's window list keeps does not matter.
void WriteOverlays(JsonWriter& j, const StateReport& r) {
  struct Entry {
    std::int64_t owner;
    const StateReport::Overlay* overlay;
  };
  std::vector<Entry> entries;
  for (const auto& o : r.overlays) entries.push_back({WorkbookPlaceOf(r.model, o.owner), &o});
  const auto key = [](const Entry& e) {
    const platform::Rect& rect = e.overlay->rect;
    return std::make_tuple(e.owner, rect.top, rect.left, rect.bottom, rect.right, e.overlay->visible);
  };
  std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) { return key(a) < key(b); });
  j.Key("overlays").BeginArray();
  for (const auto& [owner, o] : entries) {
    j.BeginObject().Key("owner").Value(owner).Key("visible").Bool(o->visible).Key("rect").RectValue(o->rect);
    j.Key("layered").Bool(o->layered).Key("transparent").Bool(o->transparent);
    j.Key("noActivate").Bool(o->noActivate).Key("topmost").Bool(o->topmost).EndObject();
  }
  j.EndArray();
}

void WriteKey(JsonWriter& j, const StateReport& r, StateKey key) {
  switch (key) {
    case StateKey::Selection:
      return WriteSelection(j, r.model);
    case StateKey::Workbooks:
      return WriteWorkbooks(j, r.model);
    case StateKey::FindOptions:
      return WriteFindOptions(j, r.model);
    case StateKey::Timer:
      return WriteTimer(j, r.timer);
    case StateKey::Settings:
      j.Key("settings").BeginObject();
      for (const auto& [name, text] : r.settings) j.Key(name).Text(text);
      j.EndObject();
      return;
    case StateKey::Bars:
      return WriteBars(j, *r.bars);
    case StateKey::Ribbon:
      return WriteRibbon(j, *r.ribbon);
    case StateKey::ClicksHandled:
      return WriteClicksHandled(j, *r.bars, *r.ribbon);
    case StateKey::Forms:
      return WriteForms(j, r.forms);
    case StateKey::Messages:
      return WriteTexts(j, "messages", r.messages);
    case StateKey::Launched:
      return WriteTexts(j, "launched", r.launched);
    case StateKey::Errors:
      return WriteTexts(j, "errors", r.errors);
    case StateKey::ForegroundChanges:
      j.Key("foregroundChanges").Value(r.foregroundChanges);
      return;
    case StateKey::ForegroundOwner:
      j.Key("foregroundOwner").Text(r.foregroundOwner);
      return;
    case StateKey::Across:
      j.Key("Across");
      if (r.across)
        j.Text(*r.across);
      else
        j.Null();
      return;
    case StateKey::Surface:
      return WriteSurface(j, r.surface);
    case StateKey::Overlays:
      return WriteOverlays(j, r);
    case StateKey::ThreadDpi:
      j.Key("threadDpi");
      if (r.threadDpi)
        j.Text(*r.threadDpi == StateReport::DpiContext::System ? "system" : "monitor");
      else
        j.Null();
      return;
    default:
      j.Key("refusedCalls").Value(static_cast<std::int64_t>(r.model ? r.model->TakeRefusedCalls() : 0));
      return;
  }
}
}  // namespace

std::string WriteState(const StateReport& report, const std::vector<StatePart>& layout) {
  JsonWriter j;
  j.BeginObject();
  for (const auto& part : layout) {
    if (const auto* key = std::get_if<StateKey>(&part))
      WriteKey(j, report, *key);
    else
      std::get<OwnKeys>(part)(j);
  }
  j.EndObject();
  return j.str();
}

}  // namespace rowtint::script
