// What `state` prints: one line of JSON with the band's state, the timer,
// the selection, what was invalidated and drawn, the handles, the calls, the
// history, the store, the add-in's bars, the forms and what was shown or launched.
#include "engine/addin_settings.h"
#include "engine/band_snapshot.h"
#include "bars_json.h"
#include "json_writer.h"
#include "sim_session.h"

namespace rowtint::simcli {
namespace {

void WriteForm(JsonWriter& j, const forms::FormModel& form) {
  j.BeginObject().Key("visible").Bool(form.Visible()).Key("controls").BeginObject();
  for (const auto& c : form.Controls()) {
    j.Key(c.name).BeginObject().Key("BackColor").Value(c.backColor).Key("Visible").Bool(c.visible);
    if (c.kind == platform::ControlKind::OptionButton) j.Key("Value").Bool(c.value);
    j.EndObject();
  }
  j.EndObject();
}

void WriteSharedState(JsonWriter& j, const engine::BandSnapshot& s) {
  j.Key("HostApp");
  if (s.HostApp)
    j.Text("Application");
  else
    j.Null();
  j.Key("ExcelMainWnd").Value(static_cast<std::int64_t>(s.ExcelMainWnd));
  j.Key("HighlightColor").Value(s.HighlightColor);
  j.Key("HighlightOff").Bool(s.HighlightOff);
  j.Key("RopMode").Value(s.RopMode);
  j.Key("HistoryColor1").Value(s.HistoryColor1);
  j.Key("HistoryColor2").Value(s.HistoryColor2);
  j.Key("HistoryColor3").Value(s.HistoryColor3);
  j.Key("RedrawWholeGrid").Bool(s.RedrawWholeGrid);
  j.Key("ColumnCheckArmed").Bool(s.ColumnCheckArmed);
  j.Key("PaintScrollRow").Value(s.PaintScrollRow);
  j.Key("PaintScrollColumn").Value(s.PaintScrollColumn);
  j.Key("TickScrollRow").Value(s.TickScrollRow);
  j.Key("TickScrollColumn").Value(s.TickScrollColumn);
  j.Key("SeenScrollColumn").Value(s.SeenScrollColumn);
  j.Key("ScreenDC").Value(static_cast<std::int64_t>(s.ScreenDC));
  j.Key("CaretPoint").PointValue(s.CaretPoint);
  j.Key("GridRect").RectValue(s.GridRect);
  j.Key("LeftBandRect").RectValue(s.LeftBandRect);
  j.Key("RightBandRect").RectValue(s.RightBandRect);
  j.Key("LastBandRect").RectValue(s.LastBandRect);
  j.Key("PrevBandRect").RectValue(s.PrevBandRect);
  j.Key("ResizeEraseRect").RectValue(s.ResizeEraseRect);
  j.Key("SelScrollRow").Value(s.SelScrollRow);
  j.Key("LastSelColumn").Value(s.LastSelColumn);
}
}  // namespace

// Whose window is in front: while the host's process is, its active window
// is, and the simulated forms and colour dialog are always the active one.
std::string SimSession::ForegroundOwner() const {
  if (desktop_->IsOtherProgramWindow(desktop_->Foreground())) return "other";
  if (desktop_->ColorDialogShown()) return "dialog";
  if (forms_.ActiveForm()) return "form";
  return "host";
}

std::string SimSession::StateJson() {
  const engine::BandSnapshot s = library_->Band().Snapshot();
  const auto records = desktop_->TakeRecords();
  JsonWriter j;
  j.BeginObject();
  WriteSharedState(j, s);

  int timers = 0;
  std::uint32_t interval = 0;
  // The add-in's repaint timer is the only timer on the simulated desktop.
  for (const auto& t : desktop_->Timers()) {
    ++timers;
    interval = t.intervalMs;
  }
  j.Key("timer").BeginObject().Key("running").Bool(timers > 0).Key("interval").Value(interval);
  j.Key("count").Value(timers).EndObject();

  WriteSelection(j, host_ ? &host_->Sheet() : nullptr);
  WriteWorkbooks(j, host_ ? &host_->Model() : nullptr);
  WriteFindOptions(j, host_ ? &host_->Model().lastSearch : nullptr);
  j.Key("invalidated").BeginArray();
  for (const auto& r : records.invalidated) j.RectValue(r);
  j.EndArray();
  j.Key("drawn").BeginArray();
  for (const auto& d : records.drawn)
    j.BeginObject().Key("rect").RectValue(d.rect).Key("color").Value(d.color).Key("rop").Value(d.rop).EndObject();
  j.EndArray();
  j.Key("foreground").BeginArray();
  for (auto h : records.foregroundCalls) j.Value(static_cast<std::int64_t>(h));
  j.EndArray();
  j.Key("foregroundChanges").Value(records.foregroundChanges);
  j.Key("foregroundOwner").Text(ForegroundOwner());
  j.Key("refusedCalls").Value(static_cast<std::int64_t>(host_ ? host_->Model().TakeRefusedCalls() : 0));
  j.Key("openHandles").BeginObject().Key("dc").Value(desktop_->OpenDcCount());
  j.Key("brush").Value(desktop_->OpenBrushCount()).EndObject();
  j.Key("calls").Value(static_cast<std::int64_t>(desktop_->CallCounter()));
  desktop_->CallCounter() = 0;

  j.Key("history").BeginArray().Value(s.HistoryColor1).Value(s.HistoryColor2).Value(s.HistoryColor3).EndArray();
  j.Key("settings").BeginObject();
  for (const auto& [key, text] : settings_.Values())
    if (std::get<0>(key) == engine::kSettingsApp) j.Key(std::get<1>(key) + "/" + std::get<2>(key)).Text(text);
  j.EndObject();

  WriteBars(j, *bars_);
  WriteRibbon(j, ribbon_.Model());
  WriteClicksHandled(j, *bars_, ribbon_.Model());

  j.Key("forms").BeginObject();
  if (auto option = library_->Forms().OptionsIfLoaded()) {
    j.Key("fm_Option");
    WriteForm(j, *option);
    j.Key("DialogOwnerWnd").Value(static_cast<std::int64_t>(option->DialogOwnerWnd)).EndObject();
  }
  if (auto about = library_->Forms().AboutIfLoaded()) {
    j.Key("fm_About");
    WriteForm(j, *about);
    j.EndObject();
  }
  j.EndObject();

  j.Key("messages").BeginArray();
  for (const auto& m : records.messages) j.Text(m);
  j.EndArray();
  j.Key("launched").BeginArray();
  for (const auto& l : records.launched) j.Text(l.commandText);
  j.EndArray();
  j.Key("faults").BeginObject().Key("probability").Number(faults_.Probability());
  j.Key("injected").Value(static_cast<std::int64_t>(faults_.Injected())).EndObject();
  j.Key("colorDialogShown").Bool(desktop_->ColorDialogShown());
  j.Key("errors").BeginArray();
  for (const auto& e : records.hostErrors) j.Text(e);
  j.EndArray();
  j.EndObject();
  return j.str();
}

}  // namespace rowtint::simcli
