// How the stand-in's automation objects call the simulator's model objects:
// each member is a plain function over the model object that may raise the
// platform's errors; the wrapper turns a raised error into the host exception
// a caller of Invoke receives, so none crosses Invoke.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

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

inline bool IsPut(const ReceivedCall& call) {
  return (call.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
}

// The value a property put passes.
inline const Variant& PutValue(const ReceivedCall& call) {
  const Variant* value = call.Named(DISPID_PROPERTYPUT);
  if (!value) platform::Raise(platform::err::kInvalidCall, "Invalid procedure call or argument");
  return *value;
}

// One member of an interface's table: its DISPID and what it does with the model object.
template <class T>
struct Row {
  DISPID id;
  std::function<Variant(T&, const ReceivedCall&)> call;
};

// Binds a fake shaped like the host's object (its members and argument names
// defined) to a model object through the interface's table.
template <class T>
win32::ComPtr<win32::fakes::FakeDispatch> Bind(win32::ComPtr<win32::fakes::FakeDispatch> fake,
                                               const std::shared_ptr<T>& object, const std::vector<Row<T>>& table) {
  fake->Unrecorded();
  for (const auto& row : table)
    fake->On(row.id, Member([object, call = row.call](const ReceivedCall& c) { return call(*object, c); }));
  return fake;
}

// How the stand-in delivers one event into an add-in's sink: `invoke` makes
// the call, which the stand-in names `what` when it fails.
using Deliver = std::function<void(const char* what, const std::function<HRESULT()>& invoke)>;

// Raises an event into one sink, `args` first declared first.
inline void RaiseInto(const Deliver& deliver, IDispatch* sink, const char* what, DISPID event,
                      std::vector<Variant>& args) {
  deliver(what, [&] { return win32::fakes::InvokeEvent(sink, event, args); });
}

}  // namespace rowtint::host
