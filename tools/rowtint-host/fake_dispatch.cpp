#include "fake_dispatch.h"

#include "fake_parts.h"

#include <olectl.h>

#include <algorithm>
#include <cctype>

#include "platform/win32/hresult_errors.h"

namespace rowtint::win32::fakes {
namespace {
// Asked of a fake to find itself behind an automation object.
constexpr IID kIidFake = {0x5c1e7a10, 0x3d2b, 0x4f6e, {0x9a, 0x41, 0x2b, 0x7d, 0x0e, 0x63, 0x58, 0x11}};

// The caller's argument, copied; the caller keeps its own.
Variant CopyOf(const VARIANT& argument) {
  Variant copy;
  VariantCopy(copy.Ptr(), const_cast<VARIANT*>(&argument));
  return copy;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

}  // namespace

const Variant* ReceivedCall::Named(DISPID id) const {
  for (std::size_t i = 0; i < namedIds.size(); ++i)
    if (namedIds[i] == id) return &named[i];
  return nullptr;
}

// --- Behaviours -----------------------------------------------------------------

Behaviour Returns(Variant value) {
  return [value = std::move(value)](const ReceivedCall&, Variant& result, EXCEPINFO&) {
    result = value;
    return S_OK;
  };
}

Behaviour ReturnsNothing() { return Returns(Variant::Object(nullptr)); }

Behaviour ReturnsEmpty() { return Returns(Variant()); }

Behaviour ReturnsObject(const ComPtr<FakeDispatch>& object) {
  return Returns(Variant::Object(static_cast<IDispatch*>(object.Get())));
}

Behaviour FailsWith(HRESULT hr) {
  return [hr](const ReceivedCall&, Variant&, EXCEPINFO&) { return hr; };
}

Behaviour Raises(HRESULT scode, const std::wstring& description) {
  return [scode, description](const ReceivedCall&, Variant&, EXCEPINFO& info) {
    info.scode = scode;
    info.bstrSource = SysAllocString(L"Microsoft Excel");
    info.bstrDescription = SysAllocString(description.c_str());
    return DISP_E_EXCEPTION;
  };
}

Behaviour Enumerates(std::vector<Variant> items) {
  return [items = std::move(items)](const ReceivedCall&, Variant& result, EXCEPINFO&) {
    result = Variant::Unknown(MakeEnum(items).Get());
    return S_OK;
  };
}

// --- FakeDispatch ---------------------------------------------------------------

FakeDispatch::FakeDispatch(std::string typeName) : typeName_(std::move(typeName)) {}

FakeDispatch::~FakeDispatch() = default;

ComPtr<FakeDispatch> FakeDispatch::Create(std::string typeName) { return ComObject::Create(std::move(typeName)); }

ComPtr<FakeDispatch> FakeDispatch::From(IUnknown* object) {
  IDispatch* self = nullptr;
  if (!object || FAILED(object->QueryInterface(kIidFake, reinterpret_cast<void**>(&self))) || !self) return {};
  return ComPtr<FakeDispatch>::Attach(static_cast<FakeDispatch*>(self));
}

void* FakeDispatch::QueryOther(REFIID riid) {
  if (riid == kIidFake || std::find(interfaces_.begin(), interfaces_.end(), riid) != interfaces_.end())
    return static_cast<IDispatch*>(this);
  return nullptr;
}

ULONG FakeDispatch::References() {
  AddRef();
  return Release();
}

FakeDispatch& FakeDispatch::Unrecorded() {
  recording_ = false;
  return *this;
}

FakeDispatch& FakeDispatch::Implements(const IID& iid) {
  interfaces_.push_back(iid);
  return *this;
}

FakeDispatch& FakeDispatch::Define(DISPID id, std::string name, std::vector<std::string> argNames) {
  auto& entry = members_[id];
  entry.name = std::move(name);
  entry.argNames = std::move(argNames);
  return *this;
}

FakeDispatch& FakeDispatch::On(DISPID id, Behaviour behaviour) {
  members_[id].behaviour = std::move(behaviour);
  return *this;
}

FakeDispatch& FakeDispatch::On(const std::string& name, Behaviour behaviour) {
  return On(IdOf(name), std::move(behaviour));
}

FakeDispatch& FakeDispatch::Property(DISPID id, std::string name, Variant initial) {
  Define(id, std::move(name));
  properties_[id] = std::move(initial);
  return On(id, [this, id](const ReceivedCall& call, Variant& result, EXCEPINFO&) {
    if (call.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      const Variant* value = call.Named(DISPID_PROPERTYPUT);
      if (!value) return DISP_E_PARAMNOTOPTIONAL;
      properties_[id] = *value;
    } else {
      result = properties_[id];
    }
    return S_OK;
  });
}

FakeDispatch& FakeDispatch::Sources(const IID& events) {
  if (!FindEvents(events)) {
    events_.push_back(std::make_unique<Events>());
    events_.back()->iid = events;
  }
  return *this;
}

FakeDispatch& FakeDispatch::OnAdvise(const IID& events, AdviseHook hook) {
  Sources(events);
  FindEvents(events)->hook = std::move(hook);
  return *this;
}

FakeDispatch& FakeDispatch::Wraps(std::shared_ptr<void> object) {
  wrapped_ = std::move(object);
  return *this;
}

DISPID FakeDispatch::IdOf(const std::string& name) const {
  for (const auto& [id, entry] : members_)
    if (SameName(entry.name, name)) return id;
  return DISPID_UNKNOWN;
}

const Variant& FakeDispatch::Value(DISPID property) const { return properties_.at(property); }

std::vector<ReceivedCall> FakeDispatch::CallsTo(DISPID id) const {
  std::vector<ReceivedCall> to;
  for (const auto& call : calls_)
    if (call.member == id) to.push_back(call);
  return to;
}

FakeDispatch::Events* FakeDispatch::FindEvents(const IID& events) const {
  for (const auto& e : events_)
    if (e->iid == events) return e.get();
  return nullptr;
}

std::vector<ComPtr<IDispatch>> FakeDispatch::Sinks(const IID& events) const {
  std::vector<ComPtr<IDispatch>> sinks;
  if (Events* e = FindEvents(events))
    for (const auto& [cookie, advised] : e->sinks) sinks.push_back(advised.sink);
  return sinks;
}

int FakeDispatch::Advises(const IID& events) const {
  Events* e = FindEvents(events);
  return e ? e->advises : 0;
}

int FakeDispatch::Unadvises(const IID& events) const {
  Events* e = FindEvents(events);
  return e ? e->unadvises : 0;
}

HRESULT InvokeEvent(IDispatch* sink, DISPID event, std::vector<Variant>& args) {
  std::vector<VARIANT> slots;
  for (auto it = args.rbegin(); it != args.rend(); ++it) slots.push_back(*it->Ptr());
  DISPPARAMS params{slots.empty() ? nullptr : slots.data(), nullptr, static_cast<UINT>(slots.size()), 0};
  UINT argError = 0;
  return sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, &argError);
}

HRESULT FakeDispatch::Fire(const IID& events, DISPID event, std::vector<Variant>& args) {
  HRESULT hr = S_OK;
  for (const auto& sink : Sinks(events)) hr = InvokeEvent(sink.Get(), event, args);
  return hr;
}

STDMETHODIMP FakeDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = typeName_.empty() ? 0 : 1;
  return S_OK;
}

STDMETHODIMP FakeDispatch::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (typeName_.empty() || index != 0) return DISP_E_BADINDEX;
  *info = MakeTypeInfo(typeName_).Detach();
  return S_OK;
}

STDMETHODIMP FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  std::vector<std::string> asked;
  for (UINT i = 0; i < count; ++i) asked.push_back(Narrow(names[i]));
  if (recording_) lookups_.push_back(asked);
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (count == 0) return S_OK;
  const DISPID member = IdOf(asked[0]);
  if (member == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
  ids[0] = member;
  HRESULT hr = S_OK;
  const auto& argNames = members_.at(member).argNames;
  for (UINT i = 1; i < count; ++i) {
    auto it =
        std::find_if(argNames.begin(), argNames.end(), [&](const std::string& n) { return SameName(n, asked[i]); });
    if (it == argNames.end())
      hr = DISP_E_UNKNOWNNAME;
    else
      ids[i] = static_cast<DISPID>(it - argNames.begin());
  }
  return hr;
}

STDMETHODIMP FakeDispatch::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* info, UINT*) {
  ReceivedCall call;
  call.member = id;
  call.flags = flags;
  call.lcid = lcid;
  if (params) {
    for (UINT i = 0; i < params->cNamedArgs; ++i) {
      call.namedIds.push_back(params->rgdispidNamedArgs[i]);
      call.named.push_back(CopyOf(params->rgvarg[i]));
    }
    for (UINT i = params->cArgs; i-- > params->cNamedArgs;) call.args.push_back(CopyOf(params->rgvarg[i]));
  }
  if (recording_) calls_.push_back(call);
  auto member = members_.find(id);
  if (member == members_.end() || !member->second.behaviour) return DISP_E_MEMBERNOTFOUND;

  Variant value;
  EXCEPINFO exception{};
  const HRESULT hr = member->second.behaviour(call, value, exception);
  if (hr == DISP_E_EXCEPTION) {
    if (info)
      *info = exception;
    else {
      SysFreeString(exception.bstrSource);
      SysFreeString(exception.bstrDescription);
    }
  }
  if (SUCCEEDED(hr) && result) {
    // The caller owns the result from here.
    *result = *value.Ptr();
    VariantInit(value.Ptr());
  }
  return hr;
}

STDMETHODIMP FakeDispatch::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeDispatch::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  Events* events = FindEvents(riid);
  if (!events) return CONNECT_E_NOCONNECTION;
  *point = MakePoint(ComPtr<FakeDispatch>(this), *events).Detach();
  return S_OK;
}

}  // namespace rowtint::win32::fakes
