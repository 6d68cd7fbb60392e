// What `state` prints: one line of JSON with the band's state, the timer,
// the selection, what was invalidated and drawn, the handles, the calls, the
// history, the store, the add-in's bars, the forms and what was shown or launched.
#include "addin/connect.h"
#include "addin/ribbon_xml.h"
#include "engine/addin_settings.h"
#include "engine/band_snapshot.h"
#include "sim_session.h"
#include "state_json.h"

namespace rowtint::simcli {
namespace {
using script::JsonWriter;
using script::StateKey;

script::FormReport FormOf(const char* name, const forms::FormModel& form) {
  script::FormReport report{name, form.Visible(), std::vector<script::FormReport::Control>{}, std::nullopt};
  for (const auto& c : form.Controls()) {
    std::optional<bool> value;
    if (c.kind == platform::ControlKind::OptionButton) value = c.value;
    report.controls->push_back({c.name, c.backColor, c.visible, value});
  }
  return report;
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
  j.Key("ColumnBandRect").RectValue(s.ColumnBandRect);
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
  script::StateReport report;
  report.model = host_ ? &host_->Model() : nullptr;
  report.bars = bars_.get();
  report.ribbon = &ribbon_.Model();
  // The add-in's repaint timer is the only timer on the simulated desktop.
  report.timer = {false, 0, 0};
  for (const auto& t : desktop_->Timers()) {
    report.timer = {true, t.intervalMs, *report.timer.count + 1};
  }
  for (const auto& [key, text] : settings_.Values())
    if (std::get<0>(key) == engine::kSettingsApp)
      report.settings.emplace_back(std::get<1>(key) + "/" + std::get<2>(key), text);
  if (auto option = library_->Forms().OptionsIfLoaded()) {
    report.forms.push_back(FormOf("fm_Option", *option));
    report.forms.back().ownerWindow = static_cast<std::int64_t>(option->DialogOwnerWnd);
  }
  if (auto about = library_->Forms().AboutIfLoaded()) report.forms.push_back(FormOf("fm_About", *about));
  report.messages = records.messages;
  for (const auto& l : records.launched) report.launched.push_back(l.commandText);
  report.errors = records.hostErrors;
  report.foregroundChanges = records.foregroundChanges;
  report.foregroundOwner = ForegroundOwner();
  if (connect_) {
    const engine::Across ways[] = {engine::Across::Row, engine::Across::Column, engine::Across::Both};
    for (int i = 0; i < 3; ++i)
      if (connect_->RibbonPressed(addin::kRibbonAcrossItems[i])) report.across = engine::AcrossToSettingText(ways[i]);
  }
  if (connect_ && host_) {
    const auto& surfaces = library_->Band().Surfaces();
    report.surface = script::StateReport::Surface{surfaces.For(host_->MainWindow()) == engine::Surface::Overlay,
                                                  surfaces.Checks(), surfaces.Missed()};
  }
  for (const auto& o : desktop_->Overlays())
    report.overlays.push_back({o.owner, o.visible, o.rect, o.layered, o.transparent, o.noActivate, o.topmost});
  if (const auto drawing = desktop_->LastDrawingDpi())
    report.threadDpi = *drawing == sim::SimDesktop::ThreadDpi::System ? script::StateReport::DpiContext::System
                                                                      : script::StateReport::DpiContext::Monitor;

  // What the simulator sees inside the add-in and the desktop, between the keys both hosts print.
  const auto drawing = [&](JsonWriter& j) {
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
  };
  const auto handles = [&](JsonWriter& j) {
    j.Key("openHandles").BeginObject().Key("dc").Value(desktop_->OpenDcCount());
    j.Key("brush").Value(desktop_->OpenBrushCount()).EndObject();
    j.Key("calls").Value(static_cast<std::int64_t>(desktop_->CallCounter()));
    desktop_->CallCounter() = 0;
    j.Key("history").BeginArray().Value(s.HistoryColor1).Value(s.HistoryColor2).Value(s.HistoryColor3).EndArray();
  };
  const auto faults = [&](JsonWriter& j) {
    j.Key("faults").BeginObject().Key("probability").Number(faults_.Probability());
    j.Key("injected").Value(static_cast<std::int64_t>(faults_.Injected())).EndObject();
    j.Key("colorDialogShown").Bool(desktop_->ColorDialogShown());
  };
  const auto shared = [&](JsonWriter& j) { WriteSharedState(j, s); };
  return script::WriteState(report, {shared,
                                     StateKey::Timer,
                                     StateKey::Selection,
                                     StateKey::Workbooks,
                                     StateKey::FindOptions,
                                     drawing,
                                     StateKey::ForegroundChanges,
                                     StateKey::ForegroundOwner,
                                     StateKey::RefusedCalls,
                                     handles,
                                     StateKey::Across,
                                     StateKey::Surface,
                                     StateKey::Overlays,
                                     StateKey::Settings,
                                     StateKey::Bars,
                                     StateKey::Ribbon,
                                     StateKey::ClicksHandled,
                                     StateKey::Forms,
                                     StateKey::Messages,
                                     StateKey::Launched,
                                     faults,
                                     StateKey::Errors,
                                     StateKey::ThreadDpi});
}

}  // namespace rowtint::simcli
