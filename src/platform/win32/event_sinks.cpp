#include "platform/win32/event_sinks.h"

#include <ocidl.h>

#include <new>

#include "platform/error.h"
#include "platform/win32/com_object.h"
#include "platform/win32/command_bar_adapters.h"
#include "platform/win32/excel_adapters.h"
#include "platform/win32/excel_com_ids.h"
#include "platform/win32/boundaries.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {
namespace host = platform::host;

constexpr std::int32_t kNoSuchEvents = 459;

// One event's arguments by their declared position, first to last, read
// from DISPPARAMS, which holds them last first.
class EventArgs {
 public:
  EventArgs(const DISPPARAMS* params, UINT* argError) noexcept : params_(params), argError_(argError) {}

  bool CountIs(UINT count) const noexcept {
    return params_ && params_->cArgs == count && params_->cNamedArgs == 0 && (count == 0 || params_->rgvarg);
  }
  // An object argument (Nothing is an object too); false when it is something else.
  bool Object(UINT declared, IDispatch*& out) const noexcept {
    const VARIANT& v = At(declared);
    if (V_VT(&v) == VT_DISPATCH) {
      out = V_DISPATCH(&v);
      return true;
    }
    if (V_VT(&v) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(&v)) {
      out = *V_DISPATCHREF(&v);
      return true;
    }
    return Mismatch(declared);
  }
  // A Boolean passed by reference; null when it is something else.
  VARIANT_BOOL* BoolRef(UINT declared) const noexcept {
    const VARIANT& v = At(declared);
    if (V_VT(&v) == (VT_BOOL | VT_BYREF) && V_BOOLREF(&v)) return V_BOOLREF(&v);
    Mismatch(declared);
    return nullptr;
  }

 private:
  UINT Slot(UINT declared) const noexcept { return params_->cArgs - 1 - declared; }
  const VARIANT& At(UINT declared) const noexcept { return params_->rgvarg[Slot(declared)]; }
  bool Mismatch(UINT declared) const noexcept {
    if (argError_) *argError_ = Slot(declared);
    return false;
  }

  const DISPPARAMS* params_;
  UINT* argError_;
};

// The handler's value of a by-reference Boolean goes back into the host's
// variable however the handler ends, as it would had it written there itself.
class BoolWriteBack {
 public:
  explicit BoolWriteBack(VARIANT_BOOL* target) noexcept : target_(target), value_(*target) {}
  BoolWriteBack(const BoolWriteBack&) = delete;
  BoolWriteBack& operator=(const BoolWriteBack&) = delete;
  ~BoolWriteBack() { *target_ = value_; }
  platform::VbBool& Value() noexcept { return value_; }

 private:
  VARIANT_BOOL* target_;
  platform::VbBool value_;
};

// A dispinterface sink: answers IDispatch and the event interface, and
// hands each event to the add-in's handlers until its connection ends.
template <class Derived, class Events, const IID& kEvents>
class EventSink : public ComObject<Derived, IDispatch> {
 public:
  EventSink(Events& events, std::shared_ptr<DispidCache> names) noexcept : names_(std::move(names)), events_(&events) {}

  // After this the handlers are never called again.
  void Detach() noexcept { events_ = nullptr; }

  void* QueryOther(REFIID riid) { return riid == kEvents ? static_cast<IDispatch*>(this) : nullptr; }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
    for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT* argError) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    // A handler may end this very connection; the sink outlives the call.
    const ComPtr<Derived> self(static_cast<Derived*>(this));
    return ComBoundary([&]() -> HRESULT {
      if (!events_) return S_OK;
      return self->Deliver(*events_, id, EventArgs(params, argError));
    });
  }

 protected:
  std::shared_ptr<DispidCache> names_;

 private:
  Events* events_;
};

class AppEventsSink final : public EventSink<AppEventsSink, host::AppEvents, kIidAppEvents> {
 public:
  using EventSink::EventSink;

  HRESULT Deliver(host::AppEvents& events, DISPID id, const EventArgs& args) {
    IDispatch* first = nullptr;
    IDispatch* second = nullptr;
    switch (id) {
      case excel::kSheetActivate:
        if (!args.CountIs(1)) return DISP_E_BADPARAMCOUNT;
        if (!args.Object(0, first)) return DISP_E_TYPEMISMATCH;
        events.SheetActivate(Object(first));
        return S_OK;
      case excel::kSheetSelectionChange:
        if (!args.CountIs(2)) return DISP_E_BADPARAMCOUNT;
        if (!args.Object(0, first) || !args.Object(1, second)) return DISP_E_TYPEMISMATCH;
        events.SheetSelectionChange(Object(first), RangeFromDispatch(second, names_));
        return S_OK;
      case excel::kWindowResize:
        if (!args.CountIs(2)) return DISP_E_BADPARAMCOUNT;
        if (!args.Object(0, first) || !args.Object(1, second)) return DISP_E_TYPEMISMATCH;
        events.WindowResize(Object(first), Object(second));
        return S_OK;
      case excel::kWorkbookActivate:
        if (!args.CountIs(1)) return DISP_E_BADPARAMCOUNT;
        if (!args.Object(0, first)) return DISP_E_TYPEMISMATCH;
        events.WorkbookActivate(Object(first));
        return S_OK;
      case excel::kWorkbookBeforePrint: {
        if (!args.CountIs(2)) return DISP_E_BADPARAMCOUNT;
        VARIANT_BOOL* cancel = nullptr;
        if (!args.Object(0, first) || !(cancel = args.BoolRef(1))) return DISP_E_TYPEMISMATCH;
        BoolWriteBack cancelFlag(cancel);
        events.WorkbookBeforePrint(Object(first), cancelFlag.Value());
        return S_OK;
      }
      case excel::kWorkbookAddinUninstall:
        if (!args.CountIs(1)) return DISP_E_BADPARAMCOUNT;
        if (!args.Object(0, first)) return DISP_E_TYPEMISMATCH;
        events.WorkbookAddinUninstall(Object(first));
        return S_OK;
      default:
        // Excel raises many more Application events; the add-in handles only these.
        return S_OK;
    }
  }

 private:
  std::shared_ptr<host::Object> Object(IDispatch* object) const { return ObjectFromDispatch(object, names_); }
};

class ClickSink final : public EventSink<ClickSink, platform::ButtonEvents, kIidCommandBarButtonEvents> {
 public:
  using EventSink::EventSink;

  HRESULT Deliver(platform::ButtonEvents& events, DISPID id, const EventArgs& args) {
    if (id != office::kClick) return S_OK;
    if (!args.CountIs(2)) return DISP_E_BADPARAMCOUNT;
    IDispatch* ctrl = nullptr;
    VARIANT_BOOL* cancel = nullptr;
    if (!args.Object(0, ctrl) || !(cancel = args.BoolRef(1))) return DISP_E_TYPEMISMATCH;
    BoolWriteBack cancelDefault(cancel);
    events.Click(ButtonFromDispatch(ctrl, names_), cancelDefault.Value());
    return S_OK;
  }
};

// An advised sink; ending it cuts the sink off from the handlers and
// unadvises it before letting go of the connection point and the sink.
template <class Sink>
class SinkConnection final : public host::EventConnection {
 public:
  SinkConnection(ComPtr<IConnectionPoint> point, ComPtr<Sink> sink) noexcept
      : point_(std::move(point)), sink_(std::move(sink)) {}
  SinkConnection(const SinkConnection&) = delete;
  SinkConnection& operator=(const SinkConnection&) = delete;
  ~SinkConnection() override {
    sink_->Detach();
    if (advised_) point_->Unadvise(cookie_);
  }

  HRESULT Advise() noexcept {
    const HRESULT hr = point_->Advise(static_cast<IDispatch*>(sink_.Get()), &cookie_);
    advised_ = SUCCEEDED(hr);
    return hr;
  }

 private:
  ComPtr<IConnectionPoint> point_;
  ComPtr<Sink> sink_;
  DWORD cookie_ = 0;
  bool advised_ = false;
};

template <class Sink, class Events>
std::unique_ptr<host::EventConnection> Advise(const Dispatcher& source, const IID& eventsIid, Events& events,
                                              const char* what) {
  if (!source.Object()) platform::Raise(platform::err::kObjectNotSet, "Object variable or With block variable not set");
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (FAILED(source.Object()->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())) || !container ||
      FAILED(container->FindConnectionPoint(eventsIid, point.Put())) || !point)
    platform::Raise(kNoSuchEvents, "Object or class does not support the set of events");

  ComPtr<Sink> sink = Sink::Create(events, source.Names());
  if (!sink) throw std::bad_alloc();
  auto connection = std::make_unique<SinkConnection<Sink>>(std::move(point), std::move(sink));
  if (const HRESULT hr = connection->Advise(); FAILED(hr)) RaiseFromHresult(hr, nullptr, what);
  return connection;
}
}  // namespace

std::unique_ptr<host::EventConnection> AdviseAppEvents(const Dispatcher& application, host::AppEvents& events) {
  return Advise<AppEventsSink>(application, kIidAppEvents, events, "Application events");
}

std::unique_ptr<host::EventConnection> AdviseButtonClick(const Dispatcher& button, platform::ButtonEvents& events) {
  return Advise<ClickSink>(button, kIidCommandBarButtonEvents, events, "Click");
}

}  // namespace rowtint::win32
