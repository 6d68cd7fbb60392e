// IDispatch for a dual interface of the add-in's own type library: names and
// calls are resolved by the interface's type information, so late-bound
// callers (a host calling OnConnection by name) reach the same vtable methods
// as early-bound ones. With another interface of the object as `Default`, a
// name the interface lacks is resolved on that one when its DISPID lies in
// [`From`, `To`], and so is a call of such a DISPID: Office finds the ribbon's
// callbacks by name on whichever IDispatch of the object it holds, while the
// default interface's other members stay its own.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <type_traits>

#include "platform/win32/com_ptr.h"

namespace rowtint::win32 {

// The type information of one interface of the add-in's type library, read
// from the library's own resources.
ComPtr<ITypeInfo> OwnTypeInfo(REFGUID guid);

template <class I, class Default = I, DISPID From = 0, DISPID To = -1>
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
    const HRESULT hr = DispGetIDsOfNames(type.Get(), names, count, ids);
    if constexpr (!std::is_same_v<I, Default>) {
      if (hr == DISP_E_UNKNOWNNAME && count > 0) {
        ComPtr<ITypeInfo> fallback = DefaultTypeInfo();
        if (fallback && SUCCEEDED(DispGetIDsOfNames(fallback.Get(), names, count, ids)) && Forwarded(ids[0]))
          return S_OK;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
      }
    }
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> type = TypeInfo();
    if (!type) return TYPE_E_CANTLOADLIBRARY;
    const HRESULT hr = DispInvoke(static_cast<I*>(this), type.Get(), id, flags, params, result, exception, argError);
    if constexpr (!std::is_same_v<I, Default>) {
      if (hr == DISP_E_MEMBERNOTFOUND && Forwarded(id)) {
        ComPtr<ITypeInfo> fallback = DefaultTypeInfo();
        auto* other = dynamic_cast<Default*>(static_cast<I*>(this));
        if (fallback && other) return DispInvoke(other, fallback.Get(), id, flags, params, result, exception, argError);
      }
    }
    return hr;
  }

 private:
  static constexpr bool Forwarded(DISPID id) { return id >= From && id <= To; }
  // Loaded on first use and kept by the object, not by the library: nothing
  // of COM's is left to release while the library unloads.
  ComPtr<ITypeInfo> TypeInfo() {
    if (!typeInfo_) typeInfo_ = OwnTypeInfo(__uuidof(I));
    return typeInfo_;
  }
  ComPtr<ITypeInfo> DefaultTypeInfo() {
    if (!defaultTypeInfo_) defaultTypeInfo_ = OwnTypeInfo(__uuidof(Default));
    return defaultTypeInfo_;
  }
  ComPtr<ITypeInfo> typeInfo_;
  ComPtr<ITypeInfo> defaultTypeInfo_;
};

}  // namespace rowtint::win32
