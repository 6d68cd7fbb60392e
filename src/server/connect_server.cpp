#include "server/connect_server.h"

#include "platform/win32/excel_adapters.h"
#include "platform/win32/boundaries.h"
#include "platform/win32/dispatch_call.h"
#include "platform/win32/hresult_errors.h"
#include "platform/win32/ribbon_adapters.h"

namespace rowtint::win32 {

STDMETHODIMP ConnectServer::OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch* AddInInst,
                                         SAFEARRAY**) {
  return ComBoundary([&] {
    // Taken as Excel's Application before anything else: another object is
    // a type mismatch that touches nothing.
    auto app = ApplicationFromDispatch(Application);
    auto addInInst = AddInInst ? ObjectFromDispatch(AddInInst) : nullptr;
    connect_.OnConnection(app, static_cast<platform::ext_ConnectMode>(ConnectMode), addInInst);
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY**) {
  return ComBoundary([&] {
    connect_.OnDisconnection(static_cast<platform::ext_DisconnectMode>(RemoveMode));
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::OnAddInsUpdate(SAFEARRAY**) {
  return ComBoundary([&] {
    connect_.OnAddInsUpdate();
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::OnStartupComplete(SAFEARRAY**) {
  return ComBoundary([&] {
    connect_.OnStartupComplete();
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::OnBeginShutdown(SAFEARRAY**) {
  return ComBoundary([&] {
    connect_.OnBeginShutdown();
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::get_appHostApp(IDispatch** result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  return ComBoundary([&] {
    if (const auto app = connect_.HostApp()) *result = DispatchOf(*app).Detach();
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::putref_appHostApp(IDispatch* value) {
  return ComBoundary([&] {
    connect_.SetHostApp(value ? ApplicationFromDispatch(value) : nullptr);
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::CreateMubar(IDispatch** result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  return ComBoundary([&] {
    connect_.CreateMubar();  // declared to return a button, it never does
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) {
  if (!RibbonXml) return E_POINTER;
  *RibbonXml = nullptr;
  return ComBoundary([&] {
    // A null BSTR is the empty string.
    const std::string id = RibbonID ? Narrow(RibbonID, static_cast<int>(SysStringLen(RibbonID))) : std::string();
    *RibbonXml = Bstr(connect_.GetCustomUI(id)).Detach();
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::RibbonLoad(IDispatch* ribbon) {
  return ComBoundary([&] {
    connect_.RibbonLoad(RibbonUiFromDispatch(ribbon));
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::RibbonAction(IDispatch* control) {
  return ComBoundary([&] {
    connect_.RibbonAction(RibbonControlId(control));
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::RibbonToggle(IDispatch* control, VARIANT_BOOL pressed) {
  return ComBoundary([&] {
    connect_.RibbonToggle(RibbonControlId(control), pressed != VARIANT_FALSE);
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::RibbonPressed(IDispatch* control, VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  return ComBoundary([&] {
    *result = connect_.RibbonPressed(RibbonControlId(control)) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::RibbonEnabled(IDispatch* control, VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  return ComBoundary([&] {
    *result = connect_.RibbonEnabled(RibbonControlId(control)) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::RibbonImage(IDispatch* control, IDispatch** result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  return ComBoundary([&] {
    const platform::RibbonSwatch swatch = connect_.RibbonImage(RibbonControlId(control));
    *result = SwatchPicture(swatch.color, swatch.pixels).Detach();
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::InterfaceSupportsErrorInfo(REFIID riid) {
  return riid == __uuidof(_Connect) || riid == __uuidof(IDTExtensibility2) || riid == __uuidof(IRibbonExtensibility)
             ? S_OK
             : S_FALSE;
}

}  // namespace rowtint::win32
