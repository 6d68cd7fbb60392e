#include "server/connect_server.h"

#include "platform/win32/excel_adapters.h"
#include "platform/win32/boundaries.h"
#include "platform/win32/hresult_errors.h"

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
    if (const auto& app = connect_.appHostApp.Get()) *result = DispatchOf(*app).Detach();
    return S_OK;
  });
}

STDMETHODIMP ConnectServer::putref_appHostApp(IDispatch* value) {
  return ComBoundary([&] {
    if (value)
      connect_.appHostApp.Set(ApplicationFromDispatch(value));
    else
      connect_.appHostApp.Reset();
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

STDMETHODIMP ConnectServer::InterfaceSupportsErrorInfo(REFIID riid) {
  return riid == __uuidof(_Connect) || riid == __uuidof(IDTExtensibility2) ? S_OK : S_FALSE;
}

}  // namespace rowtint::win32
