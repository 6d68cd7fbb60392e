// The add-in's ribbon group in the stand-in, as Office keeps it: asked for
// after connecting, from version 12.0 on; asked again for the controls the
// add-in invalidated when a line ends, as Office does when it next draws the
// ribbon; let go of when the add-in is.
#include <cstdlib>
#include <stdexcept>

#include "host_session.h"
#include "ribbon_callbacks.h"
#include "ribbon_msxml.h"
#include "rowtint_idl.h"

namespace rowtint::host {

void HostSession::ConnectRibbon() {
  DisconnectRibbon();
  // Excel 2003 and before have no ribbon and never ask.
  if (!addin_ || std::atof(Model().Sheet().version.c_str()) < 12.0) return;
  win32::ComPtr<IRibbonExtensibility> extensibility;
  addin_->QueryInterface(__uuidof(IRibbonExtensibility), extensibility.PutVoid());
  // Office passes over an add-in that does not extend the ribbon.
  if (!extensibility) return;
  win32::Bstr ribbonId(L"Microsoft.Excel.Workbook");
  win32::Bstr text;
  CallAddIn("GetCustomUI", [&] { return extensibility->GetCustomUI(ribbonId.Get(), text.Put()); });
  if (SysStringLen(text.Get()) == 0) return;
  sim::RibbonXml xml;
  try {
    xml = ParseRibbonXml(text.Get());
  } catch (const std::runtime_error& e) {
    errors_.push_back(e.what());
    return;
  }
  ribbonCallbacks_ = DispatchRibbonCallbacks(
      addin_, [this] { return app_ ? win32::fakes::AsDispatch(app_) : win32::ComPtr<IDispatch>(); }, ribbon_,
      [this](const char* what, const std::function<HRESULT()>& invoke) { CallAddIn(what, invoke); });
  ribbon_.Load(std::move(xml), *ribbonCallbacks_);
}

void HostSession::DisconnectRibbon() {
  ribbon_.Unload();
  ribbonCallbacks_.reset();
}

void HostSession::RefreshRibbon() {
  ribbon_.Refresh();
  for (auto& error : ribbon_.TakeErrors()) errors_.push_back(std::move(error));
  if (windows_) windows_->ShowRibbon(ribbon_);
}

}  // namespace rowtint::host
