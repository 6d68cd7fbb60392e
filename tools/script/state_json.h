// What `state` prints, for the simulator and the stand-in Excel alike: each
// key either can see is written here, once, from what the host tells in a
// StateReport, so that the two compare. Each host lays the keys out in its
// own order, and writes the keys only it can see through the same writer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "json_writer.h"
#include "platform/sim/excel_model.h"
#include "platform/sim/ribbon_model.h"
#include "platform/sim/sim_command_bars.h"

namespace rowtint::script {

// A form of the add-in's as the host sees it.
struct FormReport {
  struct Control {
    std::string name;
    std::int64_t backColor = 0;
    bool visible = false;
    std::optional<bool> value;  // an option button's
  };
  std::string name;  // fm_Option or fm_About
  bool visible = false;
  // What only the simulator sees inside the add-in: the controls and the owner window.
  std::optional<std::vector<Control>> controls;
  std::optional<std::int64_t> ownerWindow;
};

// What the host tells of itself for one `state`.
struct StateReport {
  sim::ExcelModel* model = nullptr;  // null while no host runs
  sim::CommandBarStore* bars = nullptr;
  sim::RibbonModel* ribbon = nullptr;
  struct Timer {
    bool running = false;
    std::optional<std::uint32_t> interval;  // the simulator's, which sees the timer itself
    std::optional<int> count;
  } timer;
  std::vector<std::pair<std::string, std::string>> settings;  // "SECTION/key" and its text
  std::vector<FormReport> forms;
  std::vector<std::string> messages, launched, errors;
  std::int64_t foregroundChanges = 0;
  std::string foregroundOwner;
  // The way across the add-in answers for its "Across" items ("row",
  // "column" or "both"), asked whether or not a ribbon shows them; none
  // while no add-in is connected.
  std::optional<std::string> across;
  // The surface the band of the active workbook's window is on, and the
  // add-in's checks of the screen since it connected; none while no add-in
  // is connected. Only the simulator, which sees the checks' outcome, tells the misses.
  struct Surface {
    bool overlay = false;
    std::int64_t checks = 0;
    std::optional<std::int64_t> missed;
  };
  std::optional<Surface> surface;
  // Each of the add-in's overlay windows: its owner (a workbook's main
  // window), whether it shows, where, and its styles.
  struct Overlay {
    platform::WindowHandle owner = 0;
    bool visible = false;
    platform::Rect rect;
    bool layered = false, transparent = false, noActivate = false, topmost = false;
  };
  std::vector<Overlay> overlays;
  // The DPI context the add-in's last drawing ran in; none before it drew.
  enum class DpiContext { System, Monitor };
  std::optional<DpiContext> threadDpi;
};

// The keys both hosts print.
enum class StateKey {
  Selection,  // activeCell and selection
  Workbooks,
  FindOptions,
  Timer,
  Settings,
  Bars,
  Ribbon,
  ClicksHandled,  // taken: counted afresh from this state on
  Forms,
  Messages,
  Launched,
  Errors,
  ForegroundChanges,
  ForegroundOwner,
  RefusedCalls,  // taken from the model: counted afresh
  Across,
  ThreadDpi,
  Surface,
  Overlays,  // in a fixed order: by owner, then by place
};
// Keys of one host's own, written where its layout has them.
using OwnKeys = std::function<void(JsonWriter&)>;
using StatePart = std::variant<StateKey, OwnKeys>;

// The one line of JSON, its keys in the layout's order.
std::string WriteState(const StateReport& report, const std::vector<StatePart>& layout);

}  // namespace rowtint::script
