// The COM class Rowtint.Connect: the add-in's connection object as Excel
// sees it, with its default interface _Connect and IDTExtensibility2, both
// dual. Every method hands over to the portable Connect and gives its
// failure back as the method's HRESULT.
#pragma once

#include <windows.h>

#include "addin/connect.h"
#include "platform/win32/com_object.h"
#include "server/dual_dispatch.h"
#include "rowtint_idl.h"

namespace rowtint::win32 {

class ConnectServer
    : public ComObject<ConnectServer, DualDispatch<_Connect>, DualDispatch<IDTExtensibility2>, ISupportErrorInfo> {
 public:
  // IDTExtensibility2
  STDMETHODIMP OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch* AddInInst,
                            SAFEARRAY** custom) override;
  STDMETHODIMP OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY** custom) override;
  STDMETHODIMP OnAddInsUpdate(SAFEARRAY** custom) override;
  STDMETHODIMP OnStartupComplete(SAFEARRAY** custom) override;
  STDMETHODIMP OnBeginShutdown(SAFEARRAY** custom) override;

  // _Connect
  STDMETHODIMP get_appHostApp(IDispatch** result) override;
  STDMETHODIMP putref_appHostApp(IDispatch* value) override;
  STDMETHODIMP CreateMubar(IDispatch** result) override;

  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

 private:
  friend class ComObject<ConnectServer, DualDispatch<_Connect>, DualDispatch<IDTExtensibility2>, ISupportErrorInfo>;
  explicit ConnectServer(addin::Library& library) : connect_(library) {}
  ~ConnectServer() override = default;

  addin::Connect connect_;
};

}  // namespace rowtint::win32
