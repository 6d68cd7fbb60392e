// One run of the stand-in Excel: its windows, workbook and command bars, the
// real Rowtint.dll it creates by its programmatic identifier and connects as
// Excel does, and the script lines that drive them. Lines run between turns
// of the message loop; while the add-in's call keeps its own modal loop
// running (a form, the colour dialog), a timer of the stand-in's own feeds
// the next lines into that loop.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "host_command_bars.h"
#include "host_excel_objects.h"
#include "host_windows.h"

namespace rowtint::host {

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class HostSession {
 public:
  explicit HostSession(std::string outDir);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // Raises ScriptError for a line it cannot carry out.
  void RunScript(const std::vector<std::string>& lines, std::ostream& out);
  // Runs one line now (for the soak and latency figures).
  void RunLine(const std::string& line, std::ostream& out);

  // What a host sees from outside the add-in.
  std::string StateJson();
  bool TimerMessageArrives(DWORD withinMs);
  long OutstandingReferences() const;
  HostWindows* Windows() { return windows_.get(); }
  Workbook& Book() { return book_; }
  void RaiseSelectionChange();
  // The user selects cells, with the host's repaint and event; `pump` lets
  // the loop run after it, as between two lines of a script.
  void UserSelects(const sim::Area& area, bool pump = true);
  void PumpNow();

 private:
  static LRESULT CALLBACK HelperProc(HWND, UINT, WPARAM, LPARAM);
  void NextLineInsideCall();
  void WatchDialogs();
  void Pump();
  void Execute(const std::string& line, std::ostream& out);
  void HostCommand(const std::string& line, const std::vector<std::string>& w, std::ostream& out);
  void StartHost();
  void ShutdownHost();
  void Load(int connectMode);
  void Unload();
  void Click(const std::string& name);
  void FormCommand(const std::vector<std::string>& w);
  template <class Call>
  void CallAddIn(const char* what, Call call);
  void Select(const sim::Area& area);
  void Tick();
  void Snapshot(const std::string& file);
  void CloseForms();
  HWND ShownForm() const;

  std::string outDir_;
  HWND helper_ = nullptr;
  Workbook book_;
  HostCommandBars bars_;
  win32::ComPtr<win32::fakes::FakeDispatch> app_;
  std::unique_ptr<HostWindows> windows_;
  win32::ComPtr<IDispatch> addin_;
  platform::Rect gridRect_{40, 120, 1240, 760};
  bool started_ = false;

  // Lines, and where the run is in them.
  const std::vector<std::string>* lines_ = nullptr;
  std::size_t next_ = 0;
  std::ostream* out_ = nullptr;
  int callDepth_ = 0;
  std::optional<std::string> failure_;

  // What the user answers the next colour dialog, and what was seen.
  std::optional<std::optional<COLORREF>> colorAnswer_;
  std::set<HWND> answered_;
  std::vector<std::string> messages_;
  std::vector<std::string> launched_;
  std::vector<std::string> errors_;
};

}  // namespace rowtint::host
