// IDispatch for a dual interface of the add-in's own type library: names and
// calls are resolved by the interface's type information, so late-bound
// callers (a host calling OnConnection by name) reach the same vtable methods
// as early-bound ones.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/win32/com_ptr.h"

namespace rowtint::win32 {

// The type information of one interface of the add-in's type library, read
// from the library's own resources.
ComPtr<ITypeInfo> OwnTypeInfo(REFGUID guid);

template <class I>
class DualDispatch : public I {
 public:
  using Interface = I;

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ComPtr<ITypeInfo> type = TypeInfo();
    if (!type) return TYPE_E_CANTLOADLIBRARY;
    *info = type.Detach();
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> type = TypeInfo();
    if (!type) return TYPE_E_CANTLOADLIBRARY;
    return DispGetIDsOfNames(type.Get(), names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> type = TypeInfo();
    if (!type) return TYPE_E_CANTLOADLIBRARY;
    return DispInvoke(static_cast<I*>(this), type.Get(), id, flags, params, result, exception, argError);
  }

 private:
  // Loaded on first use and kept by the object, not by the library: nothing
  // of COM's is left to release while the library unloads.
  ComPtr<ITypeInfo> TypeInfo() {
    if (!typeInfo_) typeInfo_ = OwnTypeInfo(__uuidof(I));
    return typeInfo_;
  }
  ComPtr<ITypeInfo> typeInfo_;
};

}  // namespace rowtint::win32
