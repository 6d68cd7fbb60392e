// One run of the stand-in Excel: its windows over the simulator's model of
// the host (sheet, command bars, events), the real Rowtint.dll it creates by
// its programmatic identifier and connects as Excel does, and the script
// lines that drive them. Lines run between turns of the message loop; while
// the add-in's call keeps its own modal loop running (a form, the colour
// dialog), a timer of the stand-in's own feeds the next lines into that loop.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "fake_dispatch.h"
#include "host_windows.h"
#include "other_program.h"
#include "platform/sim/excel_model.h"
#include "script_commands.h"

namespace rowtint::host {

using script::ScriptError;

class HostSession : private script::ScriptHost {
 public:
  explicit HostSession(std::string outDir);
  ~HostSession() override;
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // Raises ScriptError, naming the line, for a line it cannot carry out.
  void RunScript(const std::vector<std::string>& lines, std::ostream& out);
  // Runs one line now (for the soak and latency figures).
  void RunLine(const std::string& line, std::ostream& out);
  // The run ends as the host closes: the add-in is told, and lets go of the library.
  void Close();

  // What a host sees from outside the add-in.
  std::string StateJson();
  bool TimerMessageArrives(DWORD withinMs);
  long OutstandingReferences();
  HostWindows* Windows() { return windows_.get(); }
  const sim::SheetModel& Sheet() { return Model().Sheet(); }
  // The user selects cells, with the host's repaint and event; `pump` lets
  // the loop run after it, as between two lines of a script.
  void UserSelects(const sim::Area& area, bool pump = true);
  void PumpNow();
  // The last call into the add-in that came back: its name, its whole time,
  // and that time less what the stand-in's own window procedures took meanwhile.
  struct CallTime {
    std::string what;
    double wholeMs = 0;
    double addInMs = 0;
  };
  const CallTime& LastCall() const { return lastCall_; }

 private:
  static LRESULT CALLBACK HelperProc(HWND, UINT, WPARAM, LPARAM);
  void NextLineInsideCall();
  void WatchDialogs();
  void Pump();
  void Execute(const std::string& line, std::ostream& out);
  // What the shared script commands ask of the stand-in: the model of the
  // running host, its bars, the screen, its life and the add-in's.
  bool Started() const override { return started_; }
  // A start ends a run still going without telling the add-in, as when Excel is ended from outside.
  void Start() override;
  void Shutdown() override;
  bool Loaded() const override { return static_cast<bool>(addin_); }
  bool Kept() const override { return static_cast<bool>(kept_); }
  void Load() override { LoadAddIn(0); }  // ext_cm_AfterStartup
  void Unload(bool keep) override;
  void Release() override;
  sim::ExcelModel& Model() override;
  sim::CommandBarStore& Bars() override { return *bars_; }
  sim::RibbonModel& Ribbon() override { return ribbon_; }
  platform::Rect ScreenBounds() override;
  void KeepGrid(const platform::Rect& grid) override { gridRect_ = grid; }
  bool ColorDialogShown() override;
  std::optional<std::string> ShownForm() override;
  void RecordError(const std::string& what) override { errors_.push_back(what); }
  void PutSetting(const script::Setting& setting) override;
  void PutSurface(const std::string& choice) override;
  void SetRenderer(script::Renderer renderer) override;
  void MoveMainWindow(int dx, int dy) override;
  void SetFaults(const script::Faults&) override { NotOffered("faults"); }
  void SetScreen(const script::ScreenSize&) override { NotOffered("screen"); }
  void SetDpi(int) override { NotOffered("dpi"); }
  bool Away() override { return away_ != nullptr; }
  void GoAway() override;
  void ComeBack() override;
  bool Covered() override { return cover_ != nullptr; }
  void Cover(const platform::Rect& rect) override;
  void Uncover() override;
  void Pick(std::optional<platform::Color> answer) override;
  void WorkForm(const script::FormAction& action) override;
  void SetThreadDpi(bool systemAware) override;
  void Tick() override;
  void HoldTick() override;
  bool TickHeld() override { return held_.has_value(); }
  void CallEngine(const script::Command& command) override { NotOffered(command.word); }
  void Settle() override;
  void WriteSnapshot(const std::string& file) override;
  [[noreturn]] static void NotOffered(const std::string& command);

  void EndHost();
  void LoadAddIn(int connectMode);
  // The ribbon's group: asked of the connected add-in, asked again at a line's end, let go.
  void ConnectRibbon();
  void DisconnectRibbon();
  void RefreshRibbon();
  // A call into the add-in, which may keep its own modal loop running; a failure is recorded.
  void CallAddIn(const char* what, const std::function<HRESULT()>& call);
  void CloseForms();
  HWND FormWindow() const;
  // The add-in's next timer message, taken from the queue when one comes within a second.
  std::optional<MSG> NextTimerMessage();
  // The renderer at work on the host's windows: a composed one redraws them
  // from its own picture, a flip one keeps what is drawn through a DC on a
  // grid off the screen.
  void ApplyRenderer();
  void RedrawOwnPicture();
  // The way across the add-in answers for its "Across" items, asked through
  // its IDispatch as Office asks; none with no add-in connected.
  std::optional<std::string> AskAcross();

  std::string outDir_;
  HWND helper_ = nullptr;
  std::shared_ptr<sim::CommandBarStore> bars_;
  sim::RibbonModel ribbon_;
  std::unique_ptr<sim::RibbonCallbacks> ribbonCallbacks_;
  std::optional<sim::SheetModel> workbook_;  // the sheet as the last run of the host left it
  std::uint64_t calls_ = 0;
  std::unique_ptr<HostWindows> windows_;
  // Other programs' windows the script brought up; they go with the host's run.
  std::unique_ptr<OtherProgram> away_;
  std::unique_ptr<OtherProgram> cover_;
  std::shared_ptr<sim::ExcelModel> model_;
  win32::ComPtr<win32::fakes::FakeDispatch> app_;
  win32::ComPtr<IDispatch> addin_;
  // A connection object disconnected by `unload keep`, held until `release` or the next connection.
  win32::ComPtr<IDispatch> kept_;
  platform::Rect gridRect_{40, 120, 1240, 760};
  script::Renderer renderer_ = script::Renderer::Gdi;
  bool started_ = false;

  // Lines, and where the run is in them.
  const std::vector<std::string>* lines_ = nullptr;
  std::size_t next_ = 0;
  std::ostream* out_ = nullptr;
  int callDepth_ = 0;
  CallTime lastCall_;
  std::optional<std::string> failure_;

  // What the user answers the next colour dialog, and what was seen.
  std::optional<std::optional<COLORREF>> colorAnswer_;
  std::set<HWND> answered_;
  std::vector<std::string> messages_;
  std::vector<std::string> launched_;
  std::vector<std::string> launchedApplications_;
  std::vector<std::string> errors_;
  // The timer message `tick queue` took from the queue, if one came, until the next `tick`.
  std::optional<std::optional<MSG>> held_;
};

}  // namespace rowtint::host
