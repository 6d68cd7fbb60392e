// The COM class Rowtint.Connect: the add-in's connection object as Excel
// sees it, with its default interface _Connect (which carries the ribbon's
// callbacks), IDTExtensibility2 and IRibbonExtensibility, all dual. Every
// method hands over to the portable Connect and gives its failure back as the
// method's HRESULT.
#pragma once

#include <windows.h>

#include "addin/connect.h"
#include "platform/win32/com_object.h"
#include "server/dual_dispatch.h"
#include "rowtint_idl.h"

namespace rowtint::win32 {

// The DISPIDs of the ribbon's callbacks in _Connect.
inline constexpr DISPID kFirstRibbonCallback = 0x60040001;
inline constexpr DISPID kLastRibbonCallback = 0x6004FFFF;
template <class I>
using WithRibbonCallbacks = DualDispatch<I, _Connect, kFirstRibbonCallback, kLastRibbonCallback>;
using ConnectBase = ComObject<class ConnectServer, DualDispatch<_Connect>, WithRibbonCallbacks<IDTExtensibility2>,
                              WithRibbonCallbacks<IRibbonExtensibility>, ISupportErrorInfo>;

class ConnectServer : public ConnectBase {
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
  STDMETHODIMP RibbonLoad(IDispatch* ribbon) override;
  STDMETHODIMP RibbonAction(IDispatch* control) override;
  STDMETHODIMP RibbonToggle(IDispatch* control, VARIANT_BOOL pressed) override;
  STDMETHODIMP RibbonPressed(IDispatch* control, VARIANT_BOOL* result) override;
  STDMETHODIMP RibbonEnabled(IDispatch* control, VARIANT_BOOL* result) override;
  STDMETHODIMP RibbonImage(IDispatch* control, IDispatch** result) override;

  // IRibbonExtensibility
  STDMETHODIMP GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) override;

  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

 private:
  friend ConnectBase;
  explicit ConnectServer(addin::Library& library) : connect_(library) {}
  ~ConnectServer() override = default;

  addin::Connect connect_;
};

}  // namespace rowtint::win32
