// What `state` prints for the stand-in: only what a host sees from outside
// the add-in, under the simulator's key names where the meaning is the same.
#include "host_session.h"

#include <algorithm>

#include "dll_dpi.h"
#include "dll_surfaces.h"
#include "dll_watch.h"
#include "live_gdi_objects.h"
#include "ribbon_objects.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/hresult_errors.h"
#include "state_json.h"

namespace rowtint::host {
namespace {
using script::JsonWriter;
using script::StateKey;

// The store's string values, as "SECTION/key" and text.
std::vector<std::pair<std::string, std::string>> Settings() {
  std::vector<std::pair<std::string, std::string>> settings;
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
        settings.emplace_back(win32::Narrow(section) + "/" + win32::Narrow(name), text);
      }
    }
  }
  return settings;
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
  script::StateReport report;
  report.model = model_.get();
  report.bars = bars_.get();
  report.ribbon = &ribbon_;
  report.timer.running = TimerMessageArrives(700);
  report.settings = Settings();
  for (HWND window :
       {FindWindowW(L"RowtintFormWindow", L"Option"), FindWindowW(L"RowtintFormWindow", L"About Rowtint")}) {
    if (!window || !IsWindowVisible(window)) continue;
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    report.forms.push_back({std::wstring(caption) == L"Option" ? "fm_Option" : "fm_About", true, {}, {}});
  }
  report.messages = std::exchange(messages_, {});
  report.launched = std::exchange(launched_, {});
  const auto launches = [&](JsonWriter& j) {
    j.Key("launchedApplications").BeginArray();
    for (const auto& a : launchedApplications_) j.Text(a);
    j.EndArray();
    launchedApplications_.clear();
    j.Key("gdiObjects").Value(static_cast<std::int64_t>(LiveGdiObjects()));
  };
  report.errors = std::exchange(errors_, {});
  report.foregroundChanges = TakeForegroundChanges();
  report.foregroundOwner = ForegroundOwner();
  report.across = AskAcross();
  // The surface is what the windows tell: the add-in's overlays owned by the active workbook's main window.
  for (const auto& o : OverlayWindows())
    report.overlays.push_back({reinterpret_cast<platform::WindowHandle>(o.owner), o.visible,
                               platform::Rect{o.rect.left, o.rect.top, o.rect.right, o.rect.bottom},
                               (o.exStyle & WS_EX_LAYERED) != 0, (o.exStyle & WS_EX_TRANSPARENT) != 0,
                               (o.exStyle & WS_EX_NOACTIVATE) != 0, (o.exStyle & WS_EX_TOPMOST) != 0});
  if (addin_ && windows_) {
    const auto main = reinterpret_cast<platform::WindowHandle>(windows_->Main());
    const bool overlay = std::any_of(report.overlays.begin(), report.overlays.end(),
                                     [&](const script::StateReport::Overlay& o) { return o.owner == main; });
    report.surface = script::StateReport::Surface{overlay, ScreenChecks(), std::nullopt};
  }
  if (const auto systemAware = LastDrawingSystemAware())
    report.threadDpi =
        *systemAware ? script::StateReport::DpiContext::System : script::StateReport::DpiContext::Monitor;
  const auto windows = [&](JsonWriter& j) {
    j.Key("hostEnabled").Bool(windows_ && IsWindowEnabled(windows_->Main()));
    j.Key("focusInGrid").Bool(windows_ && GetFocus() == windows_->Grid());
    j.Key("comReferences").Value(OutstandingReferences());
  };
  return script::WriteState(report, {StateKey::Selection,    StateKey::Workbooks,         StateKey::FindOptions,
                                     StateKey::Timer,        StateKey::Settings,          StateKey::Bars,
                                     StateKey::Ribbon,       StateKey::ClicksHandled,     StateKey::Forms,
                                     StateKey::Messages,     StateKey::Launched,          launches,
                                     StateKey::Errors,       StateKey::ForegroundChanges, StateKey::ForegroundOwner,
                                     StateKey::RefusedCalls, StateKey::ThreadDpi,         StateKey::Across,
                                     StateKey::Surface,      StateKey::Overlays,          windows});
}

std::optional<std::string> HostSession::AskAcross() {
  if (!addin_) return std::nullopt;
  std::wstring name = L"RibbonPressed";
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(addin_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return std::nullopt;
  std::optional<std::string> across;
  const std::pair<const char*, const char*> items[] = {
      {"rowtintAcrossRow", "row"}, {"rowtintAcrossColumn", "column"}, {"rowtintAcrossBoth", "both"}};
  for (const auto& [item, way] : items) {
    win32::Variant control = win32::Variant::Object(
        FakeRibbonControl(item, app_ ? win32::fakes::AsDispatch(app_) : win32::ComPtr<IDispatch>()).Get());
    DISPPARAMS params{control.Ptr(), nullptr, 1, 0};
    win32::Variant pressed;
    HRESULT hr = S_OK;
    CallAddIn("RibbonPressed", [&] {
      hr = addin_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, pressed.Put(), nullptr, nullptr);
      return hr;
    });
    if (SUCCEEDED(hr) && pressed.Type() == VT_BOOL && pressed.Ptr()->boolVal != VARIANT_FALSE) across = way;
  }
  return across;
}

long HostSession::OutstandingReferences() {
  // Every automation object of the stand-in's alive but the Application is the add-in's;
  // of the Application's references, all but the stand-in's own.
  if (!app_) return win32::fakes::LiveFakes();
  return (win32::fakes::LiveFakes() - 1) + (static_cast<long>(app_->References()) - 1);
}

}  // namespace rowtint::host
