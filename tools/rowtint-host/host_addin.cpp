// The host's life and the add-in's in the stand-in: the host starts over the
// model of its sheet and bars, creates Rowtint.Connect and connects it as
// Excel does, shuts down, unloads and loads it.
#include "dll_surfaces.h"
#include "dll_watch.h"
#include "host_automation.h"
#include "host_session.h"
#include "import_patch.h"
#include "platform/win32/hresult_errors.h"
#include "rowtint_idl.h"

namespace rowtint::host {
namespace {
using win32::ComPtr;

// What the add-in launched since the last `state`, as the simulator words it,
// and the programs it named for the processes it started.
std::vector<std::string>* g_launched = nullptr;
std::vector<std::string>* g_applications = nullptr;

BOOL WINAPI RecordCreateProcess(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                                BOOL, DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION started) {
  if (g_launched) g_launched->push_back(win32::Narrow(commandLine ? commandLine : application ? application : L""));
  if (g_applications) g_applications->push_back(win32::Narrow(application ? application : L""));
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
}  // namespace

void HostSession::Start() {
  // A previous run ends without telling the add-in, as when the host is ended from outside.
  EndHost();
  started_ = true;
  bars_->DropTemporary();
  windows_ = std::make_unique<HostWindows>(gridRect_, errors_);
  model_ = sim::ExcelModel::Create(*windows_, bars_, calls_);
  if (workbook_) model_->Sheet() = *workbook_;
  windows_->Show(*model_);
  app_ = WrapApplication(model_->Application(),
                         [this](const char* what, const std::function<HRESULT()>& invoke) { CallAddIn(what, invoke); });
  PumpNow();
  LoadAddIn(1);  // ext_cm_Startup
  if (addin_) {
    ComPtr<IDTExtensibility2> ext;
    addin_->QueryInterface(__uuidof(IDTExtensibility2), ext.PutVoid());
    CustomArray custom;
    if (ext) CallAddIn("OnStartupComplete", [&] { return ext->OnStartupComplete(custom.Ptr()); });
  }
}

// The host's windows close, and the sheet is kept for its next start.
void HostSession::EndHost() {
  // A held timer message goes with the host's queue.
  held_.reset();
  CloseForms();
  away_.reset();
  cover_.reset();
  DisconnectRibbon();
  addin_.Reset();
  kept_.Reset();
  app_.Reset();
  if (model_) workbook_ = model_->Sheet();
  model_.reset();
  windows_.reset();
}

void HostSession::LoadAddIn(int connectMode) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"Rowtint.Connect", &clsid);
  if (FAILED(hr)) throw ScriptError("\"Rowtint.Connect\" is not registered");
  ComPtr<IDTExtensibility2> ext;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2), ext.PutVoid());
  if (FAILED(hr) || !ext) throw ScriptError("CoCreateInstance of Rowtint.Connect failed");
  // Before the add-in first looks at the screen: the grid's resolution and its foreground calls.
  if (!WatchAddIn(GetModuleHandleW(L"Rowtint.dll"))) throw ScriptError("cannot watch the add-in's system calls");
  // The checks of the screen are counted from the connection on.
  ResetScreenChecks();
  auto addInInst = win32::fakes::FakeDispatch::Create("COMAddIn");
  addInInst->Unrecorded();
  CustomArray custom;
  CallAddIn("OnConnection", [&] {
    return ext->OnConnection(static_cast<IDispatch*>(app_.Get()), static_cast<ext_ConnectMode>(connectMode),
                             static_cast<IDispatch*>(addInInst.Get()), custom.Ptr());
  });
  // The object an `unload keep` held on to goes once the new connection is made.
  kept_.Reset();
  addin_.Reset();
  ext->QueryInterface(IID_IDispatch, addin_.PutVoid());
  g_launched = &launched_;
  g_applications = &launchedApplications_;
  const HMODULE dll = GetModuleHandleW(L"Rowtint.dll");
  if (!PatchImport(dll, "kernel32.dll", "CreateProcessW", reinterpret_cast<void*>(&RecordCreateProcess)) ||
      !PatchImport(dll, "shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&RecordShellExecute)))
    throw ScriptError("cannot watch what the add-in launches");
  ConnectRibbon();
}

void HostSession::Unload(bool keep) {
  ComPtr<IDTExtensibility2> ext;
  addin_->QueryInterface(__uuidof(IDTExtensibility2), ext.PutVoid());
  CustomArray custom;
  if (ext) CallAddIn("OnDisconnection", [&] { return ext->OnDisconnection(ext_dm_UserClosed, custom.Ptr()); });
  DisconnectRibbon();
  ext.Reset();
  if (keep) {
    kept_ = std::move(addin_);
    return;
  }
  addin_.Reset();
  CoFreeUnusedLibraries();
}

void HostSession::Release() {
  kept_.Reset();
  CoFreeUnusedLibraries();
}

void HostSession::Shutdown() {
  Model();
  if (addin_) {
    ComPtr<IDTExtensibility2> ext;
    addin_->QueryInterface(__uuidof(IDTExtensibility2), ext.PutVoid());
    CustomArray custom;
    if (ext) {
      CallAddIn("OnBeginShutdown", [&] { return ext->OnBeginShutdown(custom.Ptr()); });
      CallAddIn("OnDisconnection", [&] { return ext->OnDisconnection(ext_dm_HostShutdown, custom.Ptr()); });
    }
    DisconnectRibbon();
    ext.Reset();
    addin_.Reset();
  }
  kept_.Reset();
  EndHost();
  CoFreeUnusedLibraries();
  PumpNow();
}

void HostSession::Close() {
  if (model_) Shutdown();
  g_launched = nullptr;
  g_applications = nullptr;
}

}  // namespace rowtint::host
