#include "sim_session.h"

#include <filesystem>
#include <sstream>
#include <vector>

#include "engine/band_commands.h"
#include "engine/highlight_state.h"
#include "engine/paint_row_band.h"
#include "engine/repaint_timer.h"
#include "json_writer.h"

namespace rowtint::simcli {
namespace {
using engine::Shared;

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

int Int(const std::vector<std::string>& w, std::size_t i) {
  if (i >= w.size()) throw ScriptError("'" + w[0] + "' needs more arguments");
  try {
    std::size_t used = 0;
    int v = std::stoi(w[i], &used);
    if (used != w[i].size()) throw std::invalid_argument(w[i]);
    return v;
  } catch (const std::exception&) {
    throw ScriptError("'" + w[i] + "' is not a whole number");
  }
}

double Number(const std::vector<std::string>& w, std::size_t i) {
  if (i >= w.size()) throw ScriptError("'" + w[0] + "' needs more arguments");
  try {
    return std::stod(w[i]);
  } catch (const std::exception&) {
    throw ScriptError("'" + w[i] + "' is not a number");
  }
}

platform::Rect RectArg(const std::vector<std::string>& w) { return {Int(w, 1), Int(w, 2), Int(w, 3), Int(w, 4)}; }

sim::Area AreaArg(const std::vector<std::string>& w) {
  if (w.size() < 2) throw ScriptError("'" + w[0] + "' needs an address");
  auto area = sim::ParseArea(w[1]);
  if (!area) throw ScriptError("'" + w[1] + "' is not a cell address");
  return *area;
}

// The text after the first n words of a line, as written.
std::string RestAfterWords(const std::string& line, int n) {
  std::size_t pos = 0;
  for (int i = 0; i < n; ++i) {
    pos = line.find_first_not_of(" \t", pos);
    pos = line.find_first_of(" \t", pos);
    if (pos == std::string::npos) return "";
  }
  pos = line.find_first_not_of(" \t", pos);
  return pos == std::string::npos ? "" : line.substr(pos);
}

std::string StripComment(const std::string& line) {
  auto hash = line.find('#');
  return hash == std::string::npos ? line : line.substr(0, hash);
}
}  // namespace

SimSession::SimSession(std::string outDir)
    : outDir_(std::move(outDir)), desktop_(std::make_unique<sim::SimDesktop>(1280, 800)) {
  engine::BindWindowsServices(desktop_.get());
  host_ = sim::SimHost::Start(*desktop_, nullptr);
  ConnectAsAtHostStart();
}

SimSession::~SimSession() {
  connect_.reset();
  Shared().HostApp.reset();
  host_.reset();
  engine::BindWindowsServices(nullptr);
  engine::ResetSharedState();
}

// The add-in as a host start leaves it: band on, no font mode chosen, the
// default colour, an empty history, the main window found, the timer at 200 ms.
void SimSession::ConnectAsAtHostStart() {
  engine::ResetSharedState();
  auto app = host_->Application();
  connect_ = std::make_unique<addin::Connect>();
  connect_->appHostApp.Set(app);
  auto& s = Shared();
  s.HostApp = app;
  s.RedrawWholeGrid = platform::kFalse;
  s.ColumnCheckArmed = platform::kTrue;
  s.HighlightOff = platform::kFalse;
  s.RopMode = 0;
  s.HighlightColor = engine::kWoberColor;
  s.HistoryColor1 = s.HistoryColor2 = s.HistoryColor3 = engine::kEmptySwatchColor;
  s.ExcelMainWnd = engine::Os().FindWindow("XLMAIN", nullptr);
  engine::StartRepaintTimer(engine::kStartupIntervalMs);
  desktop_->TakeRecords();
  desktop_->CallCounter() = 0;
}

void SimSession::RunScript(std::istream& script, std::ostream& out) {
  std::string line;
  for (int number = 1; std::getline(script, line); ++number) {
    try {
      RunLine(line, out);
    } catch (const ScriptError& e) {
      throw ScriptError("line " + std::to_string(number) + ": " + e.what());
    }
  }
}

void SimSession::RunLine(const std::string& rawLine, std::ostream& out) {
  const std::string line = StripComment(rawLine);
  const auto w = Words(line);
  if (w.empty()) return;
  const std::string& cmd = w[0];
  auto& host = *host_;

  if (cmd == "screen") host.ResizeScreen(Int(w, 1), Int(w, 2));
  else if (cmd == "grid") host.PlaceGrid(RectArg(w));
  else if (cmd == "resize") host.MoveGrid(RectArg(w));
  else if (cmd == "zoom") host.SetZoom(Int(w, 1));
  else if (cmd == "version") {
    if (w.size() < 2) throw ScriptError("'version' needs a text");
    host.Sheet().version = RestAfterWords(line, 1);
  } else if (cmd == "row-height") host.SetRowHeight(Int(w, 1), Number(w, 2));
  else if (cmd == "col-width") {
    auto column = w.size() > 1 ? sim::ParseColumn(w[1]) : std::nullopt;
    if (!column) throw ScriptError("'col-width' needs a column letter or number");
    host.SetColumnWidth(*column, Number(w, 2));
  } else if (cmd == "set") {
    const auto area = AreaArg(w);
    host.SetText(area.first, RestAfterWords(line, 2));
  } else if (cmd == "select") host.Select(AreaArg(w));
  else if (cmd == "select-object") host.SelectShape();
  else if (cmd == "scroll") host.Scroll({Int(w, 1), Int(w, 2)});
  else if (cmd == "activate-sheet") host.ActivateSheet();
  else if (cmd == "activate-workbook") host.ActivateWorkbook();
  else if (cmd == "print") host.Print();
  else if (cmd == "gate") {
    if (w.size() < 2 || (w[1] != "on" && w[1] != "off")) throw ScriptError("'gate' takes on or off");
    auto file = host.Bars().Find("File");
    if (!file || file->controls.size() < 2) throw ScriptError("the host has no \"File\" bar with two controls");
    file->controls[1]->enabled = w[1] == "on" ? platform::kTrue : platform::kFalse;
  } else if (cmd == "tick") {
    const int n = w.size() > 1 ? Int(w, 1) : 1;
    for (int i = 0; i < n; ++i) desktop_->FireTimers();
  } else if (cmd == "paint") engine::PaintRowBand();
  else if (cmd == "switch") engine::ToggleHighlight();
  else if (cmd == "wober") engine::ApplyWoberColor();
  else if (cmd == "warm") engine::ApplyWarmColor();
  else if (cmd == "snapshot") {
    if (w.size() < 2) throw ScriptError("'snapshot' needs a file name");
    desktop_->FlushRepaints();
    Snapshot(w[1]);
  } else if (cmd == "state") {
    desktop_->FlushRepaints();
    out << StateJson() << "\n";
  } else {
    throw ScriptError("unknown command '" + cmd + "'");
  }
  desktop_->FlushRepaints();
}

void SimSession::Snapshot(const std::string& file) {
  std::filesystem::create_directories(outDir_);
  const auto path = (std::filesystem::path(outDir_) / file).string();
  if (!desktop_->Screen().WritePng(path)) throw ScriptError("cannot write " + path);
}

std::string SimSession::StateJson() {
  const auto& s = Shared();
  const auto records = desktop_->TakeRecords();
  JsonWriter j;
  j.BeginObject();
  j.Key("HostApp");
  if (s.HostApp) j.Text("Application"); else j.Null();
  j.Key("ExcelMainWnd").Value(static_cast<std::int64_t>(s.ExcelMainWnd));
  j.Key("HighlightColor").Value(s.HighlightColor);
  j.Key("HighlightOff").Bool(engine::IsTrue(s.HighlightOff));
  j.Key("RopMode").Value(s.RopMode);
  j.Key("HistoryColor1").Value(s.HistoryColor1);
  j.Key("HistoryColor2").Value(s.HistoryColor2);
  j.Key("HistoryColor3").Value(s.HistoryColor3);
  j.Key("RedrawWholeGrid").Bool(engine::IsTrue(s.RedrawWholeGrid));
  j.Key("ColumnCheckArmed").Bool(engine::IsTrue(s.ColumnCheckArmed));
  j.Key("PaintScrollRow").Value(s.PaintScrollRow);
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
  j.Key("SelScrollRow").Value(connect_ ? connect_->SelScrollRow() : 0);
  j.Key("LastSelColumn").Value(connect_ ? connect_->LastSelColumn() : 0);

  int timers = 0;
  std::uint32_t interval = 0;
  for (const auto& t : desktop_->Timers())
    if (t.proc == &engine::RepaintTimerCallback) {
      ++timers;
      interval = t.intervalMs;
    }
  j.Key("timer").BeginObject().Key("running").Bool(timers > 0).Key("interval").Value(interval);
  j.Key("count").Value(timers).EndObject();

  const auto& sheet = host_->Sheet();
  j.Key("activeCell").Text(sim::AbsoluteAddress({sheet.active, sheet.active}));
  j.Key("selection").Text(sheet.objectSelected ? "object" : sim::AbsoluteAddress(sheet.selection));
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
  j.Key("openHandles").BeginObject().Key("dc").Value(desktop_->OpenDcCount());
  j.Key("brush").Value(desktop_->OpenBrushCount()).EndObject();
  j.Key("calls").Value(static_cast<std::int64_t>(desktop_->CallCounter()));
  desktop_->CallCounter() = 0;
  j.EndObject();
  return j.str();
}

}  // namespace rowtint::simcli
