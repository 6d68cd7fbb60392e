#include "host_session.h"

#include <filesystem>
#include <algorithm>
#include <sstream>

#include "platform/win32/excel_com_ids.h"
#include "platform/win32/hresult_errors.h"
#include "rowtint_idl.h"
#include "form_points.h"
#include "import_patch.h"
#include "screen_capture.h"

namespace rowtint::host {
namespace {
using win32::ComPtr;
using win32::Variant;
namespace excel = win32::excel;

constexpr UINT_PTR kNextLineTimer = 1;
constexpr UINT_PTR kDialogTimer = 2;
constexpr wchar_t kHelperClass[] = L"RowtintHostHelper";
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Tintrow";

// What the add-in launched since the last `state`, as the simulator words it.
std::vector<std::string>* g_launched = nullptr;

BOOL WINAPI RecordCreateProcess(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                                BOOL, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION started) {
  if (g_launched) g_launched->push_back(win32::Narrow(commandLine ? commandLine : application ? application : L""));
  // Handles of its own for the caller to close, as those of a started program.
  const HANDLE self = GetCurrentProcess();
  DuplicateHandle(self, self, self, &started->hProcess, 0, FALSE, DUPLICATE_SAME_ACCESS);
  DuplicateHandle(self, GetCurrentThread(), self, &started->hThread, 0, FALSE, DUPLICATE_SAME_ACCESS);
  started->dwProcessId = GetCurrentProcessId();
  started->dwThreadId = GetCurrentThreadId();
  return TRUE;
}

HINSTANCE WINAPI RecordShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR parameters, LPCWSTR, INT) {
  std::string text = win32::Narrow(file ? file : L"");
  if (parameters && *parameters) text += " " + win32::Narrow(parameters);
  if (g_launched) g_launched->push_back(text);
  return reinterpret_cast<HINSTANCE>(42);  // above 32: started
}

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
    const int v = std::stoi(w[i], &used);
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

sim::Area AreaArg(const std::vector<std::string>& w) {
  if (w.size() < 2) throw ScriptError("'" + w[0] + "' needs an address");
  auto area = sim::ParseArea(w[1]);
  if (!area) throw ScriptError("'" + w[1] + "' is not a cell address");
  return *area;
}

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
  const auto hash = line.find('#');
  std::string s = hash == std::string::npos ? line : line.substr(0, hash);
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

std::shared_ptr<sim::ControlNode> FindControl(const std::vector<std::shared_ptr<sim::ControlNode>>& controls,
                                              bool byTooltip, const std::string& name) {
  for (const auto& c : controls)
    if ((byTooltip ? c->tooltip : c->caption) == name) return c;
  return nullptr;
}

std::string WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return win32::Narrow(text);
}

std::string ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return win32::Narrow(name);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Every window of this thread, top-level ones and their children.
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> all;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

// An empty custom array, as Excel passes to every IDTExtensibility2 method.
class CustomArray {
 public:
  CustomArray() : array_(SafeArrayCreateVector(VT_VARIANT, 0, 0)) {}
  ~CustomArray() { SafeArrayDestroy(array_); }
  CustomArray(const CustomArray&) = delete;
  CustomArray& operator=(const CustomArray&) = delete;
  SAFEARRAY** Ptr() { return &array_; }

 private:
  SAFEARRAY* array_;
};

// Messages of every kind but the timer's: the add-in's ticks come only when a script asks for them.
void PumpWithoutTimers() {
  MSG msg;
  for (int i = 0; i < 10000; ++i) {
    if (!PeekMessageW(&msg, nullptr, 0, WM_TIMER - 1, PM_REMOVE) &&
        !PeekMessageW(&msg, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE))
      break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}
}  // namespace

HostSession::HostSession(std::string outDir)
    : outDir_(std::move(outDir)), bars_(std::make_shared<sim::CommandBarStore>()) {
  std::filesystem::create_directories(outDir_);
  WNDCLASSW helper{};
  helper.lpfnWndProc = &HelperProc;
  helper.hInstance = GetModuleHandleW(nullptr);
  helper.lpszClassName = kHelperClass;
  RegisterClassW(&helper);
  helper_ = CreateWindowExW(0, kHelperClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, helper.hInstance, nullptr);
  SetWindowLongPtrW(helper_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  book_.gridClient = [this] { return windows_ ? windows_->GridClient() : platform::Rect{}; };
  book_.select = [this](const sim::Area& area) { Select(area); };
  book_.commandBars = [this] { return bars_.Automation(); };
  app_ = MakeApplication(book_);
  // Every script starts with an empty store.
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}

HostSession::~HostSession() {
  // The process ends: the add-in is let go without being told, like a host that is closed from outside.
  CloseForms();
  addin_.Reset();
  windows_.reset();
  CoFreeUnusedLibraries();
  SetWindowLongPtrW(helper_, GWLP_USERDATA, 0);
  DestroyWindow(helper_);
}

LRESULT CALLBACK HostSession::HelperProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<HostSession*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_TIMER) {
    try {
      if (w == kNextLineTimer) self->NextLineInsideCall();
      if (w == kDialogTimer) self->WatchDialogs();
    } catch (...) {
      self->failure_ = "the stand-in failed inside the add-in's call";
    }
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

void HostSession::RunScript(const std::vector<std::string>& lines, std::ostream& out) {
  lines_ = &lines;
  next_ = 0;
  out_ = &out;
  Pump();
  lines_ = nullptr;
  if (failure_) throw ScriptError(*failure_);
}

void HostSession::RunLine(const std::string& line, std::ostream& out) {
  std::vector<std::string> one{line};
  RunScript(one, out);
}

void HostSession::Pump() {
  while (lines_ && next_ < lines_->size() && !failure_) {
    const std::size_t number = next_++;
    try {
      Execute((*lines_)[number], *out_);
    } catch (const ScriptError& e) {
      failure_ = "line " + std::to_string(number + 1) + ": " + e.what();
    }
  }
}

// Inside the add-in's modal loop: one line per turn of the loop, so that
// what a line posts (a click on the form) is handled before the next.
void HostSession::NextLineInsideCall() {
  KillTimer(helper_, kNextLineTimer);
  if (!lines_ || next_ >= lines_->size() || failure_) {
    // Nothing left to do inside the form: the user closes it, so that the run can end.
    CloseForms();
    return;
  }
  const std::size_t number = next_++;
  try {
    Execute((*lines_)[number], *out_);
  } catch (const ScriptError& e) {
    failure_ = "line " + std::to_string(number + 1) + ": " + e.what();
  }
  SetTimer(helper_, kNextLineTimer, 20, nullptr);
}

template <class Call>
void HostSession::CallAddIn(const char* what, Call call) {
  if (callDepth_++ == 0) {
    SetTimer(helper_, kNextLineTimer, 20, nullptr);
    SetTimer(helper_, kDialogTimer, 20, nullptr);
  }
  const HRESULT hr = call();
  if (--callDepth_ == 0) {
    KillTimer(helper_, kNextLineTimer);
    KillTimer(helper_, kDialogTimer);
  }
  if (FAILED(hr)) {
    std::ostringstream text;
    text << what << ": 0x" << std::hex << static_cast<unsigned long>(hr);
    errors_.push_back(text.str());
  }
}

void HostSession::WatchDialogs() {
  for (HWND window : ThreadWindows()) {
    if (!IsWindowVisible(window) || ClassOf(window) != "#32770" || answered_.count(window)) continue;
    if (GetDlgItem(window, 706) && GetDlgItem(window, 707) && GetDlgItem(window, 708)) {
      if (!colorAnswer_) continue;  // no answer given yet: the user thinks
      answered_.insert(window);
      const auto answer = *colorAnswer_;
      colorAnswer_.reset();
      if (answer) {
        SetDlgItemInt(window, 706, GetRValue(*answer), FALSE);
        SetDlgItemInt(window, 707, GetGValue(*answer), FALSE);
        SetDlgItemInt(window, 708, GetBValue(*answer), FALSE);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
      } else {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
      }
    } else {
      // A message box: its text is the longest static text in it.
      answered_.insert(window);
      std::string text;
      for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static" && WindowText(child).size() > text.size()) text = WindowText(child);
      messages_.push_back(text);
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
    }
  }
}

void HostSession::Execute(const std::string& rawLine, std::ostream& out) {
  const std::string line = StripComment(rawLine);
  const auto w = Words(line);
  if (w.empty()) return;
  const std::string& cmd = w[0];
  if (!started_ && cmd != "setting" && cmd != "bar" && cmd != "start") StartHost();

  if (cmd == "start")
    StartHost();
  else if (cmd == "shutdown")
    ShutdownHost();
  else if (cmd == "unload")
    Unload();
  else if (cmd == "load") {
    if (addin_) throw ScriptError("the add-in is loaded already");
    if (!windows_) throw ScriptError("the host is not running");
    Load(0);  // ext_cm_AfterStartup
  } else if (cmd == "setting") {
    if (w.size() < 3) throw ScriptError("'setting' needs a section, a key and a text");
    const std::wstring key = std::wstring(kSettingsKey) + L"\\" + win32::Widen(w[1]);
    const std::wstring text = win32::Widen(RestAfterWords(line, 3));
    HKEY section = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &section, nullptr) !=
        ERROR_SUCCESS)
      throw ScriptError("cannot write the store");
    RegSetValueExW(section, win32::Widen(w[2]).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(section);
  } else if (cmd == "bar") {
    if (w.size() < 2) throw ScriptError("'bar' needs a name");
    bars_.Store().AddBar(RestAfterWords(line, 1), false);
  } else if (cmd == "click") {
    if (w.size() < 2) throw ScriptError("'click' needs a button");
    Click(RestAfterWords(line, 1));
  } else if (cmd == "pick") {
    if (w.size() == 2 && w[1] == "cancel")
      colorAnswer_ = std::optional<COLORREF>();
    else
      colorAnswer_ = std::optional<COLORREF>(RGB(Int(w, 1), Int(w, 2), Int(w, 3)));
  } else if (cmd == "form")
    FormCommand(w);
  else
    HostCommand(line, w, out);
  PumpWithoutTimers();
}

void HostSession::HostCommand(const std::string& line, const std::vector<std::string>& w, std::ostream& out) {
  const std::string& cmd = w[0];
  if (!windows_) throw ScriptError("the host is not running");
  auto& sheet = book_.sheet;
  if (cmd == "grid") {
    gridRect_ = {Int(w, 1), Int(w, 2), Int(w, 3), Int(w, 4)};
    windows_->MoveGrid(gridRect_);
  } else if (cmd == "resize") {
    gridRect_ = {Int(w, 1), Int(w, 2), Int(w, 3), Int(w, 4)};
    windows_->MoveGrid(gridRect_);
    std::vector<Variant> args;
    args.push_back(Variant::Object(static_cast<IDispatch*>(MakeNamed("Workbook").Get())));
    args.push_back(Variant::Object(static_cast<IDispatch*>(MakeNamed("Window").Get())));
    CallAddIn("WindowResize", [&] { return app_->Fire(win32::kIidAppEvents, excel::kWindowResize, args); });
  } else if (cmd == "zoom") {
    sheet.zoom = Int(w, 1);
    windows_->RepaintAll();
  } else if (cmd == "version") {
    if (w.size() < 2) throw ScriptError("'version' needs a text");
    sheet.version = RestAfterWords(line, 1);
  } else if (cmd == "row-height") {
    sheet.SetRowHeight(Int(w, 1), Number(w, 2));
    windows_->RepaintAll();
  } else if (cmd == "col-width") {
    auto column = w.size() > 1 ? sim::ParseColumn(w[1]) : std::nullopt;
    if (!column) throw ScriptError("'col-width' needs a column letter or number");
    sheet.SetColumnWidth(*column, Number(w, 2));
    windows_->RepaintAll();
  } else if (cmd == "set") {
    const auto cell = AreaArg(w).first;
    sheet.SetText(cell, RestAfterWords(line, 2));
    windows_->RepaintCell(cell);
  } else if (cmd == "select") {
    Select(AreaArg(w));
  } else if (cmd == "select-object") {
    sheet.objectSelected = true;
    windows_->RepaintCell(sheet.active);
  } else if (cmd == "scroll") {
    const sim::CellRef before = sheet.scroll;
    sheet.scroll = {std::clamp(Int(w, 1), 1, sim::SheetModel::kMaxRows),
                    std::clamp(Int(w, 2), 1, sim::SheetModel::kMaxColumns)};
    const int dx = sheet.ColumnEdge(before.column), dy = sheet.RowEdge(before.row);
    windows_->ScrollBy(dx, dy);
  } else if (cmd == "activate-sheet" || cmd == "activate-workbook" || cmd == "print") {
    std::vector<Variant> args;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    args.push_back(
        Variant::Object(static_cast<IDispatch*>(MakeNamed(cmd == "activate-sheet" ? "Worksheet" : "Workbook").Get())));
    if (cmd == "print") args.push_back(Variant::BoolRef(&cancel));
    const DISPID id = cmd == "activate-sheet"      ? excel::kSheetActivate
                      : cmd == "activate-workbook" ? excel::kWorkbookActivate
                                                   : excel::kWorkbookBeforePrint;
    CallAddIn(cmd.c_str(), [&] { return app_->Fire(win32::kIidAppEvents, id, args); });
  } else if (cmd == "gate") {
    if (w.size() < 2 || (w[1] != "on" && w[1] != "off")) throw ScriptError("'gate' takes on or off");
    auto file = bars_.Store().Find("File");
    if (!file || file->controls.size() < 2) throw ScriptError("the host has no \"File\" bar with two controls");
    file->controls[1]->enabled = w[1] == "on" ? platform::kTrue : platform::kFalse;
  } else if (cmd == "tick") {
    const int n = w.size() > 1 ? Int(w, 1) : 1;
    for (int i = 0; i < n; ++i) Tick();
  } else if (cmd == "snapshot") {
    if (w.size() < 2) throw ScriptError("'snapshot' needs a file name");
    PumpWithoutTimers();
    Snapshot(w[1]);
  } else if (cmd == "state") {
    PumpWithoutTimers();
    out << StateJson() << "\n";
    out.flush();
  } else {
    throw ScriptError("the stand-in does not offer '" + cmd + "'");
  }
}

void HostSession::Select(const sim::Area& area) {
  auto& sheet = book_.sheet;
  const sim::CellRef previous = sheet.active;
  sheet.selection = area;
  sheet.active = area.first;
  sheet.objectSelected = false;
  windows_->PlaceCaret();
  windows_->RepaintCell(previous);
  windows_->RepaintCell(sheet.active);
  RaiseSelectionChange();
}

void HostSession::UserSelects(const sim::Area& area, bool pump) {
  if (!started_) StartHost();
  Select(area);
  if (pump) PumpWithoutTimers();
}

void HostSession::PumpNow() { PumpWithoutTimers(); }

void HostSession::RaiseSelectionChange() {
  std::vector<Variant> args;
  args.push_back(Variant::Object(static_cast<IDispatch*>(MakeNamed("Worksheet").Get())));
  args.push_back(Variant::Object(static_cast<IDispatch*>(MakeRange(book_, book_.sheet.selection).Get())));
  CallAddIn("SheetSelectionChange",
            [&] { return app_->Fire(win32::kIidAppEvents, excel::kSheetSelectionChange, args); });
}

// The add-in's next timer message, dispatched as the host's loop would, when one comes.
void HostSession::Tick() {
  const DWORD until = GetTickCount() + 1000;
  MSG msg;
  while (GetTickCount() < until) {
    PumpWithoutTimers();
    if (windows_ && PeekMessageW(&msg, windows_->Main(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
      CallAddIn("timer", [&] {
        DispatchMessageW(&msg);
        return S_OK;
      });
      return;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool HostSession::TimerMessageArrives(DWORD withinMs) {
  if (!windows_) return false;
  const DWORD until = GetTickCount() + withinMs;
  MSG msg;
  while (GetTickCount() < until) {
    PumpWithoutTimers();
    if (PeekMessageW(&msg, windows_->Main(), WM_TIMER, WM_TIMER, PM_NOREMOVE)) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return false;
}

void HostSession::StartHost() {
  if (windows_) {
    // The previous run ends without telling the add-in, as when the host is ended from outside.
    CloseForms();
    addin_.Reset();
    windows_.reset();
  }
  started_ = true;
  bars_.NewRun();
  windows_ = std::make_unique<HostWindows>(book_.sheet, gridRect_);
  PumpWithoutTimers();
  Load(1);  // ext_cm_Startup
  if (addin_) {
    ComPtr<IDTExtensibility2> ext;
    addin_->QueryInterface(__uuidof(IDTExtensibility2), ext.PutVoid());
    CustomArray custom;
    if (ext) CallAddIn("OnStartupComplete", [&] { return ext->OnStartupComplete(custom.Ptr()); });
  }
}

void HostSession::Load(int connectMode) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"Rowtint.Connect", &clsid);
  if (FAILED(hr)) throw ScriptError("\"Rowtint.Connect\" is not registered");
  ComPtr<IDTExtensibility2> ext;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2), ext.PutVoid());
  if (FAILED(hr) || !ext) throw ScriptError("CoCreateInstance of Rowtint.Connect failed");
  auto addInInst = MakeNamed("COMAddIn");
  CustomArray custom;
  CallAddIn("OnConnection", [&] {
    return ext->OnConnection(static_cast<IDispatch*>(app_.Get()), static_cast<ext_ConnectMode>(connectMode),
                             static_cast<IDispatch*>(addInInst.Get()), custom.Ptr());
  });
  addin_.Reset();
  ext->QueryInterface(IID_IDispatch, addin_.PutVoid());
  g_launched = &launched_;
  const HMODULE dll = GetModuleHandleW(L"Rowtint.dll");
  if (!PatchImport(dll, "kernel32.dll", "CreateProcessW", reinterpret_cast<void*>(&RecordCreateProcess)) ||
      !PatchImport(dll, "shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&RecordShellExecute)))
    throw ScriptError("cannot watch what the add-in launches");
}

void HostSession::Unload() {
  if (!addin_) throw ScriptError("the add-in is not loaded");
  ComPtr<IDTExtensibility2> ext;
  addin_->QueryInterface(__uuidof(IDTExtensibility2), ext.PutVoid());
  CustomArray custom;
  if (ext) CallAddIn("OnDisconnection", [&] { return ext->OnDisconnection(ext_dm_UserClosed, custom.Ptr()); });
  ext.Reset();
  addin_.Reset();
  CoFreeUnusedLibraries();
}

void HostSession::ShutdownHost() {
  if (!windows_) throw ScriptError("the host is not running");
  if (addin_) {
    ComPtr<IDTExtensibility2> ext;
    addin_->QueryInterface(__uuidof(IDTExtensibility2), ext.PutVoid());
    CustomArray custom;
    if (ext) {
      CallAddIn("OnBeginShutdown", [&] { return ext->OnBeginShutdown(custom.Ptr()); });
      CallAddIn("OnDisconnection", [&] { return ext->OnDisconnection(ext_dm_HostShutdown, custom.Ptr()); });
    }
    ext.Reset();
    addin_.Reset();
  }
  windows_.reset();
  CoFreeUnusedLibraries();
  PumpWithoutTimers();
}

void HostSession::Click(const std::string& name) {
  if (!windows_) throw ScriptError("the host is not running");
  auto& store = bars_.Store();
  const bool menuOnly = name.rfind("menu:", 0) == 0;
  const std::string caption = menuOnly ? name.substr(5) : name;
  std::shared_ptr<sim::ControlNode> target;
  if (!menuOnly)
    for (const auto& bar : store.bars)
      if (bar->name == "Rowtint" && !target) target = FindControl(bar->controls, true, caption);
  if (!target && store.activeMenuBar) {
    auto popup = FindControl(store.activeMenuBar->controls, false, "Rowtint");
    if (popup && popup->popupBar) target = FindControl(popup->popupBar->controls, false, caption);
  }
  if (!target) throw ScriptError("the host shows no button '" + name + "'");
  CallAddIn("Click", [&] { return bars_.Click(target); });
}

void HostSession::Snapshot(const std::string& file) {
  const auto path = (std::filesystem::path(outDir_) / file).string();
  if (!CaptureScreen().WritePng(path)) throw ScriptError("cannot write " + path);
}

HWND HostSession::ShownForm() const {
  for (HWND window : ThreadWindows())
    if (IsWindowVisible(window) && ClassOf(window) == "RowtintFormWindow") return window;
  return nullptr;
}

void HostSession::CloseForms() {
  for (HWND window : ThreadWindows())
    if (IsWindowVisible(window) && ClassOf(window) == "RowtintFormWindow")
      PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void HostSession::FormCommand(const std::vector<std::string>& w) {
  HWND form = ShownForm();
  if (!form) throw ScriptError("no form is shown");
  if (w.size() < 2) throw ScriptError("'form' takes click, move or close");
  if (!IsWindowEnabled(form))
    throw ScriptError("'form' needs the form, which is disabled while the colour dialog is shown");
  if (w[1] == "close") {
    PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  if ((w[1] != "click" && w[1] != "move") || w.size() != 3) throw ScriptError("'form' takes click, move or close");
  const auto at = FormPoint(form, w[2]);
  if (!at) throw ScriptError("the form has no control '" + w[2] + "'");
  // The pointer goes there, and the button goes down and up where it is, as a user's would.
  POINT onScreen = *at;
  ClientToScreen(form, &onScreen);
  SetCursorPos(onScreen.x, onScreen.y);
  const LPARAM where = MAKELPARAM(at->x, at->y);
  if (w[1] == "move") {
    PostMessageW(form, WM_MOUSEMOVE, 0, where);
    return;
  }
  PostMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(form, WM_LBUTTONUP, 0, where);
}

}  // namespace rowtint::host
