// What the stand-in's automation members do, written as plain functions that
// may raise the platform's errors; the wrapper turns a raised error into the
// host exception a caller of Invoke receives, so none crosses Invoke.
#pragma once

#include "fake_dispatch.h"
#include "platform/error.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::host {

using win32::Variant;
using win32::fakes::Behaviour;
using win32::fakes::ReceivedCall;

// A member that computes its result and may raise.
template <class F>
Behaviour Member(F f) {
  return [f = std::move(f)](const ReceivedCall& call, Variant& result, EXCEPINFO& info) -> HRESULT {
    try {
      result = f(call);
      return S_OK;
    } catch (const platform::PlatformError& e) {
      info.scode = win32::HresultFromErrorNumber(e.Number());
      info.bstrSource = SysAllocString(L"Microsoft Excel");
      info.bstrDescription = SysAllocString(win32::Widen(e.Description()).c_str());
      return DISP_E_EXCEPTION;
    } catch (...) {
      return E_FAIL;
    }
  };
}

// Argument i as the caller passed it (positional first, then by name).
inline const Variant* Arg(const ReceivedCall& call, std::size_t position, DISPID named) {
  if (const Variant* v = call.Named(named)) return v;
  if (position < call.args.size() && call.args[position].Type() != VT_ERROR) return &call.args[position];
  return nullptr;
}

}  // namespace rowtint::host
