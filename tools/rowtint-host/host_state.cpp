// What `state` prints for the stand-in: only what a host sees from outside
// the add-in, under the simulator's key names where the meaning is the same.
#include "host_session.h"
#include "bars_json.h"
#include "dll_watch.h"
#include "json_writer.h"
#include "live_gdi_objects.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::host {
namespace {
using simcli::JsonWriter;
using simcli::WriteBars;
using simcli::WriteClicksHandled;
using simcli::WriteFindOptions;
using simcli::WriteSelection;
using simcli::WriteWorkbooks;

// The store's string values, as "SECTION/key": text.
void WriteSettings(JsonWriter& j) {
  j.Key("settings").BeginObject();
  win32::UniqueKey app;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Tintrow", 0, KEY_READ, &opened) ==
      ERROR_SUCCESS) {
    app.Reset(opened);
    wchar_t section[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(app.Get(), i, section, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      win32::UniqueKey key;
      if (RegOpenKeyExW(app.Get(), section, 0, KEY_READ, &opened) != ERROR_SUCCESS) continue;
      key.Reset(opened);
      for (DWORD v = 0;; ++v) {
        wchar_t name[256];
        wchar_t data[1024] = {};
        DWORD nameLength = 256, dataSize = sizeof(data) - sizeof(wchar_t), type = 0;
        if (RegEnumValueW(key.Get(), v, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
          break;
        // Only string values are the store's; anything else shows as what it is.
        const std::string text = type == REG_SZ ? win32::Narrow(data) : "<type " + std::to_string(type) + ">";
        j.Key(win32::Narrow(section) + "/" + win32::Narrow(name)).Text(text);
      }
    }
  }
  j.EndObject();
}

// Whose window is in front: another program's, a form of the add-in's, a
// dialog (the colour dialog or a message box), or the host's own.
std::string ForegroundOwner() {
  const HWND front = GetForegroundWindow();
  DWORD owner = 0;
  if (!front || !GetWindowThreadProcessId(front, &owner) || owner != GetCurrentProcessId()) return "other";
  wchar_t type[64] = {};
  GetClassNameW(front, type, 64);
  if (std::wstring(type) == L"RowtintFormWindow") return "form";
  if (std::wstring(type) == L"#32770") return "dialog";
  return "host";
}
}  // namespace

std::string HostSession::StateJson() {
  JsonWriter j;
  j.BeginObject();
  WriteSelection(j, model_ ? &model_->Sheet() : nullptr);
  WriteWorkbooks(j, model_.get());
  WriteFindOptions(j, model_ ? &model_->lastSearch : nullptr);
  j.Key("timer").BeginObject().Key("running").Bool(TimerMessageArrives(700)).EndObject();
  WriteSettings(j);
  WriteBars(j, *bars_);
  simcli::WriteRibbon(j, ribbon_);
  WriteClicksHandled(j, *bars_, ribbon_);
  j.Key("forms").BeginObject();
  for (HWND window :
       {FindWindowW(L"RowtintFormWindow", L"Option"), FindWindowW(L"RowtintFormWindow", L"About Rowtint")}) {
    if (!window || !IsWindowVisible(window)) continue;
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    j.Key(std::wstring(caption) == L"Option" ? "fm_Option" : "fm_About")
        .BeginObject()
        .Key("visible")
        .Bool(true)
        .EndObject();
  }
  j.EndObject();
  j.Key("messages").BeginArray();
  for (const auto& m : messages_) j.Text(m);
  j.EndArray();
  messages_.clear();
  j.Key("launched").BeginArray();
  for (const auto& l : launched_) j.Text(l);
  j.EndArray();
  launched_.clear();
  j.Key("launchedApplications").BeginArray();
  for (const auto& a : launchedApplications_) j.Text(a);
  j.EndArray();
  launchedApplications_.clear();
  j.Key("gdiObjects").Value(static_cast<std::int64_t>(LiveGdiObjects()));
  j.Key("errors").BeginArray();
  for (const auto& e : errors_) j.Text(e);
  j.EndArray();
  errors_.clear();
  j.Key("foregroundChanges").Value(TakeForegroundChanges());
  j.Key("foregroundOwner").Text(ForegroundOwner());
  j.Key("refusedCalls").Value(static_cast<std::int64_t>(model_ ? model_->TakeRefusedCalls() : 0));
  j.Key("hostEnabled").Bool(windows_ && IsWindowEnabled(windows_->Main()));
  j.Key("focusInGrid").Bool(windows_ && GetFocus() == windows_->Grid());
  j.Key("comReferences").Value(OutstandingReferences());
  j.EndObject();
  return j.str();
}

long HostSession::OutstandingReferences() {
  // Every automation object of the stand-in's alive but the Application is the add-in's;
  // of the Application's references, all but the stand-in's own.
  if (!app_) return win32::fakes::LiveFakes();
  return (win32::fakes::LiveFakes() - 1) + (static_cast<long>(app_->References()) - 1);
}

}  // namespace rowtint::host
